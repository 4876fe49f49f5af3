#include "number1.h"

#include <array>
#include <cmath>
#include <string>

#include "hostkit/client_area.h"
#include "hostkit/window_layout.h"

namespace pelmiro {
namespace {

constexpr UINT_PTR EditSubclass = 1;
constexpr int PointsPerInch = 72;
constexpr double Step = 1;  // an arrow press adds or takes one
constexpr int UpDownLow = 0;
constexpr int UpDownMiddle = 1;  // the control never moves: the box keeps the value
constexpr int UpDownHigh = 2;
constexpr WPARAM CtrlA = 0x01;
constexpr int SelectAll = -1;
// Japanese faces that look right in a Windows box, best first. Any other face that
// covers the Shift-JIS character set serves when none of these is installed.
constexpr std::array<const wchar_t*, 3> PreferredFaces{L"Yu Gothic UI", L"Meiryo UI",
                                                       L"MS UI Gothic"};

static_assert(sizeof(wchar_t) == sizeof(char16_t));

const wchar_t* ToolTipText() {
  return reinterpret_cast<const wchar_t*>(WindowLayout::BoxToolTip);
}

std::wstring Shown(double value, const NumberSigns& signs) {
  const std::u16string text = FormatBoxValue(value, signs);
  return {text.begin(), text.end()};
}

std::u16string LocaleText(LCTYPE type) {
  std::array<wchar_t, LOCALE_NAME_MAX_LENGTH> text{};
  const int length =
      GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text.data(), static_cast<int>(text.size()));
  return length > 1 ? std::u16string(text.data(), text.data() + length - 1) : std::u16string();
}

// How the user's locale writes numbers; its own digits only where the user asked for them.
NumberSigns UserSigns() {
  constexpr wchar_t NationalDigits = L'2';
  NumberSigns signs;
  const std::u16string decimal = LocaleText(LOCALE_SDECIMAL);
  const std::u16string minus = LocaleText(LOCALE_SNEGATIVESIGN);
  signs.decimal = decimal.empty() ? signs.decimal : decimal;
  signs.minus = minus.empty() ? signs.minus : minus;
  const std::u16string digits = LocaleText(LOCALE_SNATIVEDIGITS);
  if (LocaleText(LOCALE_IDIGITSUBSTITUTION) == std::u16string(1, NationalDigits) &&
      !digits.empty()) {
    signs.zero = digits.front();
  }
  return signs;
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@') {  // '@' faces are for vertical text
    reinterpret_cast<std::wstring*>(faces)->append(font->lfFaceName).push_back(L'\n');
  }
  return 1;
}

