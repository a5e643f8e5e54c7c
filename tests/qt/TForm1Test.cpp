#include "TForm1.h"
#include "FormFixture.h"
#include "GuiTestMain.h"
#include "LargeLossNotice.h"
#include "ModalBoxes.h"
#include "ShowNotice.h"
#include "TApplication.h"

#include <QClipboard>
#include <QFontInfo>
#include <QScreen>
#include <QtTest>

#include <memory>

class TForm1Test : public FormFixture
{
    Q_OBJECT

private slots:
    void components_data();
    void components();
    void window();
    void startValues();
    void calculateAndClear();
    void conversionErrorAtEachField_data();
    void conversionErrorAtEachField();
    void clearAfterConversionError();
    void notices_data();
    void notices();
    void noticeClosesEveryWay_data();
    void noticeClosesEveryWay();
    void hugeTextErrorFitsOnScreen();
    void noInputWhileABoxIsOpen_data();
    void noInputWhileABoxIsOpen();
    void boxBelongsToTheWindowWhenNoneIsActive();
    void boxFitsTheScreen_data();
    void boxFitsTheScreen();
    void tabSequence();
    void selectionOnEntry();
    void enterAndEscape_data();
    void enterAndEscape();
};

void TForm1Test::components_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    auto row = [](const char *name, const char *cls, const char *parent, int x, int y, int w, int h,
                  const QString &caption) {
        QTest::newRow(name) << QString::fromLatin1(cls) << QString::fromLatin1(parent)
                            << QRect(x, y, w, h) << caption;
    };
    row("GroupBox1", "QGroupBox", "Form1", 16, 8, 137, 185, "点数");
    row("Label1", "QLabel", "GroupBox1", 16, 24, 20, 12, "１位");
    row("Label2", "QLabel", "GroupBox1", 16, 64, 20, 12, "２位");
    row("Label3", "QLabel", "GroupBox1", 16, 104, 20, 12, "３位");
    row("Label4", "QLabel", "GroupBox1", 16, 144, 20, 12, "４位");
    row("Edit1", "QLineEdit", "GroupBox1", 48, 24, 73, 20, "");
    row("Edit2", "QLineEdit", "GroupBox1", 48, 64, 73, 20, "");
    row("Edit3", "QLineEdit", "GroupBox1", 48, 104, 73, 20, "");
    row("Edit4", "QLineEdit", "GroupBox1", 48, 144, 73, 20, "");
    row("GroupBox2", "QGroupBox", "Form1", 16, 208, 241, 81, "サシウマ・レート");
    row("Label5", "QLabel", "GroupBox2", 16, 24, 52, 12, "３位→２位");
    row("Label6", "QLabel", "GroupBox2", 80, 24, 52, 12, "４位→１位");
    row("Label7", "QLabel", "GroupBox2", 152, 24, 44, 12, "１０００点");
    row("Label11", "QLabel", "GroupBox2", 200, 48, 25, 12, "Zeny");
    row("Edit5", "QLineEdit", "GroupBox2", 16, 40, 57, 20, "");
    row("Edit6", "QLineEdit", "GroupBox2", 80, 40, 57, 20, "");
    row("Edit9", "QLineEdit", "GroupBox2", 152, 40, 41, 20, "");
    row("GroupBox3", "QGroupBox", "Form1", 168, 56, 137, 137, "支払い");
    row("Label9", "QLabel", "GroupBox3", 16, 24, 52, 12, "４位→１位");
    row("Label10", "QLabel", "GroupBox3", 16, 80, 52, 12, "３位→２位");
    row("Edit7", "QLineEdit", "GroupBox3", 16, 40, 97, 20, "");
    row("Edit8", "QLineEdit", "GroupBox3", 16, 96, 97, 20, "");
    row("Button1", "QPushButton", "Form1", 168, 16, 75, 25, "計算");
    row("Button2", "QPushButton", "Form1", 256, 16, 43, 25, "Clear");
}

