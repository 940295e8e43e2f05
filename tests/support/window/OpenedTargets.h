#pragma once
// The desktop's opener replaced for a test: targets are recorded instead of opened.

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace ebook::test {

// While it lives, every target handed to the desktop's opener lands in `targets`; the opener
// in place before comes back when it goes.
class OpenedTargets {
 public:
  OpenedTargets();
  ~OpenedTargets();
  OpenedTargets(const OpenedTargets&) = delete;
  OpenedTargets& operator=(const OpenedTargets&) = delete;

  std::vector<std::string> targets;

 private:
  ShellOpener previous_;
};

}  // namespace ebook::test
