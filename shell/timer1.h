#pragma once

#include <QTimer>

namespace pelmiro {

// The one clock that drives every frame.
class Timer1 : public QTimer {
  Q_OBJECT

 public:
  static constexpr int IntervalMs = 99;

  explicit Timer1(QObject* parent);
};

}  // namespace pelmiro
