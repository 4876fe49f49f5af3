#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "accessible_part.h"
#include "hostkit/box_text.h"

namespace pelmiro {

// The dot-size box: an edit box with an up-down control and a Japanese tooltip. It holds
// a fixed-point number with four decimals, reads and shows it as the desktop boxes do
// (hostkit/box_text.h), in the user's locale, and commits an edit on leaving the box or on
// an arrow step, not on every keystroke. It does no clamping of its own: its owner decides
// what values mean. Its keys go to its owner first, as BoxKey messages.
class Number1 {
 public:
  // wParam and lParam are a WM_KEYDOWN's; the owner answers 1 when the key is spent.
  static constexpr UINT BoxKey = WM_APP + 1;

  Number1() = default;
  Number1(const Number1&) = delete;
  Number1& operator=(const Number1&) = delete;
  ~Number1();

  void Create(HWND parent, HINSTANCE instance, const wchar_t* name);
  // Places the box in the bottom-left corner of a client area this many logical pixels
  // high, and sizes it and its fonts for a screen of this many dots per inch.
  void Layout(UINT dpi, int clientHeight);

  double Value() const { return value_; }
  void SetValue(double value);
  // Hands the keys to the box, its text selected, as Tab does in a dialog.
  void Focus();
  // Drops what was typed: the box shows its value again.
  void DropEdit() { ShowValue(); }

  // The parent passes on its WM_COMMAND and WM_NOTIFY; true when the box committed a
  // value, which the parent then applies. A WM_NOTIFY that returns true must return TRUE.
  bool Committed(WPARAM wParam, LPARAM lParam);
  bool Stepped(const NMHDR& header);

 private:
  static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self);
  void TakeTypedText();
  void ShowValue();
  void FreeFonts();

  HWND parent_ = nullptr;
  HWND edit_ = nullptr;
  HWND upDown_ = nullptr;
  HWND toolTip_ = nullptr;
  HFONT font_ = nullptr;
  HFONT toolTipFont_ = nullptr;
  wchar_t face_[LF_FACESIZE] = {};
  UINT fontDpi_ = 0;  // the fonts are made again only when the DPI changes
  double value_ = 1;
  NumberSigns signs_;
  // The edit box and its arrows, to a screen reader: both the dot size, with one value.
  AccessiblePart::Words boxWords_;
  AccessiblePart::Words arrowsWords_;
};

}  // namespace pelmiro
