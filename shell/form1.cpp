#include "form1.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "form1_accessible.h"
#include "hostkit/dot_size.h"
#include "hostkit/tick_clock.h"
#include "number1.h"
#include "timer1.h"
#include "virtual_key.h"

namespace pelmiro {
namespace {

constexpr int MouseLaunchKey = FireworksModel::FirstLaunchKey;  // a click acts as "1"
// A held key repeats as a release and a press at the same moment; the X11 platform does
// not always mark the press as a repeat when its connection is busy.
constexpr quint64 RepeatGapMs = 10;
constexpr Qt::WindowStates GrownStates = Qt::WindowFullScreen | Qt::WindowMaximized;

// The box stays in the bottom-left corner, at its own size, however tall the window.
QRect BoxGeometry(int clientHeight) {
  const WindowLayout::Rect box = WindowLayout::BoxRectFor(clientHeight);
  return {box.left, box.top, box.width, box.height};
}

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
  setMouseTracking(true);  // a resting pointer hides in full screen; any move shows it
  number1_->setGeometry(BoxGeometry(area_.Height()));
  connect(number1_, &Number1::Notify, this, &Form1::ApplyDotSize);
  connect(timer1_, &QTimer::timeout, this, &Form1::Tick);

  model_.InitModel(*this);
  setFocus(Qt::OtherFocusReason);  // keys launch rockets from the start, not edit the box
  show();
  timer1_->start();
}

float Form1::ClientWidth() {
  return area_.WidthTwips();
}

float Form1::ClientHeight() {
  return area_.HeightTwips();
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
  // The ratio follows the screen the window is on.
  surface_.Resize(QSize(area_.Width(), area_.Height()), devicePixelRatioF());
  surface_.Clear();
}

void Form1::PlotDot(float x, float y, std::int32_t color) {
  surface_.Plot(x, y, color);
}

void Form1::ApplyDotSize() {
  surface_.SetDotSize(ApplyDotSizeRule([this] { return number1_->value(); },
                                       [this](double value) { number1_->setValue(value); }));
}

void Form1::ToggleFullScreen() {
  if (isFullScreen()) {
    showNormal();  // the fixed size comes back with the state change
    return;
  }
  // The state change lifts the fixed size before the window system acts on it.
  pointerIdle_.Moved(TickClock());
  showFullScreen();
}

void Form1::HoldFixedSize(bool fixed) {
  if (fixed) {
    setFixedSize(ClientWidthPx, ClientHeightPx);
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

void Form1::ShowOrHidePointer(std::int32_t now) {
  const bool hide = isFullScreen() && pointerIdle_.Hidden(now);
  if (hide == pointerHidden_) {
    return;
  }
  pointerHidden_ = hide;
  if (hide) {
    setCursor(Qt::BlankCursor);
  } else {
    unsetCursor();
  }
}

void Form1::Tick() {
  model_.AdvanceTick(*this);
  if (FinishPicture()) {
    update(surface_.Changed());  // an unchanged picture is already on screen
  }
  ShowOrHidePointer(TickClock());
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), surface_.Image());
}

void Form1::keyPressEvent(QKeyEvent* event) {
  const bool forBox = number1_->hasFocus();
  if (!forBox) {
    // Every key goes to the model; F11 and Escape are codes that launch nothing.
    model_.LaunchRocket(*this, VirtualKey(*event));
  }
  const bool repeated = event->isAutoRepeat() ||
                        (f11ReleasedAt_ && event->timestamp() - *f11ReleasedAt_ <= RepeatGapMs);
  // F11 works from the box too, which has no use for it; Escape there drops the edit.
  if (event->key() == Qt::Key_F11 && !repeated) {  // a held F11 toggles once
    ToggleFullScreen();
  } else if (event->key() == Qt::Key_Escape && !forBox && isFullScreen()) {
    ToggleFullScreen();
  } else if (forBox) {
    QWidget::keyPressEvent(event);  // keys meant for the box never launch
  }
}

void Form1::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    f11ReleasedAt_ = event->timestamp();
  }
  QWidget::keyReleaseEvent(event);
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

void Form1::mouseMoveEvent(QMouseEvent* event) {
  const std::int32_t now = TickClock();
  pointerIdle_.Moved(now);
  ShowOrHidePointer(now);
  QWidget::mouseMoveEvent(event);
}

void Form1::resizeEvent(QResizeEvent* event) {
  // A minimised window may report no client area; the sky keeps its last size then.
  area_.Update(width(), height());
  number1_->setGeometry(BoxGeometry(area_.Height()));
  // Black at once where the window grew, rather than whatever was there, until the
  // next tick draws the sky at its new size.
  surface_.Resize(QSize(area_.Width(), area_.Height()), devicePixelRatioF());
  QWidget::resizeEvent(event);
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    // Full screen and maximise, the program's or the window manager's, let the window
    // grow; anything else holds it at the normal size again, which also puts it back
    // at 500 x 442 after either.
    HoldFixedSize(!(windowState() & GrownStates));
    ShowOrHidePointer(TickClock());
  }
  QWidget::changeEvent(event);
}

void Form1::focusInEvent(QFocusEvent* event) {
  Form1Accessible::FieldFocused(this);  // the keys launch rockets again
  QWidget::focusInEvent(event);
}

}  // namespace pelmiro
