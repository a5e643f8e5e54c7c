#pragma once

#include "CommandHost.h"

#include <string>

// Shows the text in the program's message box, titled with the application
// title and without an icon, and returns when the user has closed it.
void ShowNotice(CommandHost &host, const std::wstring &text);
