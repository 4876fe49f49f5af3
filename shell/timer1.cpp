#include "timer1.h"

namespace pelmiro {

Timer1::Timer1(QObject* parent) : QTimer(parent) {
  setObjectName(QStringLiteral("Timer1"));
  setInterval(IntervalMs);
  // A coarse timer may drift by 5 %; frames should keep an even pace.
  setTimerType(Qt::PreciseTimer);
}

}  // namespace pelmiro
