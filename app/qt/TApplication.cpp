#include "TApplication.h"

#include "ApplicationTitle.h"
#include "Exception.h"
#include "SessionEnd.h"
#include "TMessageBox.h"
#include "TooltipController.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace {

// The icon is compiled in from its text form: no image plugin to load at start.
#include "MAINICON.xpm"

// Qt ends the process with a fatal message when it cannot start at all, most
// often because there is no display. Until the application object stands, its
// messages are held back, and a fatal one becomes one clear line on standard
// error and exit code 1.
QtMessageHandler previousHandler = nullptr;
QStringList heldMessages;
QString programName;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (type != QtFatalMsg) {
        heldMessages << message;
        return;
    }
    // The first message usually names the cause ("could not connect to
    // display"); the fatal one only says that the platform failed.
    const QString cause =
        heldMessages.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : heldMessages.front();
    std::fprintf(stderr, "%s: cannot start: %s\n", qUtf8Printable(programName),
                 qUtf8Printable(cause.simplified()));
    (void)context;
    std::_Exit(1);
}

int &HoldStartupMessages(int &argc, char **argv)
{
    programName = ApplicationTitle(QString::fromLocal8Bit(argc > 0 ? argv[0] : ""));
    previousHandler = qInstallMessageHandler(StartupMessageHandler);
    return argc;
}

void ReleaseStartupMessages()
{
    qInstallMessageHandler(previousHandler);
    for (const QString &message : std::exchange(heldMessages, {}))
        qWarning().noquote() << message;
}

// The icon in its drawn size and enlarged pixel by pixel to 64 and 128, so
// that the pixel art stays sharp on a screen drawn at 2 or 4 times.
QIcon ApplicationIcon()
{
    const QImage image = QPixmap(MAINICON).toImage();
    QIcon icon(QPixmap::fromImage(image));
    for (int factor : {2, 4})
        icon.addPixmap(QPixmap::fromImage(
            image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    return icon;
}

QString ClassName(const std::exception &error)
{
    int status = 0;
    const char *mangled = typeid(error).name();
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
}

QString Message(const std::exception &error)
{
    if (const auto *exception = dynamic_cast<const Exception *>(&error))
        return QString::fromStdString(exception->Message());
    return QString::fromLocal8Bit(error.what());
}

} // namespace

TApplication::TApplication(int &argc, char **argv)
    : QApplication(HoldStartupMessages(argc, argv), argv),
      tooltips_(std::make_unique<TooltipController>()), sessionEnd_(std::make_unique<SessionEnd>())
{
    ReleaseStartupMessages();

    // The application name is also the window class the desktop groups the
    // window under, matching rilo_mj.desktop.
    setApplicationName(ApplicationTitle(applicationFilePath()));
    setDesktopFileName(QStringLiteral("rilo_mj"));
    setWindowIcon(ApplicationIcon());

    // The windows are drawn for MS PGothic; IPA's P Gothic has the same metrics.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("Droid Sans Japanese")});

    // The windows are laid out to the pixel; Fusion is the style they are laid
    // out for, whatever the desktop's own style.
    setStyle(QStringLiteral("Fusion"));

    installEventFilter(tooltips_.get());
}

TApplication::~TApplication()
{
    forms_.clear();
}

int TApplication::Run()
{
    if (!forms_.empty())
        forms_.front()->show();
    return exec();
}

void TApplication::RunCommand(const std::function<void()> &command) noexcept
{
    try {
        command();
    } catch (const std::exception &error) {
        ShowException(Message(error));
    } catch (...) {
        ShowException(QStringLiteral("不明なエラーです"));
    }
}

QString TApplication::ErrorReportText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void TApplication::ShowException(const QString &message)
{
    TMessageBox::Show(Title(), ErrorReportText(message), TMessageBox::Icon::Stop);
}

QString TApplication::StartupFailureText(const std::exception &error, const QString &programFile)
{
    return QStringLiteral("モジュール '%1' で例外 %2 が発生しました。\n%3")
        .arg(programFile, ClassName(error), ErrorReportText(Message(error)));
}

void TApplication::ShowStartupFailure(const std::exception &error)
{
    TMessageBox::Show(QStringLiteral("アプリケーション エラー"),
                      StartupFailureText(error, applicationFilePath()), TMessageBox::Icon::Stop);
}
