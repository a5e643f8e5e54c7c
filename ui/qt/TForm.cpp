#include "TForm.h"

#include "CommandHost.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

TForm::TForm(CommandHost &owner) : owner_(owner)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void TForm::Loaded()
{
    setFixedSize(size());
    move(property("Left").toInt(), property("Top").toInt());
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
    // The window opens with the first stop of the tab sequence entered as if
    // by Tab: its text selected, so that typing replaces it. The window is not
    // active yet, so the line edit would not select it on its own.
    focusNextPrevChild(true);
    if (auto *edit = qobject_cast<QLineEdit *>(focusWidget()))
        edit->selectAll();
}
