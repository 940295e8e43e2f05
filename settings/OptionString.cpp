#include "settings/OptionString.h"

#include <array>

namespace ebook {
namespace {

std::string Switch(size_t offset, std::string_view what, std::string_view state) {
  std::string line = offset < 10 ? " " : "";
  line += std::to_string(offset);
  line += ' ';
  line += what;
  line += ": ";
  line += state;
  return line;
}

std::string_view YesNo(bool on) { return on ? "yes" : "no"; }

}  // namespace

std::vector<std::string> DescribeOptionString(const OptionString& o) {
  static constexpr std::array<std::string_view, 10> kButtons = {
      "Back button", "Next button",  "Reload button", "Home button", "Stop button",
      "Search button", "Print button", "About button", "Exit button", "Content button"};
  std::vector<std::string> lines;
  for (size_t i = 0; i < kButtons.size(); ++i) lines.push_back(Switch(i, kButtons[i], YesNo(o.is(i, '1'))));

  const char logo = o.at(opt::kLogo);
  lines.push_back(Switch(opt::kLogo, "logo",
                         logo == '1' ? "the book's picture" : logo == '2' ? "hidden" : "built-in"));
  lines.push_back(Switch(opt::kLogoStretch, "logo stretched",
                         YesNo(logo == '1' && o.is(opt::kLogoStretch, '1'))));
  lines.push_back(Switch(opt::kTempFolder, "delivery",
                         o.is(opt::kTempFolder, '1') ? "temporary folder" : "from memory"));
  lines.push_back(Switch(opt::kNoToolbar, "toolbar", o.is(opt::kNoToolbar, '1') ? "none" : "shown"));
  const char nav = o.at(opt::kContentsNavigation);
  lines.push_back(Switch(opt::kContentsNavigation, "Back and Next",
                         nav == '1'   ? "contents order"
                         : nav == '0' ? "history"
                                      : "no effect unless auto-advance"));
  lines.push_back(Switch(opt::kAutoAdvance, "auto-advance", YesNo(o.is(opt::kAutoAdvance, '1'))));

  static constexpr std::array<std::string_view, 5> kBorders = {
      "none", "fixed single", "sizeable", "fixed tool window", "sizeable tool window"};
  const char border = o.at(opt::kBorder);
  const bool known = border >= '0' && border <= '4';
  lines.push_back(Switch(opt::kBorder, "border",
                         known ? kBorders[border - '0'] : std::string_view("sizeable (default)")));
  const bool framed = border == '1' || border == '2';
  if (framed) {
    const char place = o.at(opt::kPlacement);
    lines.push_back(Switch(opt::kPlacement, "placement",
                           place == '0'   ? "centred"
                           : place == '1' ? "minimized"
                           : place == '2' ? "maximized"
                                          : "system"));
    lines.push_back(Switch(opt::kMinimizeButton, "minimize button",
                           YesNo(!o.is(opt::kMinimizeButton, '0'))));
    lines.push_back(Switch(opt::kMaximizeButton, "maximize button",
                           YesNo(!o.is(opt::kMaximizeButton, '0'))));
    lines.push_back(Switch(opt::kSystemMenu, "system menu", YesNo(!o.is(opt::kSystemMenu, '0'))));
  } else {
    lines.push_back(Switch(opt::kPlacement, "placement", "centred"));
  }
  lines.push_back(Switch(opt::kToolbarAtBottom, "toolbar at the bottom",
                         YesNo(o.is(opt::kToolbarAtBottom, '1'))));
  return lines;
}

}  // namespace ebook
