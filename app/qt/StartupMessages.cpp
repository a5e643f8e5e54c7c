#include "StartupMessages.h"

#include <QLoggingCategory>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace StartupMessages {

namespace {

QtMessageHandler previousHandler = nullptr;
QList<Message> held;
QString heldTitle;

// Qt's own report that a platform plugin failed: "Could not find the Qt
// platform plugin "wayland" in """ or "Could not load ... even though it was
// found."
QString FailedPlugin(const Message &message)
{
    static const QRegularExpression failed(
        QStringLiteral(R"re(^Could not (find|load) the Qt platform plugin "([^"]*)")re"));
    if (message.category != QLatin1String("qt.qpa.plugin"))
        return {};
    return failed.match(message.text).captured(2);
}

void Handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtDebugMsg)
        return;
    if (type != QtFatalMsg) {
        held.append({QString::fromLatin1(context.category ? context.category : ""), text});
        return;
    }
    std::fprintf(stderr, "%s\n", qUtf8Printable(FailureLine(heldTitle, held, text)));
    std::_Exit(1);
}

} // namespace

void Hold(const QString &title)
{
    heldTitle = title;
    previousHandler = qInstallMessageHandler(Handler);
}

void Release()
{
    qInstallMessageHandler(previousHandler);
    for (const Message &message : AfterPlatformStarted(std::exchange(held, {}))) {
        const QByteArray category = message.category.toLatin1();
        const QLoggingCategory logging(category.isEmpty() ? "default" : category.constData());
        qCWarning(logging).noquote() << message.text;
    }
}

QList<Message> AfterPlatformStarted(const QList<Message> &messages)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < messages.size(); ++i)
        if (!FailedPlugin(messages[i]).isEmpty())
            start = i + 1;
    return messages.mid(start);
}

QString FailureLine(const QString &title, const QList<Message> &messages, const QString &fatal)
{
    // Each failed plugin with what was said while it was tried.
    QStringList causes;
    QStringList said;
    bool waylandMissing = false;
    bool waylandFailed = false;
    for (const Message &message : messages) {
        const QString plugin = FailedPlugin(message);
        if (plugin.isEmpty()) {
            said << message.text.simplified();
            continue;
        }
        const bool missing = message.text.startsWith(QLatin1String("Could not find"));
        if (plugin.startsWith(QLatin1String("wayland"))) {
            waylandMissing = waylandMissing || missing;
            waylandFailed = waylandFailed || !missing;
        }
        if (said.isEmpty())
            said << (missing ? QStringLiteral("the Qt platform plugin is not installed")
                             : QStringLiteral("the Qt platform plugin could not be loaded"));
        causes << plugin + QStringLiteral(": ") + said.join(QStringLiteral(", "));
        said.clear();
    }
    causes << said;
    if (causes.isEmpty())
        causes << fatal.section(QLatin1Char('\n'), 0, 0).simplified();
    QString line = title + QStringLiteral(": cannot start: ") + causes.join(QStringLiteral("; "));
    if (waylandMissing)
        line += QStringLiteral(" (install qt6-wayland, or run under X11 with QT_QPA_PLATFORM=xcb)");
    else if (waylandFailed)
        line += QStringLiteral(" (is the Wayland compositor running? Or run under X11 with "
                               "QT_QPA_PLATFORM=xcb)");
    return line;
}

} // namespace StartupMessages
