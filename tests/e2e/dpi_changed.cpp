// Sends Pelmiro's window the WM_DPICHANGED that Windows sends when the window moves to a
// monitor of another DPI: Wine never sends one. The suggested rectangle is the window's
// own, scaled to the new DPI, as Windows would suggest it. A DPI of 0, what the system
// answers for a window it cannot resolve, tries a message with no DPI at all.
//   dpi_changed.exe DPI
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 2) {
    std::fwprintf(stderr, L"usage: dpi_changed.exe DPI\n");
    return 2;
  }
  const int dpi = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  HWND window = FindWindowW(L"Form1", L"Pelmiro");
  if (window == nullptr || dpi < 0) {
    std::fwprintf(stderr, L"dpi_changed.exe: no Pelmiro window, or a bad DPI\n");
    return 1;
  }
  RECT suggested{};
  GetWindowRect(window, &suggested);
  const int old = static_cast<int>(GetDpiForWindow(window));
  suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, dpi, old);
  suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, dpi, old);

  // The message carries a pointer that Wine passes on as it is, so the rectangle has to
  // be in the receiver's memory.
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  void* remote = process == nullptr ? nullptr
                                    : VirtualAllocEx(process, nullptr, sizeof suggested,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr ||
      !WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr)) {
    std::fwprintf(stderr, L"dpi_changed.exe: cannot write into Pelmiro's memory\n");
    return 1;
  }
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return 0;
}
