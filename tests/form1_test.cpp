#include <QKeyEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <QtMath>

#include "form1.h"
#include "hostkit/tick_clock.h"
#include "number1.h"
#include "timer1.h"
#include "virtual_key.h"

using pelmiro::DotCanvas;
using pelmiro::Form1;
using pelmiro::KeyboardKind;

namespace {

constexpr float Twips = DotCanvas::TwipsPerPixel;
constexpr QSize Fixed(pelmiro::WindowLayout::ClientWidth, pelmiro::WindowLayout::ClientHeight);
constexpr pelmiro::WindowLayout::Rect Box = pelmiro::WindowLayout::BoxRect;
constexpr std::int32_t ColorRefRed = 0x0000FF;
constexpr int NoLaunch = -1;

// Slots whose rocket sits on the bottom edge, i.e. was just launched.
QList<int> LaunchedSlots(Form1& form) {
  QList<int> launched;
  for (int i = 0; i < pelmiro::FireworksModel::RocketCount; ++i) {
    if (form.Show().Model().RocketY()[i] == form.Show().ClientHeight()) {
      launched.append(i);
    }
  }
  return launched;
}

int CountPixels(const QImage& image, QRgb color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      n += image.pixel(x, y) == color ? 1 : 0;
    }
  }
  return n;
}

QRect Bounds(const QImage& image, QRgb color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == color) {
        box |= QRect(x, y, 1, 1);
      }
    }
  }
  return box;
}

void SetDotSize(Form1& form, double size) {
  form.NumberBox()->setValue(size);
  form.ApplyDotSize();
}

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void WindowSettingsAndLoadOrder();
  void TicksRedrawUnlaunchedRocketsAtTopLeft();
  void EveryTickThatChangesThePictureRepaints();
  void MovingToAFinerScreenRedrawsAtItsRatio();
  void GrowingWindowIsABiggerSky_data();
  void GrowingWindowIsABiggerSky();

  void VirtualKeyTable_data();
  void VirtualKeyTable();
  void KeysRouteThroughTheWindow_data();
  void KeysRouteThroughTheWindow();
  void MouseButtonsLaunchLikeKeyOne_data();
  void MouseButtonsLaunchLikeKeyOne();
  void DoubleClickLaunchesOnce();
};

void Form1Test::WindowSettingsAndLoadOrder() {
  const std::int32_t before = pelmiro::TickClock();
  Form1 form;
  QCOMPARE(form.windowTitle(), QStringLiteral("Pelmiro"));
  QCOMPARE(form.size(), Fixed);
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QVERIFY(form.isVisible());
  QVERIFY(form.Ticker()->isActive());
  QVERIFY(!form.windowIcon().isNull());
  QVERIFY(form.windowIcon().availableSizes().contains(QSize(16, 16)));
  QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
  // the model was started while the window was built
  QVERIFY(form.Show().Model().StartTick() - before >= 0);
  QVERIFY(form.Show().Model().StartTick() - before < 5000);
  // counted from the program's start, not the machine's, so far from the 32-bit edge
  QVERIFY(form.Show().Model().StartTick() < 60000);
}

void Form1Test::TicksRedrawUnlaunchedRocketsAtTopLeft() {
  Form1 form;
  form.Show().PlotDot(3000, 3000, ColorRefRed);  // gone after the next tick
  QTRY_COMPARE_WITH_TIMEOUT(form.Surface().Image().pixel(0, 0), qRgb(0, 255, 0), 2000);
  QTRY_COMPARE_WITH_TIMEOUT(CountPixels(form.Surface().Image(), qRgb(255, 0, 0)), 0, 2000);
  QCOMPARE(CountPixels(form.Surface().Image(), qRgb(0, 255, 0)), 1);
}

void Form1Test::EveryTickThatChangesThePictureRepaints() {
  // Counts what reaches the window: a changed picture must be shown, not only drawn.
  struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      paints += event->type() == QEvent::Paint ? 1 : 0;
      return false;
    }
  } counter;
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QSignalSpy ticks(form.Ticker(), &QTimer::timeout);
  QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 1, 2000);  // the first picture is shown
  QTest::qWait(0);
  form.installEventFilter(&counter);

  // Idle, every tick draws the same corner dot: nothing is shown again.
  ticks.clear();
  QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 2000);
  QTest::qWait(0);
  QCOMPARE(counter.paints, 0);

  // A launch after every tick puts a new rocket on the bottom edge in the next one.
  connect(form.Ticker(), &QTimer::timeout, &form,
          [&form] { form.Show().Launch(pelmiro::FireworksModel::FirstLaunchKey); });
  QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3 + 1, 2000);
  ticks.clear();
  QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 2000);
  QTest::qWait(0);
  QVERIFY2(counter.paints >= ticks.size() - 1, qPrintable(QString::number(counter.paints)));
}

