#pragma once

#include <QAccessibleInterface>
#include <QString>
#include <QTranslator>

#include "hostkit/words.h"

class QObject;

namespace pelmiro {

// What a screen reader reads for the window and the box, for QAccessible::installFactory.
// Qt's own interfaces serve everything else.
QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

// What Pelmiro says, in the language the user's environment asks for, chosen once.
const Words& UserWords();

// Loads Qt's own words in the language of these, as Debian's Qt translations have them, for
// the box's menu and the like; false when there are none.
bool LoadQtWords(QTranslator& translator, const Words& words);

}  // namespace pelmiro
