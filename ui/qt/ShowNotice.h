#pragma once

#include <QString>

// Shows a large-loss notice in a modal box titled with the application title,
// and returns when the user has closed it.
void ShowNotice(const QString &text);
