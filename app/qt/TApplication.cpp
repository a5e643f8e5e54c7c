#include "TApplication.h"

#include "ApplicationTitle.h"
#include "Exception.h"
#include "SessionEnd.h"
#include "StartupMessages.h"
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

// The program file as started, the one source of the application title and
// of the name on the start-up line.
QString programFile;

// Qt ends the process with a fatal message when it cannot start at all, most
// often because there is no display. Until the application object stands, its
// messages are held back, and a fatal one becomes one clear line on standard
// error and exit code 1.
int &HoldStartupMessages(int &argc, char **argv)
{
    programFile = ProgramFile(argc, argv);
    StartupMessages::Hold(ApplicationTitle(programFile));
    return argc;
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

// The error's message, without copying it. Only the conversion error and the
// program's other errors are known to be UTF-8; the rest are in the locale's
// encoding, which on Debian is UTF-8 too.
std::string_view MessageView(const std::exception &error) noexcept
{
    if (const auto *exception = dynamic_cast<const Exception *>(&error))
        return exception->Message();
    return error.what();
}

// The longest message the error report copies. A conversion error quotes the
// whole field, and a field holds any amount of text; a longer message keeps
// its beginning and its end, where the conversion error says what is wrong.
constexpr std::size_t kMaxReportedBytes = 16 * 1024;
constexpr std::size_t kKeptEndBytes = 128;

// Moves a cut back onto the first byte of a UTF-8 character.
std::size_t CharacterStart(std::string_view text, std::size_t at) noexcept
{
    while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

QString BoundedMessage(std::string_view message)
{
    if (message.size() <= kMaxReportedBytes)
        return QString::fromUtf8(message.data(), qsizetype(message.size()));
    const std::string_view head =
        message.substr(0, CharacterStart(message, kMaxReportedBytes - kKeptEndBytes - sizeof("…")));
    const std::string_view tail =
        message.substr(CharacterStart(message, message.size() - kKeptEndBytes));
    return QString::fromUtf8(head.data(), qsizetype(head.size())) + TMessageBox::kCutMark +
           QString::fromUtf8(tail.data(), qsizetype(tail.size()));
}

QString Message(const std::exception &error)
{
    return BoundedMessage(MessageView(error));
}

} // namespace

TApplication::TApplication(int &argc, char **argv)
    : QApplication(HoldStartupMessages(argc, argv), argv),
      tooltips_(std::make_unique<TooltipController>()), sessionEnd_(std::make_unique<SessionEnd>())
{
    StartupMessages::Release();

    // The application name is also the window class the desktop groups the
    // window under, matching rilo_mj.desktop.
    setApplicationName(ApplicationTitle(programFile));
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
        Report(MessageView(error));
    } catch (...) {
        Report(kUnknownError);
    }
}

void TApplication::Report(std::string_view message) noexcept
{
    // Nothing here may throw: RunCommand is the last frame before Qt's. The
    // message is cut before it is copied; should the box still fail (no
    // memory left), a fixed message that copies nothing of the error is tried,
    // and then the program goes on without a box.
    try {
        ShowException(BoundedMessage(message));
        return;
    } catch (...) {
    }
    try {
        ShowException(QString::fromUtf8(kUnknownError));
    } catch (...) {
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
