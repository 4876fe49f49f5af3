#include "form1_accessible.h"

#include <QTimer>

#include "field_accessible.h"
#include "form1.h"

namespace pelmiro {

Form1Accessible::Form1Accessible(Form1* form)
    : QAccessibleWidget(form, QAccessible::Window),
      field_(QAccessible::registerAccessibleInterface(new FieldAccessible(form))) {}

Form1Accessible::~Form1Accessible() {
  QAccessible::deleteAccessibleInterface(field_);
}

QAccessibleInterface* Form1Accessible::Field() const {
  return QAccessible::accessibleInterface(field_);
}

int Form1Accessible::childCount() const {
  return QAccessibleWidget::childCount() + 1;
}

QAccessibleInterface* Form1Accessible::child(int index) const {
  return index == FieldIndex ? Field() : QAccessibleWidget::child(index - 1);
}

int Form1Accessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child == Field()) {
    return FieldIndex;
  }
  const int index = QAccessibleWidget::indexOfChild(child);
  return index < 0 ? index : index + 1;
}

QAccessibleInterface* Form1Accessible::childAt(int x, int y) const {
  // The box lies over the fireworks.
  for (int i = FieldIndex + 1; i < childCount(); ++i) {
    QAccessibleInterface* part = child(i);
    if (part != nullptr && part->rect().contains(x, y)) {
      return part;
    }
  }
  return rect().contains(x, y) ? Field() : nullptr;
}

QAccessibleInterface* Form1Accessible::focusChild() const {
  return widget()->hasFocus() ? Field() : QAccessibleWidget::focusChild();
}

void Form1Accessible::FieldFocused(Form1* form) {
  if (!QAccessible::isActive()) {
    return;
  }
  // Qt tells of the window's focus once its focus-in event is over; the fireworks' comes
  // after that, so that a screen reader says what the keys do.
  QTimer::singleShot(0, form, [form] {
    const auto* frame = dynamic_cast<Form1Accessible*>(QAccessible::queryAccessibleInterface(form));
    QAccessibleInterface* field = frame != nullptr ? frame->Field() : nullptr;
    if (field != nullptr && form->hasFocus()) {
      QAccessibleEvent focus(field, QAccessible::Focus);
      QAccessible::updateAccessibility(&focus);
    }
  });
}

}  // namespace pelmiro
