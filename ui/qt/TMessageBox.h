#pragma once

#include <QDialog>

class QLabel;

// The program's message box: a title, an optional icon, a block of text and
// one OK button centred beneath it. It is fixed in size and opens at the
// centre of the screen; Enter, Esc, the button and the close button all close
// it, and Ctrl+C copies the whole text.
//
// Lines wrap only where they are wider than half the screen. A text too long
// to fit on the screen is shown cut, but copied whole.
class TMessageBox : public QDialog
{
    Q_OBJECT

public:
    enum class Icon
    {
        None,
        Stop
    };

    TMessageBox(const QString &title, const QString &text, Icon icon, QWidget *parent = nullptr);

    QString Text() const { return text_; }

    // Shows the box and returns when the user has closed it.
    static void Show(const QString &title, const QString &text, Icon icon);

    // How much of a text the box shows at most.
    static constexpr int kMaxShownCharacters = 2000;
    static constexpr int kMaxShownLines = 40;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QString text_;
};
