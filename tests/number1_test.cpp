#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QWindow>
#include <cmath>
#include <memory>

#include "accessible_factory.h"
#include "form1.h"
#include "number1.h"

using pelmiro::Form1;
using pelmiro::Number1;

namespace {

int DotSize(Form1& form) {
  return form.Show().Canvas().DotSize();
}

int FlyingRockets(Form1& form) {
  int n = 0;
  for (double y : form.Show().Model().RocketY()) {
    n += y == form.Show().ClientHeight() ? 1 : 0;
  }
  return n;
}

// Types into the box the way a user would: select what is there, type, press Enter.
void Commit(Number1* box, const QString& typed) {
  box->selectAll();
  for (const QChar c : typed) {  // a key for each character, any script's
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(box, &key);
  }
  QTest::keyClick(box, Qt::Key_Return);
}

// Types through the window, so keys go wherever the keyboard focus is.
void TypeIntoWindow(QWindow* window, const QString& text) {
  for (QChar c : text) {
    QTest::keyClick(window, c.toLatin1());
  }
}

}  // namespace

class Number1Test : public QObject {
  Q_OBJECT

 private slots:
  void SettingsOnTheWindow();
  void MenuSpeaksEveryLanguage_data();
  void MenuSpeaksEveryLanguage();
  void CommittedValueIsClampedAndRounded_data();
  void CommittedValueIsClampedAndRounded();
  void ClampingWriteNotifiesOnceMoreAndStops();
  void NotifiesOnCommitNotOnKeystroke();
  void BadInputNeverLeavesTheRange_data();
  void BadInputNeverLeavesTheRange();
  void FocusStartsOnTheWindowAndComesBack();
  void EscapeDropsTheEditAndReturnsFocus();
  void ClickOnTheBlackAreaTakesFocusBackAndLaunches();
};

void Number1Test::SettingsOnTheWindow() {
  Form1 form;
  Number1* box = form.NumberBox();
  constexpr pelmiro::WindowLayout::Rect Box = pelmiro::WindowLayout::BoxRect;
  QCOMPARE(box->geometry(), QRect(Box.left, Box.top, Box.width, Box.height));
  QCOMPARE(box->toolTip(), QStringLiteral("1から100までです。"));
  QCOMPARE(box->font().pointSizeF(), 13.5);
  QCOMPARE(box->font().weight(), QFont::Normal);
  QCOMPARE(box->decimals(), 4);
  QCOMPARE(box->text(), QStringLiteral("1"));
  QCOMPARE(DotSize(form), 1);
  // the face it resolves to can show the Japanese tooltip
  const QString face = QFontInfo(box->font()).family();
  QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(face), qPrintable(face));
}

void Number1Test::CommittedValueIsClampedAndRounded_data() {
  QTest::addColumn<QString>("locale");  // the box reads and writes numbers in its locale's way
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("dotSize");
  QTest::addColumn<QString>("shown");
  const QString c = QStringLiteral("C");
  QTest::newRow("150") << c << "150" << 100 << "100";
  QTest::newRow("0") << c << "0" << 1 << "1";
  QTest::newRow("-5") << c << "-5" << 1 << "1";
  QTest::newRow("0.5") << c << "0.5" << 1 << "1";
  QTest::newRow("2.5 rounds down to even") << c << "2.5" << 2 << "2.5";
  QTest::newRow("3.5 rounds up to even") << c << "3.5" << 4 << "3.5";
  QTest::newRow("99.5") << c << "99.5" << 100 << "99.5";
  QTest::newRow("100.0001") << c << "100.0001" << 100 << "100";
  QTest::newRow("0.9999") << c << "0.9999" << 1 << "1";
  QTest::newRow("100") << c << "100" << 100 << "100";
  QTest::newRow("1") << c << "1" << 1 << "1";
  QTest::newRow("37") << c << "37" << 37 << "37";
  QTest::newRow("ar: 12.5 in ASCII") << "ar_EG"
                                     << "12.5" << 12 << "\u0661\u0662\u066B\u0665";
  QTest::newRow("ar: its own digits") << "ar_EG"
                                      << "\u0661\u0665\u0660" << 100 << "\u0661\u0660\u0660";
  QTest::newRow("de: a point is no group separator") << "de_DE"
                                                     << "12.5" << 12 << "12,5";
  QTest::newRow("de: its decimal comma") << "de_DE"
                                         << "3,5" << 4 << "3,5";
}

void Number1Test::CommittedValueIsClampedAndRounded() {
  QFETCH(QString, locale);
  QFETCH(QString, typed);
  QFETCH(int, dotSize);
  QFETCH(QString, shown);
  QLocale::setDefault(QLocale(locale));
  const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
  Form1 form;
  // At first the box shows 1 without a fraction, in the locale's digits.
  QCOMPARE(form.NumberBox()->text(), QLocale(locale).toString(1));
  Commit(form.NumberBox(), QStringLiteral("42"));  // start away from every expected value
  QCOMPARE(DotSize(form), 42);
  Commit(form.NumberBox(), typed);
  QCOMPARE(DotSize(form), dotSize);
  QCOMPARE(form.NumberBox()->text(), shown);
}

void Number1Test::ClampingWriteNotifiesOnceMoreAndStops() {
  Form1 form;
  QSignalSpy notified(form.NumberBox(), &Number1::Notify);
  Commit(form.NumberBox(), QStringLiteral("150"));
  QCOMPARE(notified.count(), 2);  // the commit, then the write of 100 inside the handler
  QCOMPARE(DotSize(form), 100);
  notified.clear();
  Commit(form.NumberBox(), QStringLiteral("-5"));
  QCOMPARE(notified.count(), 2);
  notified.clear();
  Commit(form.NumberBox(), QStringLiteral("7.5"));
  QCOMPARE(notified.count(), 1);  // in range: nothing written back
  QCOMPARE(DotSize(form), 8);
}

