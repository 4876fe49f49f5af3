#pragma once

#include <QAccessibleInterface>
#include <QPointer>

namespace pelmiro {

class Form1;

// The fireworks as a screen reader meets them: a picture named for what the keys do. They
// have no widget of their own; the window lists them as its first child.
class FieldAccessible : public QAccessibleInterface {
 public:
  explicit FieldAccessible(Form1* form);

  bool isValid() const override;
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QString text(QAccessible::Text type) const override;
  void setText(QAccessible::Text type, const QString& text) override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;

 private:
  QPointer<Form1> form_;
};

}  // namespace pelmiro
