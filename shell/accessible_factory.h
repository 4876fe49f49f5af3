#pragma once

#include <QAccessibleInterface>
#include <QString>

#include "hostkit/accessible_names.h"

class QObject;

namespace pelmiro {

// What a screen reader reads for the window and the box, for QAccessible::installFactory.
// Qt's own interfaces serve everything else.
QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

// The language Pelmiro speaks to a screen reader: by the user's interface languages.
Language UserLanguage();

}  // namespace pelmiro