void TForm1Test::components()
{
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    auto *widget = form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);

    if (auto *label = qobject_cast<QLabel *>(widget)) {
        // Labels keep their place and size themselves to their caption.
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), geometry.topLeft());
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(caption));
        QVERIFY(label->geometry().right() < label->parentWidget()->width());
    } else {
        QCOMPARE(widget->geometry(), geometry);
    }
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(group->title(), caption);
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), caption);

    // The window's font everywhere, the payment fields in bold.
    const QFont font = widget->font();
    QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(QFontInfo(font).pixelSize(), 12);
    QCOMPARE(font.bold(), name == "Edit7" || name == "Edit8");

    // Only the buttons carry hints.
    QCOMPARE(widget->toolTip().isEmpty(), className != "QPushButton");
}

void TForm1Test::window()
{
    QCOMPARE(form->objectName(), QStringLiteral("Form1"));
    QCOMPARE(form->windowTitle(), QStringLiteral("雀荘Rilo店簡易計算機('A`)"));
    QCOMPARE(form->size(), QSize(325, 308));
    QCOMPARE(form->minimumSize(), QSize(325, 308));
    QCOMPARE(form->maximumSize(), QSize(325, 308));
    QCOMPARE(form->pos(), QPoint(192, 107));
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowContextHelpButtonHint)));
    QVERIFY(Form1 == nullptr); // only the application's CreateForm sets it
}

void TForm1Test::startValues()
{
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
        QCOMPARE(Edit(name)->text(), QStringLiteral("0"));
    QCOMPARE(Edit("Edit9")->text(), QStringLiteral("1000"));
    QCOMPARE(Edit("Edit7")->text(), QString());
    QCOMPARE(Edit("Edit8")->text(), QString());
    QCOMPARE(QApplication::focusWidget(), Edit("Edit1"));
    QCOMPARE(Edit("Edit1")->selectedText(), QStringLiteral("0"));
}

void TForm1Test::calculateAndClear()
{
    ModalBoxes boxes;
    form->Button1->click();
    QCOMPARE(Edit("Edit7")->text(), QStringLiteral(" 0z"));
    QCOMPARE(Edit("Edit8")->text(), QStringLiteral(" 0z"));

    SetInputs({"45000", "35000", "15000", "5000", "300", "500", "500"});
    Edit("Edit7")->setText("typed by hand");
    form->Button1->click();
    QCOMPARE(Edit("Edit7")->text(), QStringLiteral(" 20,500z"));
    QCOMPARE(Edit("Edit8")->text(), QStringLiteral(" 10,300z"));
    QCOMPARE(boxes.seen.size(), 0u);

    form->Button2->click();
    for (const char *name : {"Edit1", "Edit2", "Edit3", "Edit4"})
        QCOMPARE(Edit(name)->text(), QStringLiteral("0"));
    QCOMPARE(Edit("Edit5")->text(), QStringLiteral("300"));
    QCOMPARE(Edit("Edit6")->text(), QStringLiteral("500"));
    QCOMPARE(Edit("Edit9")->text(), QStringLiteral("500"));
    QCOMPARE(Edit("Edit7")->text(), QString());
    QCOMPARE(Edit("Edit8")->text(), QString());
}

void TForm1Test::conversionErrorAtEachField_data()
{
    QTest::addColumn<bool>("edit7Written");
    for (const char *name : {"Edit1", "Edit4", "Edit9", "Edit6"})
        QTest::newRow(name) << false;
    for (const char *name : {"Edit2", "Edit3", "Edit5"})
        QTest::newRow(name) << true;
}

void TForm1Test::conversionErrorAtEachField()
{
    QFETCH(bool, edit7Written);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    SetInputs({"2000000", "35000", "15000", "0", "0", "0", "1000"});
    Edit("Edit7")->setText("old7");
    Edit("Edit8")->setText("old8");
    Edit(name)->setText("12a");
    Edit("Edit3")->setFocus(Qt::OtherFocusReason);

    ModalBoxes boxes;
    form->Button1->click();

    // One error box, and no notice though payment 1 would be in the millions.
    QCOMPARE(boxes.seen.size(), 1u);
    const auto &box = boxes.seen.front();
    QCOMPARE(box.title, App().Title());
    QCOMPARE(box.text, QStringLiteral("'12a' は整数ではありません."));
    QVERIFY(box.hasIcon);
    QCOMPARE(box.buttons, QStringList{"OK"});

    QCOMPARE(Edit("Edit7")->text(), edit7Written ? QStringLiteral(" 2,000,000z") : "old7");
    QCOMPARE(Edit("Edit8")->text(), QStringLiteral("old8"));
    QCOMPARE(Edit(name)->text(), QStringLiteral("12a"));
    // Back to the window, usable, with the focus where it was.
    QVERIFY(form->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), Edit("Edit3"));
}

