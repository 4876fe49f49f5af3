#pragma once

#include <QTimer>

#include "hostkit/window_layout.h"

namespace pelmiro {

// The one clock that drives every frame.
class Timer1 : public QTimer {
  Q_OBJECT

 public:
  static constexpr int IntervalMs = WindowLayout::TimerIntervalMs;

  explicit Timer1(QObject* parent);
};

}  // namespace pelmiro
