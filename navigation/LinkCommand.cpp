#include "navigation/LinkCommand.h"

#include <array>
#include <utility>

#include "archive/BookImage.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::string DecodeBookEscapes(std::string_view text) {
  std::string decoded(text);
  ReplaceAll(decoded, "%5C", "\\");
  ReplaceAll(decoded, "%20", " ");
  return decoded;
}

std::optional<LinkCommand> ParseLinkCommand(std::string_view address) {
  const std::string upper = UpperAscii(address);
  const size_t marker = upper.find(kLinkCommandMarker);
  if (marker == std::string::npos) return std::nullopt;

  static constexpr std::array<std::pair<std::string_view, LinkCommandWord>, 7> kWords = {{
      {"SHOW#", LinkCommandWord::Show}, {"OPEN#", LinkCommandWord::Open},
      {"EXIT#", LinkCommandWord::Exit}, {"QUIT#", LinkCommandWord::Quit},
      {"FIND#", LinkCommandWord::Find}, {"TOC1#", LinkCommandWord::Toc1},
      {"PRIN#", LinkCommandWord::Prin}}};
  LinkCommand command;
  const size_t wordAt = marker + kLinkCommandMarker.size();
  command.word = upper.substr(wordAt, 5);
  for (const auto& [word, kind] : kWords)
    if (command.word == word) command.kind = kind;
  if (wordAt + 5 < address.size())
    command.argument = UpperAscii(DecodeBookEscapes(address.substr(wordAt + 5)));
  return command;
}

std::string PageTargetOf(std::string_view address, size_t baseLength) {
  if (baseLength >= address.size()) return {};
  return UpperAscii(DecodeBookEscapes(address.substr(baseLength)));
}

std::string ExpandOpenArgument(std::string_view argument, std::string_view driveRoot,
                               std::string_view systemRoot) {
  std::string expanded(argument);
  ReplaceAll(expanded, "$DRV$", driveRoot);
  ReplaceAll(expanded, "$WIN$", systemRoot);
  return expanded;
}

}  // namespace ebook
