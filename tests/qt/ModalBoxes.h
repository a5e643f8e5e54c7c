#pragma once

#include "TMessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <vector>

// Watches for the program's modal boxes while a test runs a command: each box
// that opens is recorded and then closed, so a command that shows a box
// returns, and a stray box never hangs the test.
class ModalBoxes
{
public:
    struct Seen
    {
        QString title;
        QString text;      // the whole text of the box
        QString shownText; // what the box displays
        bool hasIcon = false;
        QStringList buttons;
        QRect frame;
        QRect okButton; // in the box's coordinates
        int width = 0;
    };

    // How a box is closed once recorded; by default with a click on OK.
    std::function<void(TMessageBox *)> close = [](TMessageBox *box) {
        box->findChild<QPushButton *>(QStringLiteral("OK"))->click();
    };
    // Runs on each box before it is closed, inside its modal loop.
    std::function<void(TMessageBox *)> inspect;

    std::vector<Seen> seen;

    // Polls for a box every interval milliseconds; 0 polls on every pass of
    // the event loop.
    explicit ModalBoxes(int interval = 5)
    {
        timer_.setInterval(interval);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

private:
    void Poll()
    {
        auto *box = qobject_cast<TMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Seen s;
        s.title = box->windowTitle();
        s.text = box->Text();
        s.shownText = box->findChild<QLabel *>(QStringLiteral("Message"))->text();
        s.hasIcon = box->findChild<QLabel *>(QStringLiteral("Icon")) != nullptr;
        for (auto *button : box->findChildren<QPushButton *>())
            s.buttons << button->text();
        s.frame = box->frameGeometry();
        s.okButton = box->findChild<QPushButton *>(QStringLiteral("OK"))->geometry();
        s.width = box->width();
        seen.push_back(s);
        if (inspect)
            inspect(box);
        if (box->isVisible())
            close(box);
    }

    QTimer timer_;
};
