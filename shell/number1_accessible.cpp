#include "number1_accessible.h"

#include <QLineEdit>

#include "accessible_factory.h"
#include "hostkit/dot_canvas.h"
#include "number1.h"

namespace pelmiro {

Number1Accessible::Number1Accessible(Number1* box) : QAccessibleWidget(box, QAccessible::SpinBox) {
  // Qt tells of a step by the arrows, but not of an edit committed with Return, nor of
  // the owner's clamp: every change is told, so that a screen reader reads the new value.
  QObject::connect(box, &Number1::valueChanged, box, [box](double value) {
    QAccessibleValueChangeEvent changed(box, value);
    QAccessible::updateAccessibility(&changed);
  });
}

Number1* Number1Accessible::Box() const {
  return static_cast<Number1*>(widget());
}

QLineEdit* Number1Accessible::Edit() const {
  return Box()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
}

void* Number1Accessible::interface_cast(QAccessible::InterfaceType type) {
  switch (type) {
    case QAccessible::ValueInterface:
      return static_cast<QAccessibleValueInterface*>(this);
    case QAccessible::TextInterface:
      return static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::EditableTextInterface:
      return static_cast<QAccessibleEditableTextInterface*>(this);
    default:
      return QAccessibleWidget::interface_cast(type);
  }
}

QString Number1Accessible::text(QAccessible::Text type) const {
  switch (type) {
    case QAccessible::Name:
      return QString::fromUtf16(UserWords().BoxName);
    case QAccessible::Value:
      return Box()->textFromValue(Box()->value());
    default:
      return QAccessibleWidget::text(type);
  }
}

QVariant Number1Accessible::currentValue() const {
  return Box()->value();
}

void Number1Accessible::setCurrentValue(const QVariant& value) {
  Box()->setValue(value.toDouble());  // the owner clamps it as it clamps a typed value
}

QVariant Number1Accessible::maximumValue() const {
  return static_cast<double>(DotCanvas::MaxDotSize);
}

QVariant Number1Accessible::minimumValue() const {
  return static_cast<double>(DotCanvas::MinDotSize);
}

QVariant Number1Accessible::minimumStepSize() const {
  return Box()->singleStep();
}

void Number1Accessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  const bool selected = selectionIndex == 0 && Edit()->hasSelectedText();
  *startOffset = selected ? Edit()->selectionStart() : 0;
  *endOffset = selected ? Edit()->selectionEnd() : 0;
}

int Number1Accessible::selectionCount() const {
  return Edit()->hasSelectedText() ? 1 : 0;
}

void Number1Accessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);  // a line edit has one selection at most
}

void Number1Accessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) {
    Edit()->deselect();
  }
}

void Number1Accessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) {
    Edit()->setSelection(startOffset, endOffset - startOffset);
  }
}

int Number1Accessible::cursorPosition() const {
  return Edit()->cursorPosition();
}

void Number1Accessible::setCursorPosition(int position) {
  Edit()->setCursorPosition(position);
}

QString Number1Accessible::text(int startOffset, int endOffset) const {
  return startOffset > endOffset ? QString()
                                 : Edit()->text().mid(startOffset, endOffset - startOffset);
}

int Number1Accessible::characterCount() const {
  return static_cast<int>(Edit()->text().size());
}

QRect Number1Accessible::characterRect(int) const {
  return {};  // where each digit lies is the line edit's own business: unknown
}

int Number1Accessible::offsetAtPoint(const QPoint& point) const {
  return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
}

void Number1Accessible::scrollToSubstring(int startIndex, int endIndex) {
  // The line edit scrolls to show its cursor.
  Edit()->setCursorPosition(endIndex);
  Edit()->setCursorPosition(startIndex);
}

QString Number1Accessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;  // one run of plain text
  *endOffset = characterCount();
  return {};
}

void Number1Accessible::deleteText(int startOffset, int endOffset) {
  replaceText(startOffset, endOffset, QString());
}

void Number1Accessible::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void Number1Accessible::replaceText(int startOffset, int endOffset, const QString& text) {
  // As typing would: committed like any edit, on Return or on leaving the box.
  Edit()->setText(Edit()->text().replace(startOffset, endOffset - startOffset, text));
}

}  // namespace pelmiro
