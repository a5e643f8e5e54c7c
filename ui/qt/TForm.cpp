#include "TForm.h"

#include "Accessibility.h"
#include "CommandHost.h"
#include "X11Window.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <cmath>

namespace {

int Scaled(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

} // namespace

TForm::TForm(CommandHost &owner) : owner_(owner)
{
    InstallAccessibleInterfaces();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

int TForm::TextHeight() const
{
    // The character height of the window's font in pixels: 12 for 9 points at
    // 96 dpi. (The cell of the substitute Gothic fonts is a little taller than
    // their character height, 13 pixels at 12; measuring the cell would scale
    // the 96-dpi layout by 13/12.)
    return QFontInfo(font()).pixelSize();
}

void TForm::ScaleLayout(int numerator, int denominator)
{
    // Every component of the description has a name; the parts Qt's widgets
    // make for themselves have none and follow their owner.
    for (auto *child : findChildren<QWidget *>()) {
        if (child->objectName().isEmpty() || child->isWindow())
            continue;
        const QRect r = child->geometry();
        child->setGeometry(
            Scaled(r.x(), numerator, denominator), Scaled(r.y(), numerator, denominator),
            Scaled(r.width(), numerator, denominator), Scaled(r.height(), numerator, denominator));
    }
    resize(Scaled(width(), numerator, denominator), Scaled(height(), numerator, denominator));
}

void TForm::Loaded()
{
    // The layout is given for a font 12 pixels high. A font that is drawn
    // larger, because the desktop asks for more dots per inch while Qt's own
    // scaling is off, scales the layout with it. Under Qt's scaling the font
    // stays 12 pixels in Qt's coordinates, and nothing is scaled twice.
    if (const int height = TextHeight(); height != kDesignTextHeight && height > 0)
        ScaleLayout(height, kDesignTextHeight);
    setFixedSize(size());
    // "Left" and "Top" are screen pixels. Under Qt's scaling they are not
    // Qt's coordinates: the nearest of those here, the exact pixel on X11 once
    // the window exists (showEvent).
    const QPoint place(property("Left").toInt(), property("Top").toInt());
    const qreal ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    move(qRound(place.x() / ratio), qRound(place.y() / ratio));
    // Labels size themselves to their text from where they stand, so that no
    // caption is cut when the font is a little wider than the one designed for.
    for (auto *label : findChildren<QLabel *>())
        label->adjustSize();
    for (auto *button : findChildren<QAbstractButton *>())
        button->installEventFilter(this);
}

void TForm::BindClick(QAbstractButton *button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this,
            [this, handler = std::move(handler)] { owner_.RunCommand(handler); });
}

bool TForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter alone presses the button that has the focus; with Shift, Ctrl or
    // Alt held it does nothing. Keypad Enter counts as Enter.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !key->isAutoRepeat())
                static_cast<QAbstractButton *>(watched)->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    // The window exists now and is not yet mapped.
    X11Window::AllowMinimize(this);
    if (screen() && screen()->devicePixelRatio() != 1.0)
        X11Window::PlaceOnScreen(this, {property("Left").toInt(), property("Top").toInt()});
    // The window opens with the first stop of the tab sequence entered as if
    // by Tab: its text selected, so that typing replaces it. The window is not
    // active yet, so the line edit would not select it on its own.
    focusNextPrevChild(true);
    if (auto *edit = qobject_cast<QLineEdit *>(focusWidget()))
        edit->selectAll();
}
