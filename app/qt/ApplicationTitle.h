#pragma once

#include <QString>

// The application title from the program file's path: the file name without
// its folder, cut at its first ".", lower-cased from the second character on.
// "/usr/bin/rilo_mj" gives "rilo_mj", "RILO_MJ.EXE" gives "Rilo_mj".
QString ApplicationTitle(const QString &programFile);
