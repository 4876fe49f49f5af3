// What the page calls. Plain C names and numbers only, so the page needs no glue code.
#include <cstdint>

#include "web_host.h"

#define PELMIRO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace pelmiro {
namespace {
WebHost* page = nullptr;
}

WebHost& PageHost() {
  return *page;
}

}  // namespace pelmiro

using pelmiro::PageHost;

// The field's size is in CSS pixels, shown at devicePixelRatio device pixels each.
PELMIRO_EXPORT(start) void Start(double devicePixelRatio, int width, int height) {
  pelmiro::page = new pelmiro::WebHost(devicePixelRatio, width, height);
  PageHost().Start();
}

// 1 when the picture changed and must be shown again, 0 when the one on screen stands.
PELMIRO_EXPORT(tick) int Tick(double devicePixelRatio, int width, int height) {
  return PageHost().Tick(devicePixelRatio, width, height) ? 1 : 0;
}

// The device pixels the last changed picture differs in from the one before; the page
// puts only those.
PELMIRO_EXPORT(changed_left) int ChangedLeft() {
  return PageHost().Canvas().Changed().left;
}

PELMIRO_EXPORT(changed_top) int ChangedTop() {
  return PageHost().Canvas().Changed().top;
}

PELMIRO_EXPORT(changed_width) int ChangedWidth() {
  return PageHost().Canvas().Changed().width;
}

PELMIRO_EXPORT(changed_height) int ChangedHeight() {
  return PageHost().Canvas().Changed().height;
}

PELMIRO_EXPORT(launch) void Launch(int keyCode) {
  PageHost().Launch(keyCode);
}

PELMIRO_EXPORT(apply_dot_size) double ApplyDotSize(double boxValue) {
  return PageHost().ApplyDotSize(boxValue);
}

// A faster run fill from a module of its own, as an index into this module's function table.
PELMIRO_EXPORT(use_run_fill) void UseRunFill(std::uintptr_t tableIndex) {
  pelmiro::DotCanvas::UseRunFill(reinterpret_cast<pelmiro::DotCanvas::RunFill>(tableIndex));
}

PELMIRO_EXPORT(timer_interval) int TimerInterval() {
  return pelmiro::WebHost::TimerIntervalMs;
}

PELMIRO_EXPORT(pixels) std::uintptr_t Pixels() {
  return reinterpret_cast<std::uintptr_t>(PageHost().Canvas().Pixels());
}

PELMIRO_EXPORT(width) int Width() {
  return PageHost().Canvas().Width();
}

PELMIRO_EXPORT(height) int Height() {
  return PageHost().Canvas().Height();
}
