#include "ShowNotice.h"

#include "TMessageBox.h"

void ShowNotice(CommandHost &host, const std::wstring &text)
{
    TMessageBox::Show(host, host.Title(), text);
}
