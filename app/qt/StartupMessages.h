#pragma once

#include <QList>
#include <QString>

// What Qt says while the application object is being built, held back until
// it is known whether the program starts.
//
// Qt tries the platform plugins it is given in turn ("wayland;xcb" in a
// Wayland session). When a later one starts, what the failed ones said is
// noise: a Wayland session without qt6-wayland would hear on every start that
// the Wayland plugin is missing, though the program runs fine under Xwayland.
// When none starts, every cause goes into the one line the program prints.
namespace StartupMessages {

struct Message
{
    QString category;
    QString text;
};

// Holds Qt's messages from now on; a fatal one ends the program with exit
// code 1 and one line on standard error, FailureLine's.
void Hold(const QString &title);

// Stops holding, and passes on what was said after the platform started.
void Release();

// The messages that do not belong to a platform plugin that failed to start.
QList<Message> AfterPlatformStarted(const QList<Message> &held);

// The line for a start that failed: every cause Qt gave, by platform, and
// the remedy.
QString FailureLine(const QString &title, const QList<Message> &held, const QString &fatal);

} // namespace StartupMessages
