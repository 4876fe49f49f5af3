#pragma once

#include <QWidget>
#include <optional>

#include "dot_surface.h"
#include "hostkit/fireworks_show.h"
#include "hostkit/input_rules.h"

namespace pelmiro {

class Number1;
class Timer1;

// The program's only window. It shows the fireworks and passes its ticks, keys, clicks and
// box commits to them by the rules every host shares.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Builds the window and its controls, starts the fireworks, shows the window and
  // starts the timer.
  Form1();

  // Clamps the box's value to 1..100 and takes it as the dot size.
  void ApplyDotSize();

  FireworksShow& Show() { return show_; }
  const DotSurface& Surface() const { return surface_; }
  Number1* NumberBox() const { return number1_; }
  Timer1* Ticker() const { return timer1_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  // The box's keys come here first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Tick();
  // Passes a key to the rules; says whether it is spent.
  bool Press(const QKeyEvent& event, KeysAt at);
  void CarryOut(const Outcome& outcome);
  // Fixed at the normal client size, or free to take what full screen or maximise gives.
  void HoldFixedSize(bool fixed);
  void UpdatePointer();

  FireworksShow show_;
  DotSurface surface_;
  PointerRule pointer_;
  // When F11 was last let go: a press within moments of it is the held key repeating.
  std::optional<quint64> f11ReleasedAt_;
  Timer1* timer1_;
  Number1* number1_;
};

}  // namespace pelmiro
