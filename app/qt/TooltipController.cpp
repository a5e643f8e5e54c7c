#include "TooltipController.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QToolTip>
#include <QWidget>

namespace {

QWidget *WithTooltip(QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && !widget->toolTip().isEmpty() ? widget : nullptr;
}

} // namespace

TooltipController::TooltipController(QObject *parent) : QObject(parent)
{
    for (QTimer *timer : {&showTimer_, &hideTimer_, &crossingTimer_}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    showTimer_.setInterval(kShowDelayMs);
    hideTimer_.setInterval(kHideDelayMs);
    crossingTimer_.setInterval(kCrossingMs);
    connect(&crossingTimer_, &QTimer::timeout, this, &TooltipController::Cancel);
    connect(&showTimer_, &QTimer::timeout, this, &TooltipController::ShowDelayElapsed);
    connect(&hideTimer_, &QTimer::timeout, this, &TooltipController::HideDelayElapsed);
}

bool TooltipController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        // Qt's own tooltips, with their own timing, are replaced by ours.
        return watched->isWidgetType();
    case QEvent::Enter:
        if (watched->isWidgetType())
            Enter(static_cast<QWidget *>(watched));
        break;
    case QEvent::Leave:
        if (watched == hovered_) {
            // Onto the bare window (Qt sends no Enter for a parent the pointer
            // never left) or straight onto another widget, whose Enter follows.
            switching_ = shown_ != nullptr;
            if (switching_)
                crossingTimer_.start();
            Hide();
            showTimer_.stop();
            hovered_ = nullptr;
        } else if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
            Cancel();
        }
        break;
    case QEvent::MouseMove:
        if (watched == hovered_)
            Rest();
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ApplicationStateChange:
        Cancel();
        break;
    default:
        break;
    }
    return false;
}

void TooltipController::Enter(QWidget *widget)
{
    QWidget *target = WithTooltip(widget);
    if (target && target == hovered_)
        return;
    if (!target) {
        Cancel();
        return;
    }
    hovered_ = target;
    hiddenOnHovered_ = false;
    if (switching_ || shown_) {
        switching_ = false;
        crossingTimer_.stop();
        Show(target);
    } else {
        Rest();
    }
}

void TooltipController::Rest()
{
    if (shown_ || hiddenOnHovered_)
        return;
    showTimer_.start();
}

void TooltipController::ShowDelayElapsed()
{
    showTimer_.stop();
    if (hovered_ && QApplication::activeWindow())
        Show(hovered_);
}

void TooltipController::HideDelayElapsed()
{
    Hide();
    hiddenOnHovered_ = true;
}

void TooltipController::Show(QWidget *widget)
{
    showTimer_.stop();
    shown_ = widget;
    if (!tip_) {
        tip_ = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
        tip_->setObjectName(QStringLiteral("Tooltip"));
        tip_->setTextFormat(Qt::PlainText);
        tip_->setFrameStyle(QFrame::Box | QFrame::Plain);
        tip_->setMargin(1);
    }
    tip_->setFont(QToolTip::font());
    tip_->setPalette(QToolTip::palette());
    tip_->setAutoFillBackground(true);
    tip_->setText(widget->toolTip());
    tip_->adjustSize();

    // Just below the pointer, kept on the screen.
    const QPoint cursor = QCursor::pos();
    QRect place(cursor + QPoint(2, 16), tip_->size());
    if (const QScreen *screen = QGuiApplication::screenAt(cursor)) {
        const QRect area = screen->availableGeometry();
        if (place.right() > area.right())
            place.moveRight(area.right());
        if (place.bottom() > area.bottom())
            place.moveBottom(cursor.y() - 4);
    }
    tip_->move(place.topLeft());
    tip_->show();
    hideTimer_.start();
}

void TooltipController::Hide()
{
    hideTimer_.stop();
    shown_ = nullptr;
    if (tip_)
        tip_->hide();
}

void TooltipController::Cancel()
{
    showTimer_.stop();
    crossingTimer_.stop();
    switching_ = false;
    Hide();
}
