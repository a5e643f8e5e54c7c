#include "TApplication.h"
#include "ApplicationTitle.h"
#include "EConvertError.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TForm1.h"

#include <QClipboard>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <sys/resource.h>

class TApplicationTest : public QObject
{
    Q_OBJECT

private:
    TApplication &App() { return *static_cast<TApplication *>(qApp); }

private slots:
    void title_data();
    void title();
    void identityOfThisProgram();
    void errorReportText_data();
    void errorReportText();
    void commandErrorsGoToTheErrorBox_data();
    void commandErrorsGoToTheErrorBox();
    void runEndsWhenTheWindowCloses();
    void startupFailure();
    void noDisplay();
    void sessionEnd_data();
    void sessionEnd();
    void titleThroughALink();
    void errorReportIsBounded();
    void errorReportWithinTightMemory();
    void startupGuard_data();
    void startupGuard();
    void platformFallbackIsSilent_data();
    void platformFallbackIsSilent();
    void cannotStartNamesEveryCause_data();
    void cannotStartNamesEveryCause();
};

namespace {

// This test program again, with one test function and the environment given.
struct Child
{
    QString err;
    QString out;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
};

Child Run(const QString &program, const QStringList &arguments,
          const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Child child;
    if (!process.waitForFinished(60000))
        return child;
    child.status = process.exitStatus();
    child.exitCode = process.exitCode();
    child.out = QString::fromUtf8(process.readAllStandardOutput());
    child.err = QString::fromUtf8(process.readAllStandardError());
    return child;
}

// A session of its own: the runtime folder every desktop session has.
QProcessEnvironment SessionEnvironment(const QTemporaryDir &runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    return env;
}

} // namespace

void TApplicationTest::title_data()
{
    QTest::addColumn<QString>("programFile");
    QTest::addColumn<QString>("title");
    QTest::newRow("installed") << "/usr/bin/rilo_mj"
                               << "rilo_mj";
    QTest::newRow("exe") << "rilo_mj.exe"
                         << "rilo_mj";
    QTest::newRow("upper case") << "/opt/RILO_MJ.EXE"
                                << "Rilo_mj";
    QTest::newRow("first dot cuts") << "Calc.Tool.exe"
                                    << "Calc";
    QTest::newRow("no extension") << "/home/u/MyCalc"
                                  << "Mycalc";
    QTest::newRow("lower first stays") << "rILO"
                                       << "rilo";
    QTest::newRow("dot in folder") << "/home/a.b/Rilo"
                                   << "Rilo";
    QTest::newRow("non-ASCII") << "/x/ÄÖÜ.bin"
                               << "Äöü";
    QTest::newRow("hidden file") << "/x/.hidden"
                                 << "";
}

void TApplicationTest::title()
{
    QFETCH(QString, programFile);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitle(programFile), title);
}

void TApplicationTest::identityOfThisProgram()
{
    // The title is also the application name, and so the window class.
    QCOMPARE(App().Title(), QStringLiteral("tapplication_tests"));
    QCOMPARE(QCoreApplication::applicationName(), App().Title());
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("rilo_mj"));
    // The icon: 32 x 32 and fully opaque.
    const QImage icon = QApplication::windowIcon().pixmap(32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(!icon.hasAlphaChannel());
}

void TApplicationTest::errorReportText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("double-byte end") << "'12a' は整数ではありません"
                                     << "'12a' は整数ではありません.";
    QTest::newRow("digit") << "code 7"
                           << "code 7.";
    QTest::newRow("letter") << "failed"
                            << "failed.";
    QTest::newRow("slash, just above the dot") << "a/"
                                               << "a/.";
    QTest::newRow("half-width katakana") << "ｴﾗｰ"
                                         << "ｴﾗｰ.";
    QTest::newRow("dot") << "done."
                         << "done.";
    QTest::newRow("bang") << "stop!"
                          << "stop!";
    QTest::newRow("paren") << "(x)"
                           << "(x)";
    QTest::newRow("quote") << "'x'"
                           << "'x'";
    QTest::newRow("comma") << "a,"
                           << "a,";
    QTest::newRow("minus") << "a-"
                           << "a-";
    QTest::newRow("blank") << "a "
                           << "a ";
    QTest::newRow("empty") << ""
                           << "";
}

