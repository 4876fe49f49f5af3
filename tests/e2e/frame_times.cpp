// Prints, one a line, the X server's time (ms) of every drawing into a window during a
// span of time: frame_times WINDOW-ID MILLISECONDS. The server stamps each change, so a
// slow or loaded test machine delays the report but not the times in it.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s WINDOW-ID MILLISECONDS\n", argv[0]);
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const auto span = std::chrono::milliseconds(std::atoi(argv[2]));
  Display* display = XOpenDisplay(nullptr);
  int eventBase = 0;
  int errorBase = 0;
  if (display == nullptr || !XDamageQueryExtension(display, &eventBase, &errorBase)) {
    std::fprintf(stderr, "%s: no display with the DAMAGE extension\n", argv[0]);
    return 1;
  }
  XDamageCreate(display, window, XDamageReportRawRectangles);
  XSync(display, False);
  const auto end = std::chrono::steady_clock::now() + span;
  for (auto now = std::chrono::steady_clock::now(); now < end;
       now = std::chrono::steady_clock::now()) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(
        &connection, 1,
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count()));
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == eventBase + XDamageNotify) {
        std::printf("%lu\n", reinterpret_cast<XDamageNotifyEvent&>(event).timestamp);
      }
    }
  }
  XCloseDisplay(display);
  return 0;
}
