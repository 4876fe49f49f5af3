#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "form1.h"
#include "number1.h"

using pelmiro::Form1;
using pelmiro::Number1;

namespace {

int FlyingRockets(Form1& form) {
  int n = 0;
  for (double y : form.Model().RocketY()) {
    n += y == form.ClientHeight() ? 1 : 0;
  }
  return n;
}

// Types into the box the way a user would: select what is there, type, press Enter.
void Commit(Number1* box, const QString& typed) {
  box->selectAll();
  QTest::keyClicks(box, typed);
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
  void ShowsValuesWithoutTrailingZeros_data();
  void ShowsValuesWithoutTrailingZeros();
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
  QCOMPARE(box->geometry(), QRect(0, 416, 69, 25));
  QCOMPARE(box->toolTip(), QStringLiteral("1から100までです。"));
  QCOMPARE(box->font().pointSizeF(), 13.5);
  QCOMPARE(box->font().weight(), QFont::Normal);
  QCOMPARE(box->decimals(), 4);
  QCOMPARE(box->text(), QStringLiteral("1"));
  QCOMPARE(form.DotSize(), 1);
  // the face it resolves to can show the Japanese tooltip
  const QString face = QFontInfo(box->font()).family();
  QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(face), qPrintable(face));
}

void Number1Test::ShowsValuesWithoutTrailingZeros_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("shown");
  QTest::newRow("whole") << 100.0 << "100";
  QTest::newRow("half") << 2.5 << "2.5";
  QTest::newRow("four places") << 0.1234 << "0.1234";
  QTest::newRow("rounded to four places") << 3.14159 << "3.1416";
  QTest::newRow("negative") << -5.0 << "-5";
  QTest::newRow("negative zero") << -0.0 << "0";
  QTest::newRow("large, no separators") << 123456.0 << "123456";
}

void Number1Test::ShowsValuesWithoutTrailingZeros() {
  QFETCH(double, value);
  QFETCH(QString, shown);
  Form1 form;
  QCOMPARE(form.NumberBox()->textFromValue(value), shown);
}

void Number1Test::CommittedValueIsClampedAndRounded_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("dotSize");
  QTest::addColumn<QString>("shown");
  QTest::newRow("150") << "150" << 100 << "100";
  QTest::newRow("0") << "0" << 1 << "1";
  QTest::newRow("-5") << "-5" << 1 << "1";
  QTest::newRow("0.5") << "0.5" << 1 << "1";
  QTest::newRow("2.5 rounds down to even") << "2.5" << 2 << "2.5";
  QTest::newRow("3.5 rounds up to even") << "3.5" << 4 << "3.5";
  QTest::newRow("99.5") << "99.5" << 100 << "99.5";
  QTest::newRow("100.0001") << "100.0001" << 100 << "100";
  QTest::newRow("0.9999") << "0.9999" << 1 << "1";
  QTest::newRow("100") << "100" << 100 << "100";
  QTest::newRow("1") << "1" << 1 << "1";
  QTest::newRow("37") << "37" << 37 << "37";
}

void Number1Test::CommittedValueIsClampedAndRounded() {
  QFETCH(QString, typed);
  QFETCH(int, dotSize);
  QFETCH(QString, shown);
  Form1 form;
  Commit(form.NumberBox(), QStringLiteral("42"));  // start away from every expected value
  QCOMPARE(form.DotSize(), 42);
  Commit(form.NumberBox(), typed);
  QCOMPARE(form.DotSize(), dotSize);
  QCOMPARE(form.NumberBox()->text(), shown);
}

void Number1Test::ClampingWriteNotifiesOnceMoreAndStops() {
  Form1 form;
  QSignalSpy notified(form.NumberBox(), &Number1::Notify);
  Commit(form.NumberBox(), QStringLiteral("150"));
  QCOMPARE(notified.count(), 2);  // the commit, then the write of 100 inside the handler
  QCOMPARE(form.DotSize(), 100);
  notified.clear();
  Commit(form.NumberBox(), QStringLiteral("-5"));
  QCOMPARE(notified.count(), 2);
  notified.clear();
  Commit(form.NumberBox(), QStringLiteral("7.5"));
  QCOMPARE(notified.count(), 1);  // in range: nothing written back
  QCOMPARE(form.DotSize(), 8);
}

void Number1Test::NotifiesOnCommitNotOnKeystroke() {
  Form1 form;
  Number1* box = form.NumberBox();
  QSignalSpy notified(box, &Number1::Notify);
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("150"));
  QCOMPARE(notified.count(), 0);
  QCOMPARE(form.DotSize(), 1);
  QTest::keyClick(box, Qt::Key_Enter);
  QCOMPARE(form.DotSize(), 100);
  notified.clear();
  QTest::keyClick(box, Qt::Key_Down);  // an arrow step commits at once
  QCOMPARE(notified.count(), 1);
  QCOMPARE(form.DotSize(), 99);
}

void Number1Test::BadInputNeverLeavesTheRange_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("paste");
  QTest::newRow("letters") << "abc" << false;
  QTest::newRow("empty") << "" << false;
  QTest::newRow("long paste") << QString(10000, QLatin1Char('9')) << true;
  QTest::newRow("long paste of letters") << QString(10000, QLatin1Char('x')) << true;
  QTest::newRow("1e309") << "1e309" << false;
  QTest::newRow("nan") << "nan" << false;
  QTest::newRow("minus zero") << "-0" << false;
  QTest::newRow("100.00005") << "100.00005" << false;
  QTest::newRow("inf") << "inf" << true;
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
  QVERIFY2(form.DotSize() >= 1 && form.DotSize() <= 100, qPrintable(box->text()));
  QVERIFY(box->value() >= 1 && box->value() <= 100);
  QCOMPARE(form.DotSize(), static_cast<int>(std::nearbyint(box->value())));
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
  QCOMPARE(form.DotSize(), 23);
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
  QCOMPARE(form.DotSize(), 1);
}

void Number1Test::ClickOnTheBlackAreaTakesFocusBackAndLaunches() {
  Form1 form;
  QVERIFY(QTest::qWaitForWindowActive(&form));
  form.NumberBox()->setFocus();
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(300, 100));
  QCOMPARE(QApplication::focusWidget(), &form);
  QCOMPARE(FlyingRockets(form), 1);
}

QTEST_MAIN(Number1Test)
#include "number1_test.moc"
