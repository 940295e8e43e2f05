// Any address through the link-command grammar and the page-name rule.
#include <cstdint>
#include <string_view>

#include "navigation/LinkCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view address(reinterpret_cast<const char*>(data), size);
  if (auto command = ebook::ParseLinkCommand(address)) {
    if (command->word.size() > 5 || command->argument.size() > address.size()) __builtin_trap();
    (void)ebook::ExpandOpenArgument(command->argument, "/media/book", "");
  }
  (void)ebook::PageTargetOf(address, 13);
  return 0;
}