void TApplicationTest::errorReportText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(TApplication::ErrorReportText(message), shown);
}

void TApplicationTest::commandErrorsGoToTheErrorBox_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("conversion error") << 0 << "'x' は整数ではありません.";
    QTest::newRow("other exception") << 1 << "out of range.";
    QTest::newRow("anything else") << 2 << "不明なエラーです.";
}

void TApplicationTest::commandErrorsGoToTheErrorBox()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    ModalBoxes boxes;
    bool after = false;
    App().RunCommand([&] {
        switch (kind) {
        case 0:
            throw EConvertError("x");
        case 1:
            throw std::out_of_range("out of range");
        default:
            throw 42;
        }
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen.front().title, App().Title());
    QCOMPARE(boxes.seen.front().text, text);
    QVERIFY(boxes.seen.front().hasIcon);
    QCOMPARE(boxes.seen.front().buttons, QStringList{"OK"});

    App().RunCommand([&] { after = true; }); // and the program goes on
    QVERIFY(after);
    QCOMPARE(boxes.seen.size(), 1u);
}

void TApplicationTest::runEndsWhenTheWindowCloses()
{
    QVERIFY(Form1 == nullptr);
    App().CreateForm(Form1);
    QVERIFY(Form1 != nullptr);
    QVERIFY(!Form1->isVisible()); // shown by Run, not by its construction
    bool shownWhileRunning = false;
    QTimer::singleShot(0, [&] {
        shownWhileRunning = Form1->isVisible();
        Form1->close();
    });
    QCOMPARE(App().Run(), 0);
    QVERIFY(shownWhileRunning);
}

void TApplicationTest::startupFailure()
{
    struct BrokenForm : QWidget
    {
        explicit BrokenForm(CommandHost &) { throw EConvertError("window description"); }
    };
    BrokenForm *form = nullptr;
    try {
        App().CreateForm(form);
        QFAIL("no error");
    } catch (const std::exception &error) {
        ModalBoxes boxes;
        App().ShowStartupFailure(error);
        QCOMPARE(boxes.seen.size(), 1u);
        QCOMPARE(boxes.seen.front().title, QStringLiteral("アプリケーション エラー"));
        const QString text = boxes.seen.front().text;
        QVERIFY2(text.contains("EConvertError"), qPrintable(text));
        QVERIFY2(text.contains(QCoreApplication::applicationFilePath()), qPrintable(text));
        QVERIFY2(text.contains("'window description' は整数ではありません."), qPrintable(text));
        QVERIFY(boxes.seen.front().hasIcon);
    }
    QVERIFY(form == nullptr);
}

// Without any display, the program says so in one line and exits with 1.
void TApplicationTest::noDisplay()
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(RILO_MJ_BINARY, {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.startsWith("rilo_mj: cannot start: "), qPrintable(err));
    QVERIFY2(err.count('\n') == 1 && err.endsWith('\n'), qPrintable(err));
}

void TApplicationTest::sessionEnd_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

// The desktop ends the session with a signal: the program quits, exit code 0.
void TApplicationTest::sessionEnd()
{
    QFETCH(int, signal);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(RILO_MJ_BINARY, {});
    QVERIFY(program.waitForStarted());
    // Wait until the program has taken the signal over, then send it.
    const QString status = QString("/proc/%1/status").arg(program.processId());
    const qulonglong bit = 1ull << (signal - 1);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QFile file(status);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            for (const QByteArray &line : file.readAll().split('\n'))
                if (line.startsWith("SigCgt:"))
                    return (line.mid(7).trimmed().toULongLong(nullptr, 16) & bit) != 0;
            return false;
        }(),
        30000);
    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

