#pragma once

#include <QDialog>

class QLabel;

// The program's message box: a title, an optional icon, a block of text and
// one OK button centred beneath it. It is fixed in size and opens at the
// centre of the screen; Enter, Esc, the button and the close button all close
// it, and Ctrl+C copies the whole text.
//
// Lines wrap only where they are wider than half the screen, a word too long
// for a line anywhere in it. A text too long to fit on the screen is shown
// cut, marked with "…", but copied whole. The box's parent is the active
// window, or the program's window when none is active.
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

    // How much of a text the box lays out at most, and the mark where the
    // shown text is cut.
    static constexpr int kMaxShownCharacters = 2000;
    static constexpr char16_t kCutMark = u'…';
    // The stop icon's size, in Qt's coordinates at 96 dpi.
    static constexpr int kIconSize = 32;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Centre();

    QString text_;
};
