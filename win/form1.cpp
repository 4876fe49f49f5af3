#include "form1.h"

#include <cstdlib>

#include "hostkit/dot_size.h"
#include "hostkit/key_position.h"
#include "hostkit/tick_clock.h"
#include "hostkit/window_layout.h"

namespace pelmiro {
namespace {

constexpr wchar_t ClassName[] = L"Form1";
constexpr wchar_t Caption[] = L"Pelmiro";
constexpr UINT_PTR Timer1 = 1;
constexpr WORD IconId = 1;  // the icon in the executable's resources
constexpr int SmallIconPx = 16;
// A fixed single border that can be minimised but not maximised.
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = 0;
constexpr int MouseLaunchKey = FireworksModel::FirstLaunchKey;  // a click acts as "1"
constexpr int ScanCodeShift = 16;
constexpr LPARAM ScanCodeMask = 0xFF;
constexpr LPARAM ExtendedKey = 1 << 24;  // right-hand and cursor-block keys
constexpr int BitsPerPixel = 32;

// The key's virtual-key code, with the main row going by the key's position, so every
// layout launches from its digit row.
int KeyCode(WPARAM virtualKey, LPARAM keyData) {
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
    return static_cast<int>(virtualKey);
  }
  if ((keyData & ExtendedKey) != 0) {
    return VkNone;
  }
  const auto scanCode = static_cast<std::uint32_t>((keyData >> ScanCodeShift) & ScanCodeMask);
  return MainRowKey(KeyboardKind::Windows, scanCode);
}

int Scaled(int logical, UINT dpi) {
  return MulDiv(logical, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// The outer size that gives the fixed client area at this many dots per inch.
SIZE WindowSizeFor(UINT dpi) {
  RECT rect{0, 0, Scaled(WindowLayout::ClientWidth, dpi), Scaled(WindowLayout::ClientHeight, dpi)};
  AdjustWindowRectExForDpi(&rect, Style, FALSE, ExStyle, dpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

Form1::Form1(HINSTANCE instance)
    : canvas_(PixelLayout::Argb32, WindowLayout::ClientWidth, WindowLayout::ClientHeight, 1.0) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;  // a double-click's second press comes as a double-click
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IconId));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(
      instance, MAKEINTRESOURCEW(IconId), IMAGE_ICON, SmallIconPx, SmallIconPx, LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = ClassName;
  RegisterClassExW(&windowClass);

  // Windows picks the place; the size follows the screen the window lands on.
  const UINT systemDpi = GetDpiForSystem();
  const SIZE guess = WindowSizeFor(systemDpi);
  CreateWindowExW(ExStyle, ClassName, Caption, Style, CW_USEDEFAULT, CW_USEDEFAULT, guess.cx,
                  guess.cy, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    return;
  }
  dpi_ = GetDpiForWindow(window_);
  if (dpi_ != systemDpi) {
    const SIZE size = WindowSizeFor(dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  canvas_.Resize(WindowLayout::ClientWidth, WindowLayout::ClientHeight, PixelRatio());
  number1_.Create(window_, instance, dpi_);
  model_.InitModel(*this);
}

int Form1::Run(int showCommand) {
  if (window_ == nullptr) {
    return EXIT_FAILURE;
  }
  ShowWindow(window_, showCommand);
  SetFocus(window_);  // keys launch rockets from the start, not edit the box
  SetTimer(window_, Timer1, WindowLayout::TimerIntervalMs, nullptr);
  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : EXIT_FAILURE;
}

float Form1::ClientWidth() {
  return static_cast<float>(WindowLayout::ClientWidth * DotCanvas::TwipsPerPixel);
}

float Form1::ClientHeight() {
  return static_cast<float>(WindowLayout::ClientHeight * DotCanvas::TwipsPerPixel);
}

std::int32_t Form1::TickCount() {
  return TickClock();
}

std::int32_t Form1::TimerInterval() {
  return WindowLayout::TimerIntervalMs;
}

float Form1::NextRandom() {
  return random_.Next();
}

void Form1::ClearSurface() {
  canvas_.Resize(WindowLayout::ClientWidth, WindowLayout::ClientHeight, PixelRatio());
  canvas_.Clear();
}

void Form1::PlotDot(float x, float y, std::int32_t color) {
  canvas_.Plot(x, y, color);
}

void Form1::ApplyDotSize() {
  canvas_.SetDotSize(ApplyDotSizeRule([this] { return number1_.Value(); },
                                      [this](double value) { number1_.SetValue(value); }));
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self != nullptr ? self->Handle(message, wParam, lParam)
                         : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      OnTimer();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole client area: nothing to erase, no flicker
    case WM_KEYDOWN:
      OnKeyDown(wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
      model_.LaunchRocket(*this, KeyCode(wParam, lParam));  // Alt+digit launches too
      break;  // and Alt+F4, Alt and F10 keep their meaning
    case WM_SYSCHAR:
      if (KeyCode(0, lParam) != VkNone) {
        return 0;  // Alt+digit has no menu to open: no beep
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnButtonDown();
      return 0;
    case WM_COMMAND:
      if (number1_.Committed(wParam, lParam)) {
        ApplyDotSize();
      }
      return 0;
    case WM_NOTIFY:
      if (number1_.Stepped(*reinterpret_cast<const NMHDR*>(lParam))) {
        ApplyDotSize();
        return TRUE;  // the up-down control stays where it is
      }
      break;
    case WM_GETDPISCALEDSIZE:
      *reinterpret_cast<SIZE*>(lParam) = WindowSizeFor(static_cast<UINT>(wParam));
      return TRUE;  // the suggested rectangle of WM_DPICHANGED gets exactly this size
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      KillTimer(window_, Timer1);
      PostQuitMessage(EXIT_SUCCESS);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::OnTimer() {
  model_.AdvanceTick(*this);
  if (canvas_.Finish()) {
    InvalidateRect(window_, nullptr, FALSE);  // an unchanged picture is already on screen
  }
}

void Form1::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  // The canvas is a 32-bit top-down DIB already: one blit shows it.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = canvas_.Width();
  info.bmiHeader.biHeight = -canvas_.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = BitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, canvas_.Width(), canvas_.Height(), 0, 0, 0, canvas_.Height(),
                    canvas_.Pixels(), &info, DIB_RGB_COLORS);
  EndPaint(window_, &paint);
}

void Form1::OnKeyDown(WPARAM virtualKey, LPARAM keyData) {
  if (virtualKey == VK_TAB) {
    number1_.Focus();
    return;
  }
  model_.LaunchRocket(*this, KeyCode(virtualKey, keyData));
}

void Form1::OnButtonDown() {
  SetFocus(window_);  // a press on the fireworks hands the keys back to them
  model_.LaunchRocket(*this, MouseLaunchKey);
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  number1_.Layout(dpi_);
  canvas_.Resize(WindowLayout::ClientWidth, WindowLayout::ClientHeight, PixelRatio());
  InvalidateRect(window_, nullptr, FALSE);
}

double Form1::PixelRatio() const {
  return static_cast<double>(dpi_) / USER_DEFAULT_SCREEN_DPI;
}

}  // namespace pelmiro
