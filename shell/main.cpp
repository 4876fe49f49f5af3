#include <QAccessible>
#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "accessible_factory.h"
#include "form1.h"

int main(int, char* argv[]) {
  // Pelmiro takes no command line; only the program name is passed on.
  int argc = 1;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmiro"));
  QApplication::setDesktopFileName(QStringLiteral("org.pelmiro.Pelmiro"));
  // Qt's own words, such as those of the box's menu, in the language Pelmiro speaks.
  QTranslator qtWords;
  if (pelmiro::LoadQtWords(qtWords, pelmiro::UserWords())) {
    QApplication::installTranslator(&qtWords);
  }
  QAccessible::installFactory(pelmiro::AccessibleFactory);
  int status = 0;
  {
    pelmiro::Form1 form;
    status = QApplication::exec();
  }
  // Nothing is left to save once the window is gone. Qt 6.4's Wayland client can
  // deadlock while it disconnects, leaving the process behind, so on Wayland the
  // connection is left for the system to close.
  if (QGuiApplication::platformName() == QLatin1String("wayland")) {
    std::fflush(nullptr);
    std::quick_exit(status);
  }
  return status;
}
