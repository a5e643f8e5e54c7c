#include "ApplicationTitle.h"

#include <windows.h>

std::string ApplicationTitleFromPath(std::string path)
{
    // CharNextA steps over a double-byte character as a whole, in the ANSI
    // code page: its second byte may well be "\" or ".".
    char *name = path.data();
    for (char *p = path.data(); *p; p = CharNextA(p))
        if (*p == '\\')
            name = p + 1;
    char *end = name;
    while (*end && *end != '.')
        end = CharNextA(end);
    *end = '\0';
    // The first byte stays as it is, whether upper or lower case.
    if (*name)
        CharLowerA(name + 1);
    return name;
}

std::string ApplicationTitle()
{
    char path[256] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0'; // a longer path comes back cut
    OemToCharA(path, path);
    return ApplicationTitleFromPath(path);
}
