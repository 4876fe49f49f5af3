#include "accessible_factory.h"

#include <QLocale>
#include <string>
#include <vector>

#include "form1.h"
#include "form1_accessible.h"
#include "number1.h"
#include "number1_accessible.h"

namespace pelmiro {

QAccessibleInterface* AccessibleFactory(const QString&, QObject* object) {
  if (auto* form = qobject_cast<Form1*>(object)) {
    return new Form1Accessible(form);
  }
  if (auto* box = qobject_cast<Number1*>(object)) {
    return new Number1Accessible(box);
  }
  return nullptr;
}

Language UserLanguage() {
  static const Language language = [] {
    std::vector<std::u16string> tags;
    for (const QString& tag : QLocale::system().uiLanguages()) {
      tags.push_back(tag.toStdU16String());
    }
    return PreferredLanguage(tags);
  }();
  return language;
}

}  // namespace pelmiro