void TForm1Test::clearAfterConversionError()
{
    ModalBoxes boxes;
    Edit("Edit2")->setText("abc");
    Edit("Edit6")->setText(" ");
    form->Button1->click();
    form->Button2->click();
    form->Button1->click(); // the side bet is still bad: the same error again
    QCOMPARE(boxes.seen.size(), 2u);
    QCOMPARE(boxes.seen[0].text, boxes.seen[1].text);
    QCOMPARE(boxes.seen[1].text, QStringLiteral("' ' は整数ではありません."));

    Edit("Edit6")->setText("0");
    form->Button1->click();
    QCOMPARE(boxes.seen.size(), 2u);
    QCOMPARE(Edit("Edit7")->text(), QStringLiteral(" 0z"));
}

void TForm1Test::notices_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<qint64>("payment1");
    // Edit1..Edit6, Edit9
    QTest::newRow("none at 100000")
        << QStringList{"100000", "0", "0", "0", "0", "0", "1000"} << qint64(0);
    QTest::newRow("thousands") << QStringList{"100001", "0", "0", "0", "0", "0", "1000"}
                               << qint64(100001);
    QTest::newRow("millions") << QStringList{"0", "0", "0", "0", "0", "1000000", "1000"}
                              << qint64(1000000);
    QTest::newRow("reversed") << QStringList{"10000", "0", "0", "20000", "0", "0", "1000"}
                              << qint64(0);
    QTest::newRow("large payment 2 only")
        << QStringList{"0", "90000000", "0", "0", "0", "0", "1000"} << qint64(0);
}

void TForm1Test::notices()
{
    QFETCH(QStringList, inputs);
    QFETCH(qint64, payment1);
    SetInputs(inputs);
    ModalBoxes boxes;
    QString edit7DuringNotice;
    boxes.inspect = [&](TMessageBox *) {
        edit7DuringNotice = Edit("Edit7")->text();
    };
    form->Button1->click();

    if (payment1 == 0) {
        QCOMPARE(boxes.seen.size(), 0u);
        return;
    }
    QCOMPARE(boxes.seen.size(), 1u);
    const auto &box = boxes.seen.front();
    const QString expected =
        QString::fromStdString(ComposeLargeLossNotice(payment1)).replace("\r\n", "\n");
    QCOMPARE(box.title, App().Title());
    QCOMPARE(box.text, expected);
    // Shown whole, though a line wider than half this 800-pixel screen is
    // broken in two.
    QCOMPARE(QString(box.shownText).remove(u'\n'), QString(expected).remove(u'\n'));
    QVERIFY(!box.hasIcon);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QVERIFY(qAbs(box.okButton.center().x() - box.width / 2) <= 1);
    // The payments are written before the notice shows.
    QVERIFY(!edit7DuringNotice.isEmpty());
    // Centred on the screen.
    const QRect screen = form->screen()->geometry();
    QVERIFY(qAbs(box.frame.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(box.frame.center().y() - screen.center().y()) <= 1);
}

void TForm1Test::noticeClosesEveryWay_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Enter") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close button") << 2;
    QTest::newRow("click") << 3;
}

void TForm1Test::noticeClosesEveryWay()
{
    QFETCH(int, way);
    SetInputs({"200000", "0", "0", "0", "0", "0", "1000"});
    ModalBoxes boxes;
    QString copied;
    boxes.close = [&](TMessageBox *box) {
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->text();
        switch (way) {
        case 0:
            QTest::keyClick(box->focusWidget(), Qt::Key_Return);
            break;
        case 1:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case 2:
            box->close();
            break;
        default:
            QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("OK")), Qt::LeftButton);
        }
    };
    form->Button1->click(); // returns only once the box has closed
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(copied, boxes.seen.front().text);
    QVERIFY(!QApplication::activeModalWidget());
}

