#pragma once

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

// Shows the tooltips of the application's widgets with exact timing, in place
// of Qt's own: 500 ms after the pointer comes to rest on a widget with a
// tooltip, hidden 2500 ms after showing, and at once when the pointer moves
// straight from a shown tooltip onto another widget with one. A key press, a
// click, leaving the widget, entering one without a tooltip, staying on the
// bare window, or a change of the application's activation cancels the
// tooltip; after a hide or a cancel the pointer must come to rest again.
//
// A straight move from one button to the other crosses a strip of the bare
// window between them. The switch survives that crossing for kCrossingMs;
// a pointer that stays on the bare window longer has cancelled the tooltip.
//
// Installed as an event filter on the application.
class TooltipController : public QObject
{
    Q_OBJECT

public:
    static constexpr int kShowDelayMs = 500;
    static constexpr int kHideDelayMs = 2500;
    static constexpr int kCrossingMs = 250;

    explicit TooltipController(QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // The widget whose tooltip is showing, if any, and the tooltip itself.
    QWidget *Shown() const { return shown_; }
    const QLabel *Tip() const { return tip_.get(); }
    const QTimer &ShowTimer() const { return showTimer_; }
    const QTimer &HideTimer() const { return hideTimer_; }
    const QTimer &CrossingTimer() const { return crossingTimer_; }

    // What the timers do when they fire; public so that tests drive them
    // without waiting.
    void ShowDelayElapsed();
    void HideDelayElapsed();

private:
    void Enter(QWidget *widget);
    void Rest();
    void Show(QWidget *widget);
    void Hide();
    void Cancel();

    QPointer<QWidget> hovered_;    // widget with a tooltip under the pointer
    QPointer<QWidget> shown_;      // widget whose tooltip is showing
    bool switching_ = false;       // left a shown tooltip, not yet anywhere else
    bool hiddenOnHovered_ = false; // shown and hidden on hovered_ already
    QTimer showTimer_;
    QTimer hideTimer_;
    QTimer crossingTimer_; // runs while a switch crosses the bare window
    // Our own popup rather than QToolTip, which fades out instead of going at once.
    std::unique_ptr<QLabel> tip_;
};