// The title and the name on the start-up line come from the program file as
// it was started: a link with another name gives that name to both.
void TApplicationTest::titleThroughALink()
{
    if (qEnvironmentVariable("RILO_TEST_CHILD") == QLatin1String("title")) {
        std::printf("title=%s\n", qUtf8Printable(App().Title()));
        return;
    }
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("tests") && QDir(dir.path()).mkpath("program"));
    const QString tests = dir.filePath("tests/Linked.Calc");
    const QString program = dir.filePath("program/Linked.Calc");
    QVERIFY(QFile::link(QCoreApplication::applicationFilePath(), tests));
    QVERIFY(QFile::link(RILO_MJ_BINARY, program));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RILO_TEST_CHILD", "title");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const Child titled = Run(tests, {"titleThroughALink"}, env);
    QCOMPARE(titled.exitCode, 0);
    QVERIFY2(titled.out.contains("title=Linked\n"), qPrintable(titled.out));

    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    const Child failed = Run(program, {}, env);
    QCOMPARE(failed.exitCode, 1);
    QVERIFY2(failed.err.startsWith("Linked: cannot start: "), qPrintable(failed.err));
}

// A conversion error quotes the whole field; the report copies a bounded part
// of it, its beginning and its end, with the cut marked.
void TApplicationTest::errorReportIsBounded()
{
    ModalBoxes boxes;
    QString copied;
    boxes.inspect = [&](TMessageBox *box) {
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->text();
    };
    const std::string field = "1" + std::string(1 << 20, '9') + "x";
    App().RunCommand([&] { throw EConvertError(field); });
    QCOMPARE(boxes.seen.size(), 1u);
    const QString text = boxes.seen.front().text;
    QVERIFY(text.size() <= 16 * 1024);
    QVERIFY(text.startsWith("'1999"));
    QVERIFY(text.endsWith("99x' は整数ではありません."));
    QCOMPARE(text.count(TMessageBox::kCutMark), 1);
    QCOMPARE(copied, text);
}

// With little memory left, an error that quotes a huge text is still reported
// and the program goes on: nothing in the report copies the whole text.
void TApplicationTest::errorReportWithinTightMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than any limit leaves");
#endif
    if (qEnvironmentVariable("RILO_TEST_CHILD") != QLatin1String("memory")) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("RILO_TEST_CHILD", "memory");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        const Child child =
            Run(QCoreApplication::applicationFilePath(), {"errorReportWithinTightMemory"}, env);
        QCOMPARE(child.status, QProcess::NormalExit);
        QVERIFY2(child.exitCode == 0, qPrintable(child.out + child.err));
        // The error itself, cut, rather than the fixed message of a report
        // that failed.
        QVERIFY2(child.out.contains("reported: '9999"), qPrintable(child.out));
        return;
    }
    // A 64 MiB field; its UTF-16 copy alone would take 128 MiB.
    const std::exception_ptr error =
        std::make_exception_ptr(EConvertError(std::string(64 << 20, '9')));
    ModalBoxes boxes;
    QFile status("/proc/self/status");
    QVERIFY(status.open(QIODevice::ReadOnly));
    qulonglong vmSizeKib = 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            vmSizeKib = line.mid(7).trimmed().split(' ').front().toULongLong();
    QVERIFY(vmSizeKib > 0);
    // 32 MiB more than now: plenty for a box, too little for a copy.
    const rlimit limit{(vmSizeKib + 32 * 1024) * 1024, RLIM_INFINITY};
    QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
    App().RunCommand([&] { std::rethrow_exception(error); });
    QCOMPARE(boxes.seen.size(), 1u);
    std::printf("reported: %s\n", qUtf8Printable(boxes.seen.front().text.left(16)));
}

void TApplicationTest::startupGuard_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("out"); // the box shown, "" for none
    QTest::addColumn<QString>("err"); // the start of the line on stderr, "" for none
    QTest::newRow("exception") << "exception"
                               << "window description."
                               << "";
    QTest::newRow("anything else") << "other"
                                   << "不明なエラーです."
                                   << "";
    QTest::newRow("no application") << "application"
                                    << ""
                                    << "startup_guard_probe: cannot start: no application";
}

