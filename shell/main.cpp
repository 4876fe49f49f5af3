#include <QApplication>

#include "form1.h"

int main(int, char* argv[]) {
  // Pelmiro takes no command line; only the program name is passed on.
  int argc = 1;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmiro"));
  QApplication::setDesktopFileName(QStringLiteral("org.pelmiro.Pelmiro"));
  pelmiro::Form1 form;
  return QApplication::exec();
}
