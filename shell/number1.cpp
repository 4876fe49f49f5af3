#include "number1.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace pelmiro {

Number1::Number1(QWidget* parent) : QDoubleSpinBox(parent) {
  setObjectName(QStringLiteral("Number1"));
  setDecimals(Decimals);
  setRange(-Limit, Limit);
  setKeyboardTracking(false);
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

NumberSigns Number1::Signs() const {
  const QLocale here = locale();
  const QString zero = here.zeroDigit();  // a locale's digits may lie beyond 16 bits
  return {zero.size() == 1 ? zero.front().unicode() : u'0', here.decimalPoint().toStdU16String(),
          here.negativeSign().toStdU16String()};
}

QString Number1::textFromValue(double value) const {
  return QString::fromStdU16String(FormatBoxValue(value, Signs()));
}

double Number1::valueFromText(const QString& text) const {
  return ParseBoxText(text.toStdU16String(), Signs()).value_or(value());
}

QValidator::State Number1::validate(QString& text, int&) const {
  const NumberSigns signs = Signs();
  if (ParseBoxText(text.toStdU16String(), signs)) {
    return QValidator::Acceptable;
  }
  // Text on its way to a number, such as "-", "2." or "1e", becomes one with a digit more.
  const std::u16string more = text.toStdU16String() + signs.zero;
  return ParseBoxText(more, signs) ? QValidator::Intermediate : QValidator::Invalid;
}

void Number1::Commit() {
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QDoubleSpinBox::keyPressEvent(&enter);
}

void Number1::DropEdit() {
  lineEdit()->setText(textFromValue(value()));
}

void Number1::mousePressEvent(QMouseEvent* event) {
  QDoubleSpinBox::mousePressEvent(event);
  // A press anywhere on the box, its frame included, belongs to the box.
  event->accept();
}

}  // namespace pelmiro
