#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TApplication.h"
#include "TForm1.h"

#include <QtTest>

#include <malloc.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RILO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define RILO_ASAN 1
#endif
#ifdef RILO_ASAN
// From the sanitizer runtime's allocator interface (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Heap bytes in use now.
qint64 HeapInUse()
{
#ifdef RILO_ASAN
    return static_cast<qint64>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<qint64>(info.uordblks + info.hblkhd);
#endif
}

} // namespace

// Thousands of commands on one window, as a long evening of games would give
// it: valid games with and without notices, typing mistakes, huge pastes and
// clears. Every box is closed as it opens.
class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tenThousandCommands();
};

void SoakTest::initTestCase()
{
    // The offscreen platform warns on every fixed-size box that it has no
    // window manager to pass size hints to; thousands of boxes would bury the
    // log in that one line.
    static const QtMessageHandler testLog = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("does not support propagateSizeHints")))
                testLog(type, context, message);
        });
}

void SoakTest::tenThousandCommands()
{
    auto &app = *static_cast<TApplication *>(qApp);
    TForm1 form(app);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    ModalBoxes boxes(0);

    const QString huge(1 << 20, QLatin1Char('7'));
    const QStringList fields = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit9"};
    auto set = [&](const QStringList &texts) {
        for (int i = 0; i < fields.size(); ++i)
            form.findChild<QLineEdit *>(fields[i])->setText(texts[i]);
    };

    struct Step
    {
        QStringList inputs; // empty: Clear
        int boxes;          // boxes the command opens
        QString edit7;      // Edit7 afterwards; "*" for unchanged
    };
    const QList<Step> steps = {
        {{"45000", "35000", "15000", "5000", "300", "500", "1000"}, 0, " 40,500z"},
        {{"200000", "0", "0", "0", "0", "0", "1000"}, 1, " 200,000z"},
        {{"0", "0", "0", "0", "0", "-5", "1000"}, 0, " -5z"},
        {{"2147483647", "0", "0", "-2147483648", "0", "0", "-2147483648"},
         0,
         " -9,223,372,034,707,292z"},
        {{}, 0, ""},
        {{"12a", "0", "0", "0", "0", "0", "1000"}, 1, "*"},
        {{"0x7FFFFFFF", "0", "0", "0", "0", "0", "$3E8"}, 1, " 2,147,483,647z"},
        {{"1", "", "0", "0", "0", "0", "1000"}, 1, " 1z"},
        {{"５", "0", "0", "0", "0", "0", "1000"}, 1, "*"},
        {{}, 0, ""},
    };

    const int commands = 10000;
    const int warmUp = 200;
    qint64 heapAtStart = 0;
    for (int i = 0; i < commands; ++i) {
        if (i == warmUp) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            heapAtStart = HeapInUse();
        }
        Step step = steps[i % steps.size()];
        if (i % 500 == 499) // now and then a megabyte pasted into a field
            step = {{"0", "0", "0", huge, "0", "0", "1000"}, 1, "*"};

        const QString before = form.Edit7->text();
        if (step.inputs.isEmpty()) {
            form.Button2->click();
        } else {
            set(step.inputs);
            form.Button1->click();
        }
        QCOMPARE(boxes.seen.size(), static_cast<std::size_t>(step.boxes));
        boxes.seen.clear();
        QCOMPARE(form.Edit7->text(), step.edit7 == "*" ? before : step.edit7);

        // The window still answers: queued work runs at once.
        bool answered = false;
        QMetaObject::invokeMethod(
            &form, [&] { answered = true; }, Qt::QueuedConnection);
        QCoreApplication::processEvents();
        QVERIFY(answered);
    }
    // A megabyte in a line edit takes tens of megabytes of layout while it
    // stands there; end, as the warm-up did, on ordinary texts.
    form.Button2->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 growth = HeapInUse() - heapAtStart;
    qInfo("heap in use: %lld bytes after warm-up, %+lld bytes after %d commands", heapAtStart,
          growth, commands);
    QVERIFY2(growth < 1024 * 1024, qPrintable(QString("heap grew by %1 bytes").arg(growth)));
}

RILO_GUI_TEST_MAIN(SoakTest)

#include "SoakTest.moc"
