#include "field_accessible.h"

#include <QWindow>

#include "accessible_factory.h"
#include "form1.h"

namespace pelmiro {

FieldAccessible::FieldAccessible(Form1* form) : form_(form) {}

bool FieldAccessible::isValid() const {
  return !form_.isNull();
}

QObject* FieldAccessible::object() const {
  return nullptr;
}

QWindow* FieldAccessible::window() const {
  return form_ ? form_->windowHandle() : nullptr;
}

QAccessibleInterface* FieldAccessible::childAt(int, int) const {
  return nullptr;
}

QAccessibleInterface* FieldAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(form_.data());
}

QAccessibleInterface* FieldAccessible::child(int) const {
  return nullptr;
}

int FieldAccessible::childCount() const {
  return 0;
}

int FieldAccessible::indexOfChild(const QAccessibleInterface*) const {
  return -1;
}

QString FieldAccessible::text(QAccessible::Text type) const {
  return type == QAccessible::Name ? QString::fromUtf16(UserWords().FieldName) : QString();
}

void FieldAccessible::setText(QAccessible::Text, const QString&) {}

QRect FieldAccessible::rect() const {
  // The whole client area, on the screen.
  return form_ ? QRect(form_->mapToGlobal(QPoint(0, 0)), form_->size()) : QRect();
}

QAccessible::Role FieldAccessible::role() const {
  return QAccessible::Graphic;
}

QAccessible::State FieldAccessible::state() const {
  QAccessible::State state;
  state.focusable = true;
  state.focused = form_ && form_->hasFocus();  // the keys launch rockets
  state.invisible = !form_ || !form_->isVisible();
  return state;
}

}  // namespace pelmiro