void Number1Test::NotifiesOnCommitNotOnKeystroke() {
  Form1 form;
  Number1* box = form.NumberBox();
  QSignalSpy notified(box, &Number1::Notify);
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("150"));
  QCOMPARE(notified.count(), 0);
  QCOMPARE(DotSize(form), 1);
  QTest::keyClick(box, Qt::Key_Enter);
  QCOMPARE(DotSize(form), 100);
  notified.clear();
  QTest::keyClick(box, Qt::Key_Down);  // an arrow step commits at once
  QCOMPARE(notified.count(), 1);
  QCOMPARE(DotSize(form), 99);
}

void Number1Test::BadInputNeverLeavesTheRange_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("paste");
  QTest::newRow("letters") << "abc" << false;
  QTest::newRow("long paste") << QString(10000, QLatin1Char('9')) << true;
  QTest::newRow("long paste of letters") << QString(10000, QLatin1Char('x')) << true;
  QTest::newRow("1e309") << "1e309" << false;
  QTest::newRow("100.00005") << "100.00005" << false;
  QTest::newRow("just a sign") << "-" << false;
}

void Number1Test::BadInputNeverLeavesTheRange() {
  QFETCH(QString, typed);
  QFETCH(bool, paste);
  Form1 form;
  Number1* box = form.NumberBox();
  Commit(box, QStringLiteral("5"));
  box->selectAll();
  if (paste) {
    QGuiApplication::clipboard()->setText(typed);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  } else {
    QTest::keyClicks(box, typed);
  }
  QTest::keyClick(box, Qt::Key_Return);
  QVERIFY(std::isfinite(box->value()));
  QVERIFY2(DotSize(form) >= 1 && DotSize(form) <= 100, qPrintable(box->text()));
  QVERIFY(box->value() >= 1 && box->value() <= 100);
  QCOMPARE(DotSize(form), static_cast<int>(std::nearbyint(box->value())));
}

void Number1Test::FocusStartsOnTheWindowAndComesBack() {
  Form1 form;
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QCOMPARE(QApplication::focusWidget(), &form);
  QTest::keyClick(form.windowHandle(), Qt::Key_1);
  QCOMPARE(FlyingRockets(form), 1);
  QTest::keyClick(form.windowHandle(), Qt::Key_Tab);  // the box is first in the tab order
  QVERIFY(form.NumberBox()->hasFocus());
  QTest::keyClick(form.windowHandle(), Qt::Key_A, Qt::ControlModifier);
  TypeIntoWindow(form.windowHandle(), QStringLiteral("23"));
  QCOMPARE(FlyingRockets(form), 1);  // typed into the box, not launched
  QCOMPARE(form.NumberBox()->text(), QStringLiteral("23"));
  QTest::keyClick(form.windowHandle(), Qt::Key_Return);
  QCOMPARE(DotSize(form), 23);
  QCOMPARE(QApplication::focusWidget(), &form);
  QTest::keyClick(form.windowHandle(), Qt::Key_2);
  QCOMPARE(FlyingRockets(form), 2);
}

void Number1Test::EscapeDropsTheEditAndReturnsFocus() {
  Form1 form;
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QTest::mouseClick(form.NumberBox(), Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(form.NumberBox()->hasFocus());
  form.NumberBox()->selectAll();
  TypeIntoWindow(form.windowHandle(), QStringLiteral("77"));
  QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
  QCOMPARE(QApplication::focusWidget(), &form);
  QCOMPARE(form.NumberBox()->text(), QStringLiteral("1"));
  QCOMPARE(DotSize(form), 1);
}

void Number1Test::ClickOnTheBlackAreaTakesFocusBackAndLaunches() {
  Form1 form;
  QVERIFY(QTest::qWaitForWindowActive(&form));
  form.NumberBox()->setFocus();
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(300, 100));
  QCOMPARE(QApplication::focusWidget(), &form);
  QCOMPARE(FlyingRockets(form), 1);
}

// The box's right-click menu is Qt's: in every language Pelmiro speaks that Qt speaks too,
// Qt's translations give it that language's words.
void Number1Test::MenuSpeaksEveryLanguage_data() {
  QTest::addColumn<int>("language");
  for (std::size_t i = 1; i < pelmiro::Catalogue().size(); ++i) {  // all but English
    QTest::newRow(pelmiro::Catalogue()[i].Language) << static_cast<int>(i);
  }
}

void Number1Test::MenuSpeaksEveryLanguage() {
  QFETCH(int, language);
  Form1 form;
  const auto firstAction = [&form] {
    const std::unique_ptr<QMenu> menu(
        form.NumberBox()->findChild<QLineEdit*>()->createStandardContextMenu());
    return menu->actions().first()->text();
  };
  const QString english = firstAction();
  QTranslator translator;
  if (!pelmiro::LoadQtWords(translator, pelmiro::Catalogue()[language])) {
    const QDir translations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QVERIFY2(!translations.entryList({QStringLiteral("qtbase_*.qm")}).isEmpty(),
             "Qt's translations are not installed");
    QSKIP("Qt has no translation of its own for this language");
  }
  QCoreApplication::installTranslator(&translator);
  const QString translated = firstAction();
  QCoreApplication::removeTranslator(&translator);
  QVERIFY2(translated != english, qPrintable(translated));
}

QTEST_MAIN(Number1Test)
#include "number1_test.moc"
