#include "Announcer.h"

#include <QAccessible>
#include <QEvent>
#include <QTimer>

Announcer::Announcer(QWidget *window) : QWidget(window)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
}

void Announcer::Announce(QWidget *window, const QString &message)
{
    // Without assistive technology listening there is no one to tell.
    if (!window || !QAccessible::isActive())
        return;
    auto *announcer = window->findChild<Announcer *>(QString(), Qt::FindDirectChildrenOnly);
    if (!announcer)
        announcer = new Announcer(window);
    announcer->hide();
    announcer->setAccessibleName(message);
    // Appearing is what a screen reader hears.
    if (window->isActiveWindow())
        announcer->show();
    else
        window->installEventFilter(announcer);
}

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        watched->removeEventFilter(this);
        // After the focus has come back, which Orca speaks interrupting
        // whatever it was saying.
        QTimer::singleShot(0, this, &QWidget::show);
    }
    return false;
}
