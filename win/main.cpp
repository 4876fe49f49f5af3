#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "form1.h"

// Pelmiro takes no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
  // COM carries what the window tells a screen reader to the reader's process.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 0;
  {
    pelmiro::Form1 form(instance);
    status = form.Run(showCommand);
  }
  if (SUCCEEDED(com)) {
    CoUninitialize();
  }
  return status;
}
