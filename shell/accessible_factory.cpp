#include "accessible_factory.h"

#include <QAccessibleWidget>
#include <QLibraryInfo>
#include <QLineEdit>
#include <cstdlib>

#include "form1.h"
#include "form1_accessible.h"
#include "hostkit/language.h"
#include "number1.h"
#include "number1_accessible.h"

namespace pelmiro {
namespace {

// The box's line edit holds the box's own text, which the box gives a screen reader; on its
// own it would be an unnamed part that no part of the tree holds.
class HiddenLineEdit : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;
  bool isValid() const override { return false; }
};

}  // namespace

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  if (auto* edit = qobject_cast<QLineEdit*>(object);
      edit != nullptr && qobject_cast<Number1*>(edit->parent()) != nullptr) {
    return new HiddenLineEdit(edit);
  }
  if (auto* form = qobject_cast<Form1*>(object)) {
    return new Form1Accessible(form);
  }
  if (auto* box = qobject_cast<Number1*>(object)) {
    return new Number1Accessible(box);
  }
  return nullptr;
}

bool LoadQtWords(QTranslator& translator, const Words& words) {
  return translator.load(QStringLiteral("qtbase_") + QString::fromUtf8(words.Language),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

const Words& UserWords() {
  static const Words& words = WordsFor(EnvironmentLanguages(std::getenv), ListSeparator);
  return words;
}

}  // namespace pelmiro