// Whatever fails during start-up, the program reports it and exits with 1;
// nothing ends it through std::terminate.
void TApplicationTest::startupGuard()
{
    QFETCH(QString, how);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir runtime;
    QProcessEnvironment env = SessionEnvironment(runtime);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const Child child = Run(STARTUP_GUARD_PROBE, {how}, env);
    QCOMPARE(child.status, QProcess::NormalExit);
    QCOMPARE(child.exitCode, 1);
    if (out.isEmpty()) {
        QCOMPARE(child.out, QString());
    } else {
        QVERIFY2(child.out.startsWith("box: アプリケーション エラー\n"), qPrintable(child.out));
        QVERIFY2(child.out.contains(out), qPrintable(child.out));
    }
    if (!err.isEmpty())
        QVERIFY2(child.err.startsWith(err), qPrintable(child.err));
}

void TApplicationTest::platformFallbackIsSilent_data()
{
    QTest::addColumn<QString>("platforms");
    // The Wayland plugin missing, or present with no compositor to talk to.
    QTest::newRow("plugin missing") << "wayland-missing-here;offscreen";
    QTest::newRow("no compositor") << "wayland;offscreen";
}

// In a Wayland session Qt tries Wayland first, then X11. When the fallback
// starts, the program says nothing about the plugin that did not.
void TApplicationTest::platformFallbackIsSilent()
{
    QFETCH(QString, platforms);
    QTemporaryDir runtime;
    QProcessEnvironment env = SessionEnvironment(runtime);
    env.insert("QT_QPA_PLATFORM", platforms);
    env.insert("WAYLAND_DISPLAY", "rilo-no-compositor");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(RILO_MJ_BINARY, {});
    QVERIFY(program.waitForStarted());
    // Running once it has taken SIGTERM over (after the application object).
    const QString status = QString("/proc/%1/status").arg(program.processId());
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QFile file(status);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            for (const QByteArray &line : file.readAll().split('\n'))
                if (line.startsWith("SigCgt:"))
                    return (line.mid(7).trimmed().toULongLong(nullptr, 16) &
                            (1ull << (SIGTERM - 1))) != 0;
            return false;
        }(),
        30000);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
}

void TApplicationTest::cannotStartNamesEveryCause_data()
{
    QTest::addColumn<QString>("platforms");
    QTest::addColumn<QStringList>("says");
    QTest::newRow("Wayland plugin missing, no X server")
        << "wayland-missing-here;xcb"
        << QStringList{"wayland-missing-here: the Qt platform plugin is not installed",
                       "; xcb: could not connect to display",
                       "(install qt6-wayland, or run under X11 with QT_QPA_PLATFORM=xcb)"};
    QTest::newRow("no compositor, no X server")
        << "wayland;xcb"
        << QStringList{"wayland: ", "; xcb: could not connect to display",
                       "run under X11 with QT_QPA_PLATFORM=xcb)"};
}

// When no platform starts, one line names every cause Qt gave and the remedy.
void TApplicationTest::cannotStartNamesEveryCause()
{
    QFETCH(QString, platforms);
    QFETCH(QStringList, says);
    QTemporaryDir runtime;
    QProcessEnvironment env = SessionEnvironment(runtime);
    env.remove("DISPLAY");
    env.insert("WAYLAND_DISPLAY", "rilo-no-compositor");
    env.insert("QT_QPA_PLATFORM", platforms);
    const Child child = Run(RILO_MJ_BINARY, {}, env);
    QCOMPARE(child.status, QProcess::NormalExit);
    QCOMPARE(child.exitCode, 1);
    QVERIFY2(child.err.startsWith("rilo_mj: cannot start: "), qPrintable(child.err));
    QVERIFY2(child.err.count('\n') == 1 && child.err.endsWith('\n'), qPrintable(child.err));
    for (const QString &part : says)
        QVERIFY2(child.err.contains(part), qPrintable(child.err));
}

RILO_GUI_TEST_MAIN(TApplicationTest)

#include "TApplicationTest.moc"
