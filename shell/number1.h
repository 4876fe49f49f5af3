#pragma once

#include <QDoubleSpinBox>

#include "hostkit/box_text.h"
#include "hostkit/window_layout.h"

namespace pelmiro {

// The dot-size box. It holds a fixed-point number with four decimals, reads and shows it
// as the desktop boxes do (hostkit/box_text.h), in the locale's digits, and raises Notify()
// when an edit is committed (Enter, leaving the box, an arrow or wheel step), not on every
// keystroke. It does no clamping of its own: its owner decides what values mean.
class Number1 : public QDoubleSpinBox {
  Q_OBJECT

 public:
  static constexpr int Decimals = WindowLayout::BoxDecimals;
  static constexpr double Limit = 1e6;  // room to type 150, -5 or 0.5 before clamping

  explicit Number1(QWidget* parent);

  QString textFromValue(double value) const override;
  double valueFromText(const QString& text) const override;
  QValidator::State validate(QString& text, int& position) const override;

  // Takes what was typed, as Return does.
  void Commit();
  // Drops what was typed: the box shows its value again.
  void DropEdit();

 signals:
  void Notify();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  NumberSigns Signs() const;
};

}  // namespace pelmiro
