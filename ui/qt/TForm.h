#pragma once

#include <QWidget>

#include <functional>

class CommandHost;
class QAbstractButton;

// Base of the program's windows, built from a Designer description.
//
// It gives a window the behaviour a calculator form is expected to have: a
// layout scaled with its font, a fixed client size with a title bar that
// carries only the close button (minimising stays possible from the task bar),
// its place on the screen from the description's "Left" and "Top", labels
// sized to their text, the first field entered with its text selected, and
// Enter alone pressing the focused button.
class TForm : public QWidget
{
    Q_OBJECT

public:
    // The height of "0" in the window's font that the layout is given for.
    static constexpr int kDesignTextHeight = 12;

    explicit TForm(CommandHost &owner);

    // The height of "0" in the window's font as drawn on this screen.
    int TextHeight() const;

protected:
    // Call once the description has been loaded into the window.
    void Loaded();

    // Runs the handler when the button is clicked, under the owner's guard.
    template <class Form>
    void BindClick(QAbstractButton *button, void (Form::*handler)(QObject *Sender))
    {
        BindClick(button,
                  [this, button, handler] { (static_cast<Form *>(this)->*handler)(button); });
    }
    void BindClick(QAbstractButton *button, std::function<void()> handler);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Multiplies the position and size of every component, and the client
    // size, by numerator / denominator, rounding each.
    void ScaleLayout(int numerator, int denominator);

    CommandHost &owner_;
    bool shownBefore_ = false;
};