// A face that shows Japanese on this system, or an empty name to let Windows choose one
// by the character set.
std::wstring JapaneseFace(HWND window) {
  LOGFONTW wanted{};
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring faces;
  HDC dc = GetDC(window);
  EnumFontFamiliesExW(dc, &wanted, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(window, dc);
  for (const wchar_t* face : PreferredFaces) {
    if (faces.find(std::wstring(face) + L'\n') != std::wstring::npos) {
      return face;
    }
  }
  return faces.substr(0, faces.find(L'\n'));
}

HFONT JapaneseFont(LOGFONTW font, const wchar_t* face) {
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  font.lfStrikeOut = FALSE;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace

Number1::~Number1() {
  FreeFonts();
}

void Number1::Create(HWND parent, HINSTANCE instance, const wchar_t* name) {
  parent_ = parent;
  signs_ = UserSigns();
  const std::wstring face = JapaneseFace(parent);
  lstrcpynW(face_, face.c_str(), LF_FACESIZE);
  // The arrows sit over the edit box's right edge: each keeps to its own part.
  constexpr DWORD Child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, Shown(value_, signs_).c_str(),
                          Child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 0, 0, 0, parent,
                          nullptr, instance, nullptr);
  upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                            Child | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_HOTTRACK, 0, 0, 0, 0,
                            parent, nullptr, instance, nullptr);
  SetWindowPos(upDown_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(upDown_, UDM_SETRANGE32, UpDownLow, UpDownHigh);
  SendMessageW(upDown_, UDM_SETPOS32, 0, UpDownMiddle);
  SetWindowSubclass(edit_, EditProc, EditSubclass, reinterpret_cast<DWORD_PTR>(this));

  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
  for (HWND part : {edit_, upDown_}) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(part);
    tool.lpszText = const_cast<wchar_t*>(ToolTipText());
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  boxWords_ = {name, ROLE_SYSTEM_TEXT, ToolTipText()};
  arrowsWords_ = {name, ROLE_SYSTEM_SPINBUTTON, ToolTipText(), edit_};
  AccessiblePart::Describe(edit_, &boxWords_);
  AccessiblePart::Describe(upDown_, &arrowsWords_);
}

void Number1::Layout(UINT dpi, int clientHeight) {
  if (edit_ == nullptr) {
    return;  // the window's first WM_SIZE comes before the box exists
  }
  const auto box = WindowLayout::BoxRectFor(clientHeight);
  MoveWindow(edit_, DevicePixels(box.left, dpi), DevicePixels(box.top, dpi),
             DevicePixels(box.width, dpi), DevicePixels(box.height, dpi), TRUE);
  // Setting the buddy again fits the arrows into the box's new right edge.
  SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
  if (dpi == fontDpi_) {
    return;
  }
  fontDpi_ = dpi;
  FreeFonts();
  LOGFONTW boxFont{};
  boxFont.lfHeight =
      -static_cast<LONG>(std::lround(WindowLayout::BoxPointSize * dpi / PointsPerInch));
  font_ = JapaneseFont(boxFont, face_);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
  toolTipFont_ = JapaneseFont(metrics.lfStatusFont, face_);  // tooltips use the status font
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(toolTipFont_), TRUE);
}

void Number1::FreeFonts() {
  for (HFONT* font : {&font_, &toolTipFont_}) {
    if (*font != nullptr) {
      DeleteObject(*font);
      *font = nullptr;
    }
  }
}

void Number1::SetValue(double value) {
  value_ = value;
  ShowValue();
}

void Number1::ShowValue() {
  SetWindowTextW(edit_, Shown(value_, signs_).c_str());
  // The edit box tells of its new text itself; the arrows show the same value.
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, upDown_, OBJID_CLIENT, CHILDID_SELF);
}

void Number1::Focus() {
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, 0, SelectAll);
}

void Number1::TakeTypedText() {
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), length + 1)));
  // What is no number leaves the value as it was.
  value_ = ParseBoxText({reinterpret_cast<const char16_t*>(text.data()), text.size()}, signs_)
               .value_or(value_);
  ShowValue();
}

bool Number1::Committed(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != edit_ || HIWORD(wParam) != EN_KILLFOCUS) {
    return false;
  }
  TakeTypedText();
  return true;
}

bool Number1::Stepped(const NMHDR& header) {
  if (header.hwndFrom != upDown_ || header.code != UDN_DELTAPOS) {
    return false;
  }
  const auto& step = reinterpret_cast<const NMUPDOWN&>(header);
  TakeTypedText();
  SetValue(value_ + (step.iDelta > 0 ? Step : -Step));
  return true;
}

LRESULT CALLBACK Number1::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self) {
  auto& box = *reinterpret_cast<Number1*>(self);
  switch (message) {
    case WM_KEYDOWN:
      if (SendMessageW(box.parent_, BoxKey, wParam, lParam) != 0) {
        return 0;
      }
      if (wParam == VK_TAB) {
        SetFocus(box.parent_);  // the next stop, as in a dialog: the fireworks
        return 0;
      }
      break;
    case WM_CHAR:
      switch (wParam) {
        case L'\r':
        case L'\x1b':
        case L'\t':
          return 0;  // handled as keys above; the edit box would only beep
        case CtrlA:
          SendMessageW(edit, EM_SETSEL, 0, SelectAll);
          return 0;
        default:
          break;
      }
      break;
    case WM_LBUTTONDBLCLK:
      // A click at once after Return or Escape makes a double-click, whose second press
      // the edit box takes without the keys.
      SetFocus(edit);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, EditProc, EditSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace pelmiro
