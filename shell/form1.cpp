#include "form1.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "hostkit/dot_size.h"
#include "hostkit/tick_clock.h"
#include "number1.h"
#include "timer1.h"
#include "virtual_key.h"

namespace pelmiro {
namespace {

constexpr int MouseLaunchKey = FireworksModel::FirstLaunchKey;  // a click acts as "1"
constexpr QRect Number1Geometry{WindowLayout::BoxRect.left, WindowLayout::BoxRect.top,
                                WindowLayout::BoxRect.width, WindowLayout::BoxRect.height};

}  // namespace

Form1::Form1()
    : surface_(QSize(ClientWidthPx, ClientHeightPx), devicePixelRatioF()),
      timer1_(new Timer1(this)),
      number1_(new Number1(this)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Pelmiro"));
  setFixedSize(ClientWidthPx, ClientHeightPx);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/16.xpm"));
  icon.addFile(QStringLiteral(":/icons/32.xpm"));
  setWindowIcon(icon);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  number1_->setGeometry(Number1Geometry);
  connect(number1_, &Number1::Notify, this, &Form1::ApplyDotSize);
  connect(timer1_, &QTimer::timeout, this, &Form1::Tick);

  model_.InitModel(*this);
  setFocus(Qt::OtherFocusReason);  // keys launch rockets from the start, not edit the box
  show();
  timer1_->start();
}

float Form1::ClientWidth() {
  return static_cast<float>(width() * DotSurface::TwipsPerPixel);
}

float Form1::ClientHeight() {
  return static_cast<float>(height() * DotSurface::TwipsPerPixel);
}

std::int32_t Form1::TickCount() {
  return TickClock();
}

std::int32_t Form1::TimerInterval() {
  return timer1_->interval();
}

float Form1::NextRandom() {
  return random_.Next();
}

void Form1::ClearSurface() {
  surface_.Resize(size(), devicePixelRatioF());
  surface_.Clear();
}

void Form1::PlotDot(float x, float y, std::int32_t color) {
  surface_.Plot(x, y, color);
}

void Form1::ApplyDotSize() {
  surface_.SetDotSize(ApplyDotSizeRule([this] { return number1_->value(); },
                                       [this](double value) { number1_->setValue(value); }));
}

void Form1::Tick() {
  model_.AdvanceTick(*this);
  if (FinishPicture()) {
    update();  // an unchanged picture is already on screen
  }
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), surface_.Image());
}

void Form1::keyPressEvent(QKeyEvent* event) {
  if (number1_->hasFocus()) {
    QWidget::keyPressEvent(event);  // keys meant for the box never launch
    return;
  }
  model_.LaunchRocket(*this, VirtualKey(*event));
}

void Form1::mousePressEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
    case Qt::RightButton:
    case Qt::MiddleButton:
      setFocus(Qt::MouseFocusReason);
      model_.LaunchRocket(*this, MouseLaunchKey);
      break;
    default:
      QWidget::mousePressEvent(event);
  }
}

void Form1::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click launches nothing more.
  event->accept();
}

}  // namespace pelmiro