void TForm1Test::hugeTextErrorFitsOnScreen()
{
    const QString huge(1 << 20, QLatin1Char('9'));
    Edit("Edit1")->setText(huge);
    QCOMPARE(Edit("Edit1")->text().size(), huge.size()); // no length limit

    ModalBoxes boxes;
    QString copied;
    boxes.inspect = [&](TMessageBox *box) {
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->text();
    };
    form->Button1->click();
    QCOMPARE(boxes.seen.size(), 1u);
    const auto &box = boxes.seen.front();
    // The report quotes the beginning and the end of the field, the cut
    // marked, and Ctrl+C copies all of what the box holds.
    QVERIFY(box.text.startsWith("'9999") && box.text.endsWith("9' は整数ではありません."));
    QVERIFY(box.text.contains(TMessageBox::kCutMark));
    QCOMPARE(copied, box.text);
    QVERIFY(box.shownText.size() < 5000);
    QVERIFY(form->screen()->geometry().contains(box.frame));
}

void TForm1Test::noInputWhileABoxIsOpen_data()
{
    QTest::addColumn<QString>("score"); // Edit1: a large loss, or a typing mistake
    QTest::newRow("notice") << "200000";
    QTest::newRow("error box") << "12a";
}

// Clicks and keys reach the calculator window as the display server delivers
// them, through its QWindow; while a box is open they do nothing.
void TForm1Test::noInputWhileABoxIsOpen()
{
    QFETCH(QString, score);
    Edit("Edit1")->setText(score);
    Edit("Edit2")->setText("0");
    Edit("Edit2")->setFocus(Qt::OtherFocusReason);
    ModalBoxes boxes;
    QString edit7AtOpen;
    boxes.inspect = [&](TMessageBox *) {
        QWindow *window = form->windowHandle();
        const auto at = [&](QWidget *widget) {
            return widget->mapTo(form.get(), widget->rect().center());
        };
        edit7AtOpen = Edit("Edit7")->text();
        QTest::mouseClick(window, Qt::LeftButton, {}, at(form->Button2)); // Clear
        QTest::mouseClick(window, Qt::LeftButton, {}, at(form->Button1)); // Calculate
        QTest::mouseClick(window, Qt::LeftButton, {}, at(Edit("Edit4")));
        QTest::keyClick(window, Qt::Key_7);
        QTest::keyClick(window, Qt::Key_Tab);
        QTest::keyClick(window, Qt::Key_Return);
        QTest::qWait(50);
    };
    form->Button1->click();
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(Edit("Edit1")->text(), score);
    QCOMPARE(Edit("Edit2")->text(), QStringLiteral("0"));
    QCOMPARE(Edit("Edit4")->text(), QStringLiteral("0"));
    QCOMPARE(Edit("Edit7")->text(), edit7AtOpen);
    QTRY_COMPARE(QApplication::focusWidget(), Edit("Edit2"));

    // Once the box is closed the same input works again.
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {},
                      form->Button2->mapTo(form.get(), form->Button2->rect().center()));
    QCOMPARE(Edit("Edit1")->text(), QStringLiteral("0"));
}

// A compositor that has not activated the window yet leaves no active window:
// the box still belongs to the calculator window, modal to it.
void TForm1Test::boxBelongsToTheWindowWhenNoneIsActive()
{
    QApplication::setActiveWindow(nullptr);
    QCOMPARE(QApplication::activeWindow(), nullptr);
    ModalBoxes boxes;
    QWidget *parent = nullptr;
    boxes.inspect = [&](TMessageBox *box) {
        parent = box->parentWidget();
    };
    ShowNotice(QStringLiteral("notice"));
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(parent, form.get());
}

void TForm1Test::boxFitsTheScreen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wraps");
    QTest::addColumn<bool>("cut");
    const QString notice =
        QString::fromStdString(ComposeLargeLossNotice(123456)).replace("\r\n", "\n");
    QTest::newRow("thousands notice") << notice << false << false;
    QTest::newRow("short") << "'12a' は整数ではありません." << false << false;
    QTest::newRow("long line") << QString("負けてる ").repeated(100) << true << false;
    QTest::newRow("long word") << QString(1500, QLatin1Char('9')) << true << false;
    QTest::newRow("3000 full-width") << QString(3000, QChar(u'負')) << true << true;
    QTest::newRow("many lines") << QString("行\n").repeated(500) << false << true;
}

