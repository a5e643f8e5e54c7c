#pragma once

#include <QObject>

class QSocketNotifier;

// Quits the application, without a question, when the desktop ends the
// session: SIGTERM or SIGHUP. The signal handler only writes to a pipe; the
// quit happens on the user-interface thread.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

private:
    void OnSignal();

    QSocketNotifier *notifier_ = nullptr;
};
