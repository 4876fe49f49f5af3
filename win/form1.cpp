#include "form1.h"

#include <cstdlib>

#include "hostkit/tick_clock.h"
#include "hostkit/window_layout.h"

namespace pelmiro {
namespace {

constexpr wchar_t ClassName[] = L"Form1";
constexpr wchar_t Caption[] = L"Pelmiro";
constexpr UINT_PTR Timer1 = 1;
constexpr WORD IconId = 1;  // the icon in the executable's resources
constexpr int SmallIconPx = 16;
// A fixed single border: the window keeps its size unless maximised or in full screen.
constexpr DWORD Style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
// What full screen takes away: the caption, the border and its buttons.
constexpr DWORD FrameStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD ExStyle = 0;
constexpr LPARAM AltDown = 1 << 29;
constexpr LPARAM RepeatedKey = 1 << 30;  // the key was already down: auto-repeat
constexpr int BitsPerPixel = 32;

static_assert(VkTab == VK_TAB && VkReturn == VK_RETURN && VkEscape == VK_ESCAPE &&
              VkF11 == VK_F11 && VkNumpadZero == VK_NUMPAD0);

static_assert(StandardDpi == USER_DEFAULT_SCREEN_DPI);

// Every DPI the program uses comes through here. The system answers 0 for a window it
// cannot resolve, as it may while the window is being made; the window's DPI serves then,
// else the system's, else the standard one.
UINT DpiOf(HWND window, UINT reported = 0) {
  return reported != 0 ? reported : SoundDpi(GetDpiForWindow(window), GetDpiForSystem());
}

static_assert(sizeof(wchar_t) == sizeof(char16_t));

const wchar_t* Said(const char16_t* words) {
  return reinterpret_cast<const wchar_t*>(words);
}

MONITORINFO MonitorOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor;
}

// Whether the pointer is over this window or one of its children.
bool PointerOver(HWND window) {
  POINT at{};
  if (!GetCursorPos(&at)) {
    return false;
  }
  HWND under = WindowFromPoint(at);
  return under == window || IsChild(window, under);
}

// The outer size that gives the fixed client area at this many dots per inch, with the
// frame drawn at frameDpi, the window's own. Windows changes both together; a
// WM_DPICHANGED that did not come from a move (Wine sends none) leaves the frame as it was.
SIZE WindowSizeFor(UINT dpi, UINT frameDpi) {
  RECT rect{0, 0, DevicePixels(WindowLayout::ClientWidth, dpi),
            DevicePixels(WindowLayout::ClientHeight, dpi)};
  AdjustWindowRectExForDpi(&rect, Style, FALSE, ExStyle, frameDpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

// The fireworks are the window's client area: a picture named for what the keys do.
Form1::Form1(HINSTANCE instance)
    : show_(PixelLayout::Argb32, TickClock),
      fieldWords_{Said(AccessiblePart::UserWords().FieldName), ROLE_SYSTEM_GRAPHIC} {
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
  const UINT systemDpi = DpiOf(nullptr);
  const SIZE guess = WindowSizeFor(systemDpi, systemDpi);
  CreateWindowExW(ExStyle, ClassName, Caption, Style, CW_USEDEFAULT, CW_USEDEFAULT, guess.cx,
                  guess.cy, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    return;
  }
  dpi_ = DpiOf(window_);
  if (dpi_ != systemDpi) {
    const SIZE size = WindowSizeFor(dpi_, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  number1_.Create(window_, instance, Said(AccessiblePart::UserWords().BoxName));
  FitClient();
  show_.Start();
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

void Form1::ApplyDotSize() {
  show_.ApplyDotSize([this] { return number1_.Value(); },
                     [this](double value) { number1_.SetValue(value); });
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    created->dpi_ = DpiOf(window);  // the first WM_SIZE comes before CreateWindow returns
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
      PressKey(wParam, lParam, KeysAt::Field);
      return 0;
    case WM_SYSKEYDOWN:
      if (PressKey(wParam, lParam, KeysAt::Field)) {  // Alt+digit launches too
        return 0;
      }
      break;  // and Alt+F4, Alt and F10 keep their meaning
    case Number1::BoxKey:
      return PressKey(wParam, lParam, KeysAt::Box) ? 1 : 0;
    case WM_SYSCHAR:
      if (KeyOfWindowsMessage(0, static_cast<std::uint32_t>(lParam)) != VkNone) {
        return 0;  // Alt+digit has no menu to open: no beep
      }
      break;
    case WM_LBUTTONDOWN:
      CarryOut(OnButton(Button::Left, false));
      return 0;
    case WM_MBUTTONDOWN:
      CarryOut(OnButton(Button::Middle, false));
      return 0;
    case WM_RBUTTONDOWN:
      CarryOut(OnButton(Button::Right, false));
      return 0;
    case WM_MOUSEMOVE:
      NotePointer();
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(wParam, lParam)) {
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        FitClient();
      }
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
      return OnDpiScaledSize(DpiOf(window_, static_cast<UINT>(wParam)),
                             *reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
      OnDpiChanged(DpiOf(window_, HIWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT answer = AccessiblePart::Answer(window_, wParam, lParam, fieldWords_)) {
        return answer;
      }
      break;
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
  UpdatePointer();
  if (show_.Tick()) {  // an unchanged picture is already on screen
    const DeviceRect changed = show_.Canvas().Changed();
    const RECT area{changed.left, changed.top, changed.left + changed.width,
                    changed.top + changed.height};
    InvalidateRect(window_, &area, FALSE);  // the blit below is clipped to it
  }
}

void Form1::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  // The canvas is a 32-bit top-down DIB already: one blit shows it.
  const DotCanvas& canvas = show_.Canvas();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = canvas.Width();
  info.bmiHeader.biHeight = -canvas.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = BitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, canvas.Width(), canvas.Height(), 0, 0, 0, canvas.Height(),
                    canvas.Pixels(), &info, DIB_RGB_COLORS);
  EndPaint(window_, &paint);
}

bool Form1::PressKey(WPARAM virtualKey, LPARAM keyData, KeysAt at) {
  const int key = KeyOfWindowsMessage(static_cast<std::uint32_t>(virtualKey),
                                      static_cast<std::uint32_t>(keyData));
  const Outcome outcome =
      OnKey({key, (keyData & RepeatedKey) != 0, (keyData & AltDown) != 0}, at, fullScreen_);
  CarryOut(outcome);
  return outcome.handled;
}

void Form1::CarryOut(const Outcome& outcome) {
  // What was typed is taken when the box loses the keys.
  if (outcome.edit == Outcome::Edit::Drop) {
    number1_.DropEdit();
  }
  show_.Launch(outcome.launch);
  if (outcome.screen == Outcome::Screen::Enter) {
    EnterFullScreen();
  } else if (outcome.screen == Outcome::Screen::Leave) {
    LeaveFullScreen();
  }
  if (outcome.keys == Outcome::Keys::ToField) {
    SetFocus(window_);
  } else if (outcome.keys == Outcome::Keys::ToBox) {
    number1_.Focus();
  }
}

bool Form1::OnSetCursor(WPARAM window, LPARAM hitTest) {
  NotePointer();  // it also comes for moves over the box, which WM_MOUSEMOVE misses
  if (!pointer_.Hidden() || LOWORD(hitTest) != HTCLIENT ||
      (reinterpret_cast<HWND>(window) != window_ &&
       !IsChild(window_, reinterpret_cast<HWND>(window)))) {
    return false;
  }
  SetCursor(nullptr);
  return true;
}

LRESULT Form1::OnDpiScaledSize(UINT dpi, SIZE& size) {
  if (fullScreen_ || IsZoomed(window_)) {
    return FALSE;  // the size follows the monitor, not the fixed client area
  }
  size = WindowSizeFor(dpi, dpi);
  return TRUE;  // the suggested rectangle of WM_DPICHANGED gets exactly this size
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  // The suggestion is a scaled copy of the old size, right only for the fixed one.
  if (fullScreen_) {
    FillMonitor();
  } else if (IsZoomed(window_)) {
    // Restoring then gives the fixed client area at the new DPI.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    const SIZE size = WindowSizeFor(dpi_, DpiOf(window_));
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + size.cx;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + size.cy;
    SetWindowPlacement(window_, &placement);
    FillWorkArea();
  } else {
    // The place is the system's, the size our own: the same as the suggestion after
    // WM_GETDPISCALEDSIZE, and still right when the message came with no DPI.
    const SIZE size = WindowSizeFor(dpi_, DpiOf(window_));
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitClient();  // the window's size may not have changed, but the DPI has
  InvalidateRect(window_, nullptr, FALSE);
}

void Form1::FitClient() {
  RECT client{};
  GetClientRect(window_, &client);
  const bool made = show_.Fit(LogicalPixels(client.right, dpi_), LogicalPixels(client.bottom, dpi_),
                              PixelRatio());
  number1_.Layout(dpi_, show_.Area().Height());
  if (made) {
    InvalidateRect(window_, nullptr, FALSE);  // black until the next tick draws
  }
}

void Form1::EnterFullScreen() {
  windowed_.length = sizeof windowed_;
  GetWindowPlacement(window_, &windowed_);
  windowedStyle_ = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
  fullScreen_ = true;
  // Not maximised either: leaving full screen maximises the window afresh if it was.
  SetWindowLongW(window_, GWL_STYLE,
                 static_cast<LONG>((windowedStyle_ & ~(FrameStyle | WS_MAXIMIZE)) | WS_POPUP));
  FillMonitor();
  NotePointer();
  pointer_.Moved(TickClock());  // two seconds from now, even if it never moves
}

void Form1::LeaveFullScreen() {
  fullScreen_ = false;
  UpdatePointer();
  // Back to the fixed client area at today's DPI, where the window was.
  const SIZE size = WindowSizeFor(dpi_, DpiOf(window_));
  windowed_.rcNormalPosition.right = windowed_.rcNormalPosition.left + size.cx;
  windowed_.rcNormalPosition.bottom = windowed_.rcNormalPosition.top + size.cy;
  SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(windowedStyle_ & ~WS_MAXIMIZE));
  SetWindowPlacement(window_, &windowed_);  // maximises it again if it was
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

void Form1::FillMonitor() {
  const RECT monitor = MonitorOf(window_).rcMonitor;
  SetWindowPos(window_, HWND_TOP, monitor.left, monitor.top, monitor.right - monitor.left,
               monitor.bottom - monitor.top, SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

void Form1::FillWorkArea() {
  // As Windows maximises: the border lies outside the work area, the caption inside it.
  const RECT work = MonitorOf(window_).rcWork;
  RECT frame{};
  AdjustWindowRectExForDpi(&frame, Style, FALSE, ExStyle, DpiOf(window_));
  const int border = frame.bottom;
  SetWindowPos(window_, nullptr, work.left - border, work.top - border,
               work.right - work.left + 2 * border, work.bottom - work.top + 2 * border,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::NotePointer() {
  POINT at{};
  if (!GetCursorPos(&at) || (at.x == pointerAt_.x && at.y == pointerAt_.y)) {
    return;  // a WM_MOUSEMOVE without motion, as after a window change
  }
  pointerAt_ = at;
  pointer_.Moved(TickClock());
  UpdatePointer();
}

void Form1::UpdatePointer() {
  if (const std::optional<bool> hide = pointer_.Update(TickClock(), fullScreen_)) {
    if (!*hide) {
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    } else if (PointerOver(window_)) {
      SetCursor(nullptr);  // elsewhere WM_SETCURSOR hides it when it comes over the window
    }
  }
}

double Form1::PixelRatio() const {
  return static_cast<double>(dpi_) / USER_DEFAULT_SCREEN_DPI;
}

}  // namespace pelmiro
