#include "Accessibility.h"

#include "AccessibleLineEdit.h"
#include "Announcer.h"
#include "TForm.h"
#include "TMessageBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

QAccessibleInterface *Factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TForm"))
        return new QAccessibleWidget(static_cast<TForm *>(object), QAccessible::Window);
    // Orca reads the text of an alert whatever its length; of a dialog, only
    // a text of three words or more.
    if (className == QLatin1String("TMessageBox"))
        return new QAccessibleWidget(static_cast<TMessageBox *>(object), QAccessible::AlertMessage);
    if (className == QLatin1String("Announcer"))
        return new QAccessibleWidget(static_cast<Announcer *>(object), QAccessible::Notification);
    if (className == QLatin1String("QLineEdit"))
        return new AccessibleLineEdit(static_cast<QLineEdit *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = (QAccessible::installFactory(&Factory), true);
    (void)installed;
}
