#include <windows.h>

#include <commctrl.h>

#include "form1.h"

// Pelmiro takes no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
  pelmiro::Form1 form(instance);
  return form.Run(showCommand);
}
