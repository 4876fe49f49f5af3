#include "number1.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "hostkit/window_layout.h"

namespace pelmiro {

Number1::Number1(QWidget* parent) : QDoubleSpinBox(parent) {
  setObjectName(QStringLiteral("Number1"));
  setDecimals(Decimals);
  setRange(-Limit, Limit);
  setKeyboardTracking(false);
  setGroupSeparatorShown(false);
  setValue(1);
  setToolTip(QString::fromUtf16(WindowLayout::BoxToolTip));
  QFont f = font();
  f.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                 QStringLiteral("IPAPGothic"), QStringLiteral("VL Gothic")});
  f.setPointSizeF(WindowLayout::BoxPointSize);
  f.setWeight(QFont::Normal);
  setFont(f);
  connect(this, &QDoubleSpinBox::valueChanged, this, &Number1::Notify);
}

QString Number1::textFromValue(double value) const {
  QLocale plain = locale();
  plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
  // + 0.0 turns -0 into 0
  QString text = plain.toString(value + 0.0, 'f', decimals());
  const QString point = plain.decimalPoint();
  if (text.contains(point)) {
    while (text.endsWith(QLatin1Char('0'))) {
      text.chop(1);
    }
    if (text.endsWith(point)) {
      text.chop(point.size());
    }
  }
  return text;
}

void Number1::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      QDoubleSpinBox::keyPressEvent(event);  // commits the edit first
      window()->setFocus(Qt::OtherFocusReason);
      return;
    case Qt::Key_Escape:
      lineEdit()->setText(textFromValue(value()));  // drop the uncommitted edit
      window()->setFocus(Qt::OtherFocusReason);
      event->accept();
      return;
    default:
      QDoubleSpinBox::keyPressEvent(event);
  }
}

void Number1::mousePressEvent(QMouseEvent* event) {
  QDoubleSpinBox::mousePressEvent(event);
  // A press anywhere on the box, its frame included, belongs to the box.
  event->accept();
}

}  // namespace pelmiro
