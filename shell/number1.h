#pragma once

#include <QDoubleSpinBox>

#include "hostkit/window_layout.h"

namespace pelmiro {

// The dot-size box. It holds a fixed-point number with four decimals, shows it
// without trailing zeros, and raises Notify() when an edit is committed (Enter,
// leaving the box, an arrow or wheel step), not on every keystroke. It does no
// clamping of its own: its owner decides what values mean.
class Number1 : public QDoubleSpinBox {
  Q_OBJECT

 public:
  static constexpr int Decimals = WindowLayout::BoxDecimals;
  static constexpr double Limit = 1e6;  // room to type 150, -5 or 0.5 before clamping

  explicit Number1(QWidget* parent);

  QString textFromValue(double value) const override;

 signals:
  void Notify();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace pelmiro