void Form1Test::MovingToAFinerScreenRedrawsAtItsRatio() {
  const QList<QScreen*> screens = QGuiApplication::screens();
  QCOMPARE(screens.size(), 2);
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  SetDotSize(form, 10);
  QTRY_COMPARE_WITH_TIMEOUT(Bounds(form.Surface().Image(), qRgb(0, 255, 0)), QRect(0, 0, 5, 5),
                            2000);
  form.windowHandle()->setScreen(screens.at(1));
  QCOMPARE(form.devicePixelRatioF(), 1.5);
  // The next tick draws at the new ratio: a 15-pixel dot whose lower-right quarter shows.
  QTRY_COMPARE_WITH_TIMEOUT(form.Surface().Image().size(), Fixed * 1.5, 2000);
  QTRY_COMPARE_WITH_TIMEOUT(Bounds(form.Surface().Image(), qRgb(0, 255, 0)), QRect(0, 0, 8, 8),
                            2000);
}

void Form1Test::GrowingWindowIsABiggerSky_data() {
  QTest::addColumn<bool>("fullScreen");  // by F11, or maximised by the system
  QTest::addColumn<int>("leaveKey");     // Qt::Key_unknown: the system restores the window
  QTest::newRow("F11, then F11 in the box") << true << int(Qt::Key_F11);
  QTest::newRow("F11, then Escape") << true << int(Qt::Key_Escape);
  QTest::newRow("maximised, then restored") << false << int(Qt::Key_unknown);
}

void Form1Test::GrowingWindowIsABiggerSky() {
  QFETCH(bool, fullScreen);
  QFETCH(int, leaveKey);
  const auto press = [](Form1& form, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &event);
  };
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  const QScreen* screen = form.screen();
  // Maximised, the frame takes its share of the screen's free area.
  const QSize grown =
      fullScreen
          ? screen->geometry().size()
          : screen->availableGeometry().marginsRemoved(form.windowHandle()->frameMargins()).size();
  QVERIFY(grown.width() > Fixed.width() && grown.height() > Fixed.height());
  if (fullScreen) {
    press(form, Qt::Key_F11);
  } else {
    form.showMaximized();
  }
  QTRY_COMPARE_WITH_TIMEOUT(form.size(), grown, 2000);
  // Held, F11 repeats as a release and a press at one moment, which a busy X11 connection
  // does not always mark as a repeat.
  for (const QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
    QKeyEvent held(type, Qt::Key_F11, Qt::NoModifier);
    held.setTimestamp(1000);
    QCoreApplication::sendEvent(form.windowHandle(), &held);
  }
  QCOMPARE(form.isFullScreen(), fullScreen);
  QCOMPARE(form.Show().ClientWidth(), grown.width() * Twips);
  QCOMPARE(form.Show().ClientHeight(), grown.height() * Twips);
  QCOMPARE(form.NumberBox()->geometry(),
           QRect(Box.left, grown.height() - (Fixed.height() - Box.top), Box.width, Box.height));
  QTRY_COMPARE_WITH_TIMEOUT(form.Surface().Image().size(), grown, 2000);
  // F11 went to the model and launched nothing; the first "1" rises at 0.8148 of the width.
  QVERIFY(LaunchedSlots(form).isEmpty());
  press(form, Qt::Key_1);
  QCOMPARE(LaunchedSlots(form), QList<int>{0});
  QCOMPARE(form.Show().Model().RocketX()[0],
           double(pelmiro::RandomSource().Next()) * double(form.Show().ClientWidth()));
  QCOMPARE(qFloor(form.Show().Model().RocketX()[0] / form.Show().ClientWidth() * 1000), 814);

  if (leaveKey == Qt::Key_unknown) {
    form.showNormal();
  } else if (leaveKey == Qt::Key_F11) {
    form.NumberBox()->setFocus();  // F11 works while the box has the keys, too
    QTest::keyClick(form.NumberBox(), Qt::Key_F11);
  } else {
    press(form, leaveKey);
  }
  QTRY_COMPARE_WITH_TIMEOUT(form.size(), Fixed, 2000);
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QCOMPARE(form.Show().ClientWidth(), Fixed.width() * Twips);
  QCOMPARE(form.NumberBox()->geometry(), QRect(Box.left, Box.top, Box.width, Box.height));
}

