#include "form1.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "form1_accessible.h"
#include "hostkit/tick_clock.h"
#include "hostkit/window_layout.h"
#include "number1.h"
#include "timer1.h"
#include "virtual_key.h"

namespace pelmiro {
namespace {

// A held key repeats as a release and a press at the same moment; the X11 platform does
// not always mark the press as a repeat when its connection is busy.
constexpr quint64 RepeatGapMs = 10;
constexpr Qt::WindowStates GrownStates = Qt::WindowFullScreen | Qt::WindowMaximized;
constexpr QSize FixedSize(WindowLayout::ClientWidth, WindowLayout::ClientHeight);

// The box stays in the bottom-left corner, at its own size, however tall the window.
QRect BoxGeometry(int clientHeight) {
  const WindowLayout::Rect box = WindowLayout::BoxRectFor(clientHeight);
  return {box.left, box.top, box.width, box.height};
}

Button ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return Button::Left;
    case Qt::MiddleButton:
      return Button::Middle;
    case Qt::RightButton:
      return Button::Right;
    default:
      return Button::Other;
  }
}

}  // namespace

Form1::Form1()
    : show_(PixelLayout::Argb32, TickClock),
      surface_(show_.Canvas()),
      timer1_(new Timer1(this)),
      number1_(new Number1(this)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Pelmiro"));
  setFixedSize(FixedSize);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/16.xpm"));
  icon.addFile(QStringLiteral(":/icons/32.xpm"));
  setWindowIcon(icon);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // a resting pointer hides in full screen; any move shows it
  show_.Fit(width(), height(), devicePixelRatioF());
  number1_->setGeometry(BoxGeometry(show_.Area().Height()));
  number1_->installEventFilter(this);
  connect(number1_, &Number1::Notify, this, &Form1::ApplyDotSize);
  connect(timer1_, &QTimer::timeout, this, &Form1::Tick);

  show_.Start();
  setFocus(Qt::OtherFocusReason);  // keys launch rockets from the start, not edit the box
  show();
  timer1_->start();
}

void Form1::ApplyDotSize() {
  show_.ApplyDotSize([this] { return number1_->value(); },
                     [this](double value) { number1_->setValue(value); });
}

void Form1::HoldFixedSize(bool fixed) {
  if (fixed) {
    setFixedSize(FixedSize);
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
}

void Form1::UpdatePointer() {
  if (const std::optional<bool> hide = pointer_.Update(TickClock(), isFullScreen())) {
    if (*hide) {
      setCursor(Qt::BlankCursor);
    } else {
      unsetCursor();
    }
  }
}

void Form1::Tick() {
  // The ratio follows the screen the window is on.
  show_.Fit(width(), height(), devicePixelRatioF());
  if (show_.Tick()) {
    update(surface_.Changed());  // an unchanged picture is already on screen
  }
  UpdatePointer();
}

bool Form1::Press(const QKeyEvent& event, KeysAt at) {
  const bool repeat = event.isAutoRepeat() ||
                      (f11ReleasedAt_ && event.timestamp() - *f11ReleasedAt_ <= RepeatGapMs);
  const Outcome outcome = OnKey(
      {VirtualKey(event), repeat, event.modifiers().testFlag(Qt::AltModifier)}, at, isFullScreen());
  CarryOut(outcome);
  return outcome.handled;
}

void Form1::CarryOut(const Outcome& outcome) {
  if (outcome.edit == Outcome::Edit::Commit) {
    number1_->Commit();
  } else if (outcome.edit == Outcome::Edit::Drop) {
    number1_->DropEdit();
  }
  show_.Launch(outcome.launch);
  if (outcome.screen == Outcome::Screen::Enter) {
    // The state change lifts the fixed size before the window system acts on it.
    pointer_.Moved(TickClock());
    showFullScreen();
  } else if (outcome.screen == Outcome::Screen::Leave) {
    showNormal();  // the fixed size comes back with the state change
  }
  if (outcome.keys == Outcome::Keys::ToField) {
    setFocus(Qt::OtherFocusReason);
  } else if (outcome.keys == Outcome::Keys::ToBox) {
    number1_->setFocus(Qt::TabFocusReason);
  }
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), surface_.Image());
}

void Form1::keyPressEvent(QKeyEvent* event) {
  // Keys the box has no use for reach the window too; they count as the box's.
  if (!Press(*event, number1_->hasFocus() ? KeysAt::Box : KeysAt::Field)) {
    QWidget::keyPressEvent(event);
  }
}

void Form1::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    f11ReleasedAt_ = event->timestamp();
  }
  QWidget::keyReleaseEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == number1_ && event->type() == QEvent::KeyPress) {
    return Press(*static_cast<QKeyEvent*>(event), KeysAt::Box);
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::mousePressEvent(QMouseEvent* event) {
  const Outcome outcome = OnButton(ButtonOf(event->button()), false);
  CarryOut(outcome);
  if (!outcome.handled) {
    QWidget::mousePressEvent(event);
  }
}

void Form1::mouseDoubleClickEvent(QMouseEvent* event) {
  CarryOut(OnButton(ButtonOf(event->button()), true));
  event->accept();
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
  pointer_.Moved(TickClock());
  UpdatePointer();
  QWidget::mouseMoveEvent(event);
}

void Form1::resizeEvent(QResizeEvent* event) {
  show_.Fit(width(), height(), devicePixelRatioF());
  number1_->setGeometry(BoxGeometry(show_.Area().Height()));
  QWidget::resizeEvent(event);
}

void Form1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    // Full screen and maximise, the program's or the window manager's, let the window
    // grow; anything else holds it at the normal size again, which also puts it back
    // at its fixed size after either.
    HoldFixedSize(!(windowState() & GrownStates));
    UpdatePointer();
  }
  QWidget::changeEvent(event);
}

void Form1::focusInEvent(QFocusEvent* event) {
  Form1Accessible::FieldFocused(this);  // the keys launch rockets again
  QWidget::focusInEvent(event);
}

}  // namespace pelmiro
