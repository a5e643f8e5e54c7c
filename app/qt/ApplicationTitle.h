#pragma once

#include <QString>

// The application title from the program file's path: the file name without
// its folder, cut at its first ".", lower-cased from the second character on.
// "/usr/bin/rilo_mj" gives "rilo_mj", "RILO_MJ.EXE" gives "Rilo_mj".
QString ApplicationTitle(const QString &programFile);

// The program file as it was started: the path in argv[0], a symbolic link
// not followed, so that a link with another name gives another title. The
// file the system reports for the process when argv[0] is empty.
QString ProgramFile(int argc, char **argv);
