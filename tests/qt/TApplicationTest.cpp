#include "TApplication.h"
#include "ApplicationTitle.h"
#include "EConvertError.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TForm1.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>

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
};

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

RILO_GUI_TEST_MAIN(TApplicationTest)

#include "TApplicationTest.moc"
