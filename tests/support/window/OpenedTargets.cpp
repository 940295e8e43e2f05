#include "support/window/OpenedTargets.h"

namespace ebook::test {

OpenedTargets::OpenedTargets()
    : previous_(SetShellOpener([this](const std::string& target) { targets.push_back(target); })) {}

OpenedTargets::~OpenedTargets() { SetShellOpener(previous_); }

}  // namespace ebook::test