// On this 800 x 800 screen, every box fits with its OK button, whatever its
// text; what it cannot show is marked, and Ctrl+C still copies all of it.
void TForm1Test::boxFitsTheScreen()
{
    QFETCH(QString, text);
    QFETCH(bool, wraps);
    QFETCH(bool, cut);
    TMessageBox box("title", text, TMessageBox::Icon::Stop, form.get());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QRect screen = form->screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(800, 800));
    QVERIFY(screen.contains(box.frameGeometry()));
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("OK"));
    QVERIFY(screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size())));

    auto *label = box.findChild<QLabel *>(QStringLiteral("Message"));
    const QStringList lines = label->text().split(u'\n');
    for (const QString &line : lines)
        QVERIFY(label->fontMetrics().horizontalAdvance(line) <= screen.width() / 2);
    QCOMPARE(label->text().count(u'\n') > text.count(u'\n'), wraps);
    const QString whole = QString(text).remove(u'\n');
    const QString shown = QString(label->text()).remove(u'\n');
    if (cut) {
        QVERIFY(shown.endsWith(TMessageBox::kCutMark));
        QVERIFY(whole.startsWith(shown.chopped(1)));
    } else {
        QCOMPARE(shown, whole);
    }

    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void TForm1Test::tabSequence()
{
    const QStringList sequence = {"Edit1", "Edit2", "Edit3", "Edit4",   "Edit5",   "Edit6",
                                  "Edit9", "Edit7", "Edit8", "Button1", "Button2", "Edit1"};
    for (int i = 1; i < sequence.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), sequence[i]);
    }
    for (int i = sequence.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), sequence[i]);
    }
}

void TForm1Test::selectionOnEntry()
{
    Edit("Edit2")->setText("12345");
    QTest::keyClick(Edit("Edit1"), Qt::Key_Tab);
    QCOMPARE(Edit("Edit2")->selectedText(), QStringLiteral("12345"));

    // A click places the caret and selects nothing.
    Edit("Edit4")->setText("678");
    QTest::mouseClick(Edit("Edit4"), Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(QApplication::focusWidget(), Edit("Edit4"));
    QCOMPARE(Edit("Edit4")->selectedText(), QString());
}

void TForm1Test::enterAndEscape_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("ran"); // "", "calculate" or "clear"

    QTest::newRow("Enter on Button1") << "Button1" << int(Qt::Key_Return) << 0 << "calculate";
    QTest::newRow("keypad Enter on Button1")
        << "Button1" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "calculate";
    QTest::newRow("Enter on Button2") << "Button2" << int(Qt::Key_Return) << 0 << "clear";
    QTest::newRow("Shift+Enter on Button1")
        << "Button1" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl+Enter on Button2")
        << "Button2" << int(Qt::Key_Return) << int(Qt::ControlModifier) << "";
    QTest::newRow("Alt+Enter on Button1")
        << "Button1" << int(Qt::Key_Return) << int(Qt::AltModifier) << "";
    for (const char *edit : {"Edit1", "Edit5", "Edit9", "Edit7"})
        QTest::newRow(qPrintable(QString("Enter in %1").arg(edit)))
            << edit << int(Qt::Key_Return) << 0 << "";
    for (const char *target : {"Edit1", "Button1", "Button2"})
        QTest::newRow(qPrintable(QString("Esc on %1").arg(target)))
            << target << int(Qt::Key_Escape) << 0 << "";
}

void TForm1Test::enterAndEscape()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, ran);
    Edit("Edit1")->setText("5000");
    Edit("Edit7")->setText("old");
    auto *target = form->findChild<QWidget *>(focus);
    target->setFocus(Qt::OtherFocusReason);

    ModalBoxes boxes;
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const QString expected = ran == "calculate" ? " 5,000z" : ran == "clear" ? "" : "old";
    QCOMPARE(Edit("Edit7")->text(), expected);
    QCOMPARE(Edit("Edit1")->text(), ran == "clear" ? QStringLiteral("0") : "5000");
    QVERIFY(form->isVisible());
    QCOMPARE(boxes.seen.size(), 0u);
}

RILO_GUI_TEST_MAIN(TForm1Test)

#include "TForm1Test.moc"
