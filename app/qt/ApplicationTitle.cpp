#include "ApplicationTitle.h"

#include <QFile>

QString ApplicationTitle(const QString &programFile)
{
    QString name = programFile.mid(programFile.lastIndexOf(QLatin1Char('/')) + 1);
    name.truncate(name.indexOf(QLatin1Char('.')) < 0 ? name.size()
                                                     : name.indexOf(QLatin1Char('.')));
    if (name.isEmpty())
        return name;
    // The first character stays as it is, whether upper or lower case.
    const qsizetype first = name.front().isHighSurrogate() && name.size() > 1 ? 2 : 1;
    return name.left(first) + name.mid(first).toLower();
}

QString ProgramFile(int argc, char **argv)
{
    if (argc > 0 && argv[0] && argv[0][0] != '\0')
        return QString::fromLocal8Bit(argv[0]);
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}
