// Says whether the pointer is hidden: the cursor the X server shows now has no visible
// pixel. Screenshots leave the pointer out, so only XFixes can tell.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "pointer_hidden: cannot open the display\n");
    return 2;
  }
  int eventBase = 0;
  int errorBase = 0;
  XFixesCursorImage* cursor = XFixesQueryExtension(display, &eventBase, &errorBase)
                                  ? XFixesGetCursorImage(display)
                                  : nullptr;
  if (cursor == nullptr) {
    std::fprintf(stderr, "pointer_hidden: no cursor image from XFixes\n");
    XCloseDisplay(display);
    return 2;
  }
  constexpr unsigned long AlphaMask = 0xFF000000UL;  // pixels are 0xAARRGGBB in a long
  bool visible = false;
  for (int i = 0; i < cursor->width * cursor->height; ++i) {
    visible = visible || (cursor->pixels[i] & AlphaMask) != 0;
  }
  XFree(cursor);
  XCloseDisplay(display);
  return visible ? 1 : 0;
}
