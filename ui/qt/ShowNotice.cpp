#include "ShowNotice.h"

#include "TMessageBox.h"

#include <QCoreApplication>

void ShowNotice(const QString &text)
{
    TMessageBox::Show(QCoreApplication::applicationName(), text, TMessageBox::Icon::None);
}
