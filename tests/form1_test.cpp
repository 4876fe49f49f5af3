#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <limits>

#include "form1.h"
#include "number1.h"
#include "timer1.h"
#include "virtual_key.h"

using pelmiro::DotSurface;
using pelmiro::Form1;
using pelmiro::KeyboardKind;

namespace {

constexpr float Twips = DotSurface::TwipsPerPixel;
constexpr QRgb Black = 0xFF000000;
constexpr std::int32_t ColorRefRed = 0x0000FF;
constexpr int NoLaunch = -1;

// Slots whose rocket sits on the bottom edge, i.e. was just launched.
QList<int> LaunchedSlots(Form1& form) {
  QList<int> launched;
  for (int i = 0; i < pelmiro::FireworksModel::RocketCount; ++i) {
    if (form.Model().RocketY()[i] == form.ClientHeight()) {
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
  void HostReportsSizeIntervalAndFixedRandomSequence();
  void TicksRedrawUnlaunchedRocketsAtTopLeft();

  void VirtualKeyTable_data();
  void VirtualKeyTable();
  void KeysRouteThroughTheWindow_data();
  void KeysRouteThroughTheWindow();
  void MouseButtonsLaunchLikeKeyOne_data();
  void MouseButtonsLaunchLikeKeyOne();
  void DoubleClickLaunchesOnce();

  void PlotDotSizeOneIsOneExactPixel();
  void PlotDotIsRoundAndCentred_data();
  void PlotDotIsRoundAndCentred();
  void PlotDotClipsAtEdges_data();
  void PlotDotClipsAtEdges();
  void FarOrNonFinitePointsDrawNothing_data();
  void FarOrNonFinitePointsDrawNothing();
  void HighDensitySurfaceScalesDots();
};

void Form1Test::WindowSettingsAndLoadOrder() {
  const std::int32_t before = Form1().TickCount();
  Form1 form;
  QCOMPARE(form.windowTitle(), QStringLiteral("Pelmiro"));
  QCOMPARE(form.size(), QSize(500, 442));
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QVERIFY(form.isVisible());
  QVERIFY(form.Ticker()->isActive());
  QVERIFY(!form.windowIcon().isNull());
  QVERIFY(form.windowIcon().availableSizes().contains(QSize(16, 16)));
  QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
  // the model was started while the window was built
  QVERIFY(form.Model().StartTick() - before >= 0);
  QVERIFY(form.Model().StartTick() - before < 5000);
}

void Form1Test::HostReportsSizeIntervalAndFixedRandomSequence() {
  Form1 a;
  Form1 b;
  QCOMPARE(a.ClientWidth(), 7500.0f);
  QCOMPARE(a.ClientHeight(), 6630.0f);
  QCOMPARE(a.TimerInterval(), 99);
  for (int i = 0; i < 10000; ++i) {
    const float r = a.NextRandom();
    QVERIFY(r >= 0.0f && r < 1.0f);
    QCOMPARE(b.NextRandom(), r);  // every run draws the same sequence
  }
  const std::int32_t t0 = a.TickCount();
  QTest::qWait(30);
  QVERIFY(a.TickCount() - t0 >= 25);
}

void Form1Test::TicksRedrawUnlaunchedRocketsAtTopLeft() {
  Form1 form;
  form.PlotDot(3000, 3000, ColorRefRed);  // gone after the next tick
  QTRY_COMPARE_WITH_TIMEOUT(form.Surface().Image().pixel(0, 0), qRgb(0, 255, 0), 2000);
  QTRY_COMPARE_WITH_TIMEOUT(CountPixels(form.Surface().Image(), qRgb(255, 0, 0)), 0, 2000);
  QCOMPARE(CountPixels(form.Surface().Image(), qRgb(0, 255, 0)), 1);
}

void Form1Test::VirtualKeyTable_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<quint32>("scanCode");
  QTest::addColumn<quint32>("nativeKey");
  QTest::addColumn<int>("expected");
  const int x = int(KeyboardKind::Xkb);
  const int w = int(KeyboardKind::Windows);
  const int m = int(KeyboardKind::Mac);
  const int none = Qt::NoModifier;
  const int keypad = Qt::KeypadModifier;
  QTest::newRow("synthetic 1") << x << int(Qt::Key_1) << none << 0u << 0u << 49;
  QTest::newRow("synthetic 0") << x << int(Qt::Key_0) << none << 0u << 0u << 48;
  QTest::newRow("synthetic letter") << x << int(Qt::Key_A) << none << 0u << 0u << 0;
  QTest::newRow("xkb 1") << x << int(Qt::Key_1) << none << 10u << 0x31u << 49;
  QTest::newRow("xkb 9") << x << int(Qt::Key_9) << none << 18u << 0x39u << 57;
  QTest::newRow("xkb 0") << x << int(Qt::Key_0) << none << 19u << 0x30u << 48;
  QTest::newRow("xkb shift+1") << x << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 10u << 0x21u
                               << 49;
  QTest::newRow("xkb azerty &") << x << int(Qt::Key_Ampersand) << none << 10u << 0x26u << 49;
  QTest::newRow("xkb azerty é") << x << int(Qt::Key_Eacute) << none << 11u << 0xe9u << 50;
  QTest::newRow("xkb letter q") << x << int(Qt::Key_Q) << none << 24u << 0x71u << 0;
  QTest::newRow("xkb keypad 2") << x << int(Qt::Key_2) << keypad << 88u << 0xffb2u << 98;
  QTest::newRow("xkb keypad 0") << x << int(Qt::Key_0) << keypad << 90u << 0xffb0u << 96;
  QTest::newRow("xkb keypad 9") << x << int(Qt::Key_9) << keypad << 81u << 0xffb9u << 105;
  QTest::newRow("keypad without numlock") << x << int(Qt::Key_End) << keypad << 87u << 0u << 0;
  QTest::newRow("windows 1") << w << int(Qt::Key_1) << none << 0x02u << 0x31u << 49;
  QTest::newRow("windows 0") << w << int(Qt::Key_0) << none << 0x0Bu << 0x30u << 48;
  QTest::newRow("windows azerty &") << w << int(Qt::Key_Ampersand) << none << 0x02u << 0x31u << 49;
  QTest::newRow("mac 1") << m << int(Qt::Key_1) << none << 0u << 0x12u << 49;
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
  QTest::newRow("3") << int(Qt::Key_3) << none << 0u << false << 2;
  QTest::newRow("9") << int(Qt::Key_9) << none << 0u << false << 8;
  QTest::newRow("0") << int(Qt::Key_0) << none << 0u << false << NoLaunch;
  QTest::newRow("ctrl+1") << int(Qt::Key_1) << int(Qt::ControlModifier) << 10u << false << 0;
  QTest::newRow("alt+4") << int(Qt::Key_4) << int(Qt::AltModifier) << 13u << false << 3;
  QTest::newRow("shift+1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 10u << false << 0;
  QTest::newRow("azerty &") << int(Qt::Key_Ampersand) << none << 10u << false << 0;
  QTest::newRow("auto-repeat 2") << int(Qt::Key_2) << none << 11u << true << 1;
  QTest::newRow("keypad 1") << int(Qt::Key_1) << int(Qt::KeypadModifier) << 87u << false
                            << NoLaunch;
  QTest::newRow("space") << int(Qt::Key_Space) << none << 65u << false << NoLaunch;
  QTest::newRow("letter") << int(Qt::Key_A) << none << 38u << false << NoLaunch;
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

void Form1Test::PlotDotSizeOneIsOneExactPixel() {
  Form1 form;
  form.Ticker()->stop();
  form.ClearSurface();
  form.PlotDot(10 * Twips, 20 * Twips, pelmiro::Rgb(255, 125, 0));
  form.PlotDot(499 * Twips, 441 * Twips, ColorRefRed);
  const QImage& image = form.Surface().Image();
  QCOMPARE(image.pixel(10, 20), qRgb(255, 125, 0));
  QCOMPARE(image.pixel(499, 441), qRgb(255, 0, 0));  // red lives in the low byte
  QCOMPARE(CountPixels(image, Black), 500 * 442 - 2);
}

void Form1Test::PlotDotIsRoundAndCentred_data() {
  QTest::addColumn<int>("size");
  QTest::newRow("2") << 2;
  QTest::newRow("7") << 7;
  QTest::newRow("10") << 10;
  QTest::newRow("37") << 37;
  QTest::newRow("100") << 100;
}

void Form1Test::PlotDotIsRoundAndCentred() {
  QFETCH(int, size);
  Form1 form;
  form.Ticker()->stop();
  SetDotSize(form, size);
  form.ClearSurface();
  const QPoint centre(250, 200);
  form.PlotDot(centre.x() * Twips, centre.y() * Twips, pelmiro::Rgb(255, 250, 0));
  const QImage& image = form.Surface().Image();
  const QRgb yellow = qRgb(255, 250, 0);
  QCOMPARE(Bounds(image, yellow).size(), QSize(size, size));
  QVERIFY((Bounds(image, yellow).center() - centre).manhattanLength() <= 2);
  const double disc = M_PI * size * size / 4;
  QVERIFY2(std::abs(CountPixels(image, yellow) - disc) <= 2.0 * size,
           qPrintable(QString::number(CountPixels(image, yellow))));
}

void Form1Test::PlotDotClipsAtEdges_data() {
  QTest::addColumn<QPointF>("pixel");
  QTest::addColumn<double>("visibleShare");
  QTest::newRow("left edge") << QPointF(0, 200) << 0.5;
  QTest::newRow("top-left corner") << QPointF(0, 0) << 0.25;
  QTest::newRow("bottom-right corner") << QPointF(500, 442) << 0.25;
  QTest::newRow("just outside right") << QPointF(540, 200) << 0.05;
}

void Form1Test::PlotDotClipsAtEdges() {
  QFETCH(QPointF, pixel);
  QFETCH(double, visibleShare);
  Form1 form;
  form.Ticker()->stop();
  SetDotSize(form, 100);
  form.ClearSurface();
  form.PlotDot(pixel.x() * Twips, pixel.y() * Twips, ColorRefRed);
  const double visible = CountPixels(form.Surface().Image(), qRgb(255, 0, 0)) / (M_PI * 2500);
  QVERIFY2(std::abs(visible - visibleShare) < 0.04, qPrintable(QString::number(visible)));
}

void Form1Test::FarOrNonFinitePointsDrawNothing_data() {
  QTest::addColumn<float>("x");
  QTest::addColumn<float>("y");
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float big = std::numeric_limits<float>::max();
  QTest::newRow("parked rocket") << 3000.0f << -100000.0f;
  QTest::newRow("far right") << 1e12f << 3000.0f;
  QTest::newRow("far below") << 3000.0f << 3e9f;
  QTest::newRow("largest float") << big << -big;
  QTest::newRow("infinity") << inf << 3000.0f;
  QTest::newRow("minus infinity") << 3000.0f << -inf;
  QTest::newRow("nan") << nan << 3000.0f;
  QTest::newRow("nan both") << nan << nan;
}

void Form1Test::FarOrNonFinitePointsDrawNothing() {
  QFETCH(float, x);
  QFETCH(float, y);
  Form1 form;
  form.Ticker()->stop();
  for (int size : {1, 100}) {
    SetDotSize(form, size);
    form.ClearSurface();
    form.PlotDot(x, y, ColorRefRed);
    QCOMPARE(CountPixels(form.Surface().Image(), Black), 500 * 442);
  }
}

void Form1Test::HighDensitySurfaceScalesDots() {
  DotSurface surface(QSize(100, 80), 2.0);
  QCOMPARE(surface.Image().size(), QSize(200, 160));
  surface.Plot(10 * Twips, 20 * Twips, ColorRefRed);
  QCOMPARE(Bounds(surface.Image(), qRgb(255, 0, 0)), QRect(19, 39, 2, 2));
  surface.SetDotSize(10);
  surface.Clear();
  surface.Plot(50 * Twips, 40 * Twips, ColorRefRed);
  QCOMPARE(Bounds(surface.Image(), qRgb(255, 0, 0)).size(), QSize(20, 20));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
