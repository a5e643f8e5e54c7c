#pragma once

#include <QWidget>

// Says a message to a screen reader without moving the focus.
//
// Qt 6.4 has no announcements, Orca reads a changed text only in the field
// that has the focus, and a changed name or description reaches Orca 43 from
// Qt without its text. What Orca does read is a notification that appears:
// the announcer is an empty, sizeless notification in the window, named by the
// message and shown anew for each one.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *window);

    // Says the message through the window's announcer, once the window is
    // active: while a box stands in front of it, Orca would pass it over.
    static void Announce(QWidget *window, const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