void Form1Test::VirtualKeyTable_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<quint32>("scanCode");
  QTest::addColumn<quint32>("nativeKey");
  QTest::addColumn<int>("expected");
  constexpr int VkOne = pelmiro::VkZero + 1;  // the "1" key launches
  const int x = int(KeyboardKind::Xkb);
  const int m = int(KeyboardKind::Mac);
  const int none = Qt::NoModifier;
  const int keypad = Qt::KeypadModifier;
  QTest::newRow("synthetic 1") << x << int(Qt::Key_1) << none << 0u << 0u << VkOne;
  QTest::newRow("synthetic 0") << x << int(Qt::Key_0) << none << 0u << 0u << 48;
  QTest::newRow("synthetic letter") << x << int(Qt::Key_A) << none << 0u << 0u << 0;
  QTest::newRow("xkb 1") << x << int(Qt::Key_1) << none << 10u << 0x31u << VkOne;
  QTest::newRow("xkb 9") << x << int(Qt::Key_9) << none << 18u << 0x39u << 57;
  QTest::newRow("xkb 0") << x << int(Qt::Key_0) << none << 19u << 0x30u << 48;
  QTest::newRow("xkb shift+1") << x << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 10u << 0x21u
                               << VkOne;
  QTest::newRow("xkb azerty &") << x << int(Qt::Key_Ampersand) << none << 10u << 0x26u << VkOne;
  QTest::newRow("xkb azerty é") << x << int(Qt::Key_Eacute) << none << 11u << 0xe9u << 50;
  QTest::newRow("xkb letter q") << x << int(Qt::Key_Q) << none << 24u << 0x71u << 0;
  QTest::newRow("xkb keypad 2") << x << int(Qt::Key_2) << keypad << 88u << 0xffb2u << 98;
  QTest::newRow("xkb keypad 0") << x << int(Qt::Key_0) << keypad << 90u << 0xffb0u << 96;
  QTest::newRow("xkb keypad 9") << x << int(Qt::Key_9) << keypad << 81u << 0xffb9u << 105;
  QTest::newRow("keypad without numlock") << x << int(Qt::Key_End) << keypad << 87u << 0u << 0;
  QTest::newRow("mac 1") << m << int(Qt::Key_1) << none << 0u << 0x12u << VkOne;
  QTest::newRow("mac 5") << m << int(Qt::Key_5) << none << 0u << 0x17u << 53;
  QTest::newRow("mac 0") << m << int(Qt::Key_0) << none << 0u << 0x1Du << 48;
}

void Form1Test::VirtualKeyTable() {
  QFETCH(int, kind);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(quint32, scanCode);
  QFETCH(quint32, nativeKey);
  QFETCH(int, expected);
  const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode,
                        nativeKey, 0);
  QCOMPARE(pelmiro::VirtualKey(event, KeyboardKind(kind)), expected);
}

void Form1Test::KeysRouteThroughTheWindow_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<quint32>("scanCode");
  QTest::addColumn<bool>("autoRepeat");
  QTest::addColumn<int>("slot");
  const int none = Qt::NoModifier;
  QTest::newRow("1") << int(Qt::Key_1) << none << 0u << false << 0;
  QTest::newRow("alt+4") << int(Qt::Key_4) << int(Qt::AltModifier) << 13u << false << 3;
  QTest::newRow("azerty &") << int(Qt::Key_Ampersand) << none << 10u << false << 0;
  QTest::newRow("auto-repeat 2") << int(Qt::Key_2) << none << 11u << true << 1;
}

void Form1Test::KeysRouteThroughTheWindow() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(quint32, scanCode);
  QFETCH(bool, autoRepeat);
  QFETCH(int, slot);
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, 0, 0,
                  QString(), autoRepeat);
  QCoreApplication::sendEvent(form.windowHandle(), &press);
  const QList<int> expected = slot == NoLaunch ? QList<int>{} : QList<int>{slot};
  QCOMPARE(LaunchedSlots(form), expected);
}

void Form1Test::MouseButtonsLaunchLikeKeyOne_data() {
  QTest::addColumn<int>("button");
  QTest::newRow("left") << int(Qt::LeftButton);
  QTest::newRow("right") << int(Qt::RightButton);
  QTest::newRow("middle") << int(Qt::MiddleButton);
}

void Form1Test::MouseButtonsLaunchLikeKeyOne() {
  QFETCH(int, button);
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(&form, Qt::MouseButton(button), Qt::ShiftModifier, QPoint(400, 100));
  QCOMPARE(LaunchedSlots(form), QList<int>{0});
  QTest::mouseClick(&form, Qt::MouseButton(button), {}, QPoint(10, 10));
  QCOMPARE(LaunchedSlots(form), (QList<int>{0, 1}));
  // the box takes its own clicks
  QTest::mouseClick(form.NumberBox(), Qt::MouseButton(button), {}, QPoint(5, 5));
  QCOMPARE(LaunchedSlots(form).size(), 2);
}

void Form1Test::DoubleClickLaunchesOnce() {
  Form1 form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(200, 200));
  QCOMPARE(LaunchedSlots(form), QList<int>{0});
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
