// Prints the window's layout, and the box's tooltip, as NAME=VALUE lines a shell can source,
// for the scripts and tests that drive the programs from outside: the build writes them
// into layout.env.
#include <cstdio>
#include <string>

#include "model/fireworks_model.h"
#include "window_layout.h"

namespace {

// UTF-8 of text without surrogates, as the tooltip is.
std::string Utf8(std::u16string_view text) {
  constexpr unsigned OneByte = 0x80;    // below this, ASCII
  constexpr unsigned TwoBytes = 0x800;  // below this, two bytes
  constexpr unsigned LeadOfTwo = 0xC0;
  constexpr unsigned LeadOfThree = 0xE0;
  constexpr unsigned Follower = 0x80;
  constexpr unsigned SixBits = 6;
  constexpr unsigned LowSix = 0x3F;
  std::string bytes;
  const auto put = [&bytes](unsigned byte) { bytes.push_back(static_cast<char>(byte)); };
  for (const char16_t c : text) {
    if (c < OneByte) {
      put(c);
    } else if (c < TwoBytes) {
      put(LeadOfTwo | (c >> SixBits));
      put(Follower | (c & LowSix));
    } else {
      put(LeadOfThree | (c >> (2 * SixBits)));
      put(Follower | ((c >> SixBits) & LowSix));
      put(Follower | (c & LowSix));
    }
  }
  return bytes;
}

}  // namespace

int main() {
  using pelmiro::WindowLayout;
  constexpr WindowLayout::Rect Box = WindowLayout::BoxRect;
  std::printf("CLIENT_W=%d\nCLIENT_H=%d\n", WindowLayout::ClientWidth, WindowLayout::ClientHeight);
  std::printf("BOX_X=%d\nBOX_Y=%d\nBOX_W=%d\nBOX_H=%d\nBOX_BOTTOM_GAP=%d\n", Box.left, Box.top,
              Box.width, Box.height, WindowLayout::BoxBottomGap);
  std::printf("TIMER_MS=%d\nLAUNCH_KEY=%d\n", WindowLayout::TimerIntervalMs,
              pelmiro::FireworksModel::FirstLaunchKey);
  std::printf("BOX_TOOL_TIP='%s'\n", Utf8(WindowLayout::BoxToolTip).c_str());
  return 0;
}
