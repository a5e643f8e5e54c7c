#pragma once

#include <string>

// The application title from the program file's path, in the ANSI code page:
// the name after the last "\" (a double-byte character whose second byte is
// "\" is no separator), cut at its first ".", lower-cased from its second byte
// on. "C:\Games\RILO_MJ.EXE" gives "Rilo_mj".
std::string ApplicationTitleFromPath(std::string path);

// The title of this program: its file's path as the system reports it in 256
// bytes, converted from the OEM to the ANSI code page, then as above.
std::string ApplicationTitle();
