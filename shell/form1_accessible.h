#pragma once

#include <QAccessibleWidget>

namespace pelmiro {

class Form1;

// The window as a screen reader meets it: a frame named by its title, holding the
// fireworks and then the box.
class Form1Accessible : public QAccessibleWidget {
 public:
  static constexpr int FieldIndex = 0;

  explicit Form1Accessible(Form1* form);
  ~Form1Accessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;

  // Tells a screen reader that the keys now go to the fireworks.
  static void FieldFocused(Form1* form);

 private:
  QAccessibleInterface* Field() const;

  QAccessible::Id field_;
};

}  // namespace pelmiro
