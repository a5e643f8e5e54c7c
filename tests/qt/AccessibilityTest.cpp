// What assistive technology gets from the calculator: roles, names,
// descriptions, relations and events, read through Qt's accessibility
// interfaces as its AT-SPI bridge reads them. scripts/a11y-check shows what
// Orca makes of them.

#include "Announcer.h"
#include "FormFixture.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TForm1.h"

#include <QAccessible>
#include <QtTest>

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace {

// The accessibility events sent while a test runs, in their order.
std::vector<std::pair<QObject *, QAccessible::Event>> events;

void Record(QAccessibleEvent *event)
{
    events.emplace_back(event->object(), event->type());
}

int Count(QObject *object, QAccessible::Event type)
{
    return static_cast<int>(std::count(events.begin(), events.end(), std::make_pair(object, type)));
}

QAccessibleInterface *Interface(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class AccessibilityTest : public FormFixture
{
    Q_OBJECT

private:
    // Presses 計算 as a keyboard user does: the focus on it, then Enter.
    void PressCalculate()
    {
        form->Button1->setFocus();
        QTest::keyClick(form->Button1, Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(&Record);
        QAccessible::setActive(true);
        QTRY_VERIFY(QAccessible::isActive());
    }

    void mainWindowIsAWindow();
    void fieldsSayWhatTheyHold_data();
    void fieldsSayWhatTheyHold();
    void fieldTextIsReadWhole_data();
    void fieldTextIsReadWhole();
    void fieldsCanBeEditedThroughTheirInterface();
    void boxesAreAlerts_data();
    void boxesAreAlerts();
    void calculateAnnouncesThePayments();
    void calculateWithAnErrorAnnouncesNothing();
};

void AccessibilityTest::mainWindowIsAWindow()
{
    // AT-SPI calls a window "frame"; a plain widget would be a "filler".
    QCOMPARE(Interface(form.get())->role(), QAccessible::Window);
    QCOMPARE(Interface(form.get())->text(QAccessible::Name), form->windowTitle());
}

void AccessibilityTest::fieldsSayWhatTheyHold_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("Edit1") << "Edit1"
                           << "１位の点数";
    QTest::newRow("Edit2") << "Edit2"
                           << "２位の点数";
    QTest::newRow("Edit3") << "Edit3"
                           << "３位の点数";
    QTest::newRow("Edit4") << "Edit4"
                           << "４位の点数";
    QTest::newRow("Edit5") << "Edit5"
                           << "サシウマ ３位が２位に払うZeny";
    QTest::newRow("Edit6") << "Edit6"
                           << "サシウマ ４位が１位に払うZeny";
    QTest::newRow("Edit9") << "Edit9"
                           << "レート １０００点あたりのZeny";
    QTest::newRow("Edit7") << "Edit7"
                           << "支払い ４位が１位に払うZeny";
    QTest::newRow("Edit8") << "Edit8"
                           << "支払い ３位が２位に払うZeny";
}

void AccessibilityTest::fieldsSayWhatTheyHold()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    QAccessibleInterface *edit = Interface(Edit(field));
    QCOMPARE(edit->role(), QAccessible::EditableText);
    QCOMPARE(edit->text(QAccessible::Name), name);
    // Orca speaks the first label a field is related to in place of its
    // name: no label of the field may stand in for the whole name. The group
    // box around it may, as Orca passes over a label that contains the field.
    for (const auto &[label, relation] : edit->relations(QAccessible::Label))
        QVERIFY2(qobject_cast<QWidget *>(label->object())->isAncestorOf(Edit(field)),
                 qPrintable(label->text(QAccessible::Name)));
}

void AccessibilityTest::fieldTextIsReadWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit") << "0";
    QTest::newRow("rate") << "1000";
    QTest::newRow("payment text") << " 31,000z";
    QTest::newRow("typing mistake") << "12a";
    QTest::newRow("wider than the field") << "１２３４５６７８９０１２";
}

void AccessibilityTest::fieldTextIsReadWhole()
{
    // Orca reads a field run by run of its text attributes; a run that does
    // not reach the end loses the last character ("1000" spoken as "100").
    QFETCH(QString, text);
    QLineEdit *edit = Edit("Edit9");
    edit->setText(text);
    QAccessibleTextInterface *iface = Interface(edit)->textInterface();
    QVERIFY(iface);
    QCOMPARE(iface->characterCount(), text.size());
    for (int offset = 0; offset < text.size(); ++offset) {
        int start = -1, end = -1;
        iface->attributes(offset, &start, &end);
        QVERIFY2(start <= offset && offset < end, qPrintable(QString::number(offset)));
        QCOMPARE(iface->text(start, end), text);
    }
    int start = -1, end = -1;
    QCOMPARE(iface->textAtOffset(text.size(), QAccessible::LineBoundary, &start, &end), text);
    QCOMPARE(Interface(edit)->text(QAccessible::Value), text);

    // Where each character stands, as a screen magnifier or Orca's mouse
    // review asks, and back; a text wider than the field is scrolled.
    edit->repaint(); // where Qt scrolls the field to show its cursor
    const QRect field(edit->mapToGlobal(QPoint(0, 0)), edit->size());
    for (int offset = 0; offset < text.size(); ++offset) {
        const QRect character = iface->characterRect(offset);
        const QPoint inside(character.left() + character.width() / 4, character.center().y());
        if (!field.contains(inside))
            continue; // scrolled out of sight
        QCOMPARE(iface->offsetAtPoint(inside), offset);
    }
    const QRect last = iface->characterRect(text.size() - 1);
    QVERIFY(field.contains(last.center()));
}

void AccessibilityTest::fieldsCanBeEditedThroughTheirInterface()
{
    // Voice control and scripted checks write through the interface.
    QLineEdit *edit = Edit("Edit1");
    edit->setText("30000");
    QAccessibleEditableTextInterface *editable = Interface(edit)->editableTextInterface();
    QAccessibleTextInterface *text = Interface(edit)->textInterface();
    QVERIFY(editable);
    editable->replaceText(0, 5, "12a");
    QCOMPARE(edit->text(), "12a");
    editable->insertText(0, "-");
    editable->deleteText(3, 4);
    QCOMPARE(edit->text(), "-12");
    edit->undo();
    QCOMPARE(edit->text(), "-12a");

    text->setSelection(0, 1, 3);
    QCOMPARE(edit->selectedText(), "12");
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    QCOMPARE(std::make_pair(start, end), std::make_pair(1, 3));
    QCOMPARE(text->selectionCount(), 1);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    QVERIFY(Interface(edit)->state().editable);

    edit->setReadOnly(true);
    editable->replaceText(0, 4, "0");
    QCOMPARE(edit->text(), "-12a");
    QVERIFY(Interface(edit)->state().readOnly);
}

void AccessibilityTest::boxesAreAlerts_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("iconName");
    QTest::newRow("error box") << QStringList{"12a", "0", "0", "0", "0", "0", "1000"} << "エラー";
    QTest::newRow("notice") << QStringList{"200000", "0", "0", "0", "0", "0", "1000"} << QString();
}

void AccessibilityTest::boxesAreAlerts()
{
    // Orca reads the text of an alert when it opens, as a label that names
    // nothing else; of a dialog only a text of three words or more, and
    // "'12a' は整数ではありません." has two.
    QFETCH(QStringList, inputs);
    QFETCH(QString, iconName);
    SetInputs(inputs);
    ModalBoxes boxes;
    QAccessible::Role role = QAccessible::NoRole;
    QString message, seenIconName;
    boxes.inspect = [&](TMessageBox *box) {
        role = Interface(box)->role();
        QAccessibleInterface *label = Interface(box->findChild<QLabel *>("Message"));
        QVERIFY(label->relations().isEmpty());
        message = label->text(QAccessible::Name);
        if (auto *icon = box->findChild<QLabel *>("Icon")) {
            QCOMPARE(Interface(icon)->role(), QAccessible::Graphic);
            seenIconName = Interface(icon)->text(QAccessible::Name);
        }
    };
    PressCalculate();
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QCOMPARE(role, QAccessible::AlertMessage);
    QCOMPARE(message, boxes.seen.front().shownText);
    QCOMPARE(seenIconName, iconName);
}

void AccessibilityTest::calculateAnnouncesThePayments()
{
    // Orca reads a notification that appears; the payment fields, which do
    // not have the focus, change unheard.
    SetInputs({"40000", "30000", "20000", "10000", "500", "1000", "1000"});
    events.clear();
    PressCalculate();
    QCOMPARE(QApplication::focusWidget(), form->Button1);
    auto *announcer = form->findChild<Announcer *>();
    QVERIFY(announcer);
    QCOMPARE(Interface(announcer)->role(), QAccessible::Notification);
    QCOMPARE(Interface(announcer)->text(QAccessible::Name),
             "支払い: ４位から１位へ 31,000z、３位から２位へ 10,500z");
    QCOMPARE(Count(announcer, QAccessible::ObjectShow), 1);
    QVERIFY(announcer->size().isEmpty());

    // The same payments again are news all the same.
    PressCalculate();
    QCOMPARE(Count(announcer, QAccessible::ObjectShow), 2);

    // After a notice, once the box has closed and the window is active again.
    SetInputs({"200000", "0", "0", "0", "0", "0", "1000"});
    ModalBoxes boxes;
    events.clear();
    PressCalculate();
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QTRY_COMPARE(Count(announcer, QAccessible::ObjectShow), 1);
    QVERIFY(form->isActiveWindow());
    QCOMPARE(Interface(announcer)->text(QAccessible::Name),
             "支払い: ４位から１位へ 200,000z、３位から２位へ 0z");
    QCOMPARE(QApplication::focusWidget(), form->Button1);
}

void AccessibilityTest::calculateWithAnErrorAnnouncesNothing()
{
    // The error box speaks for itself; nothing is announced behind it.
    SetInputs({"40000", "30000", "20000", "10000", "500", "1000", "12a"});
    ModalBoxes boxes;
    PressCalculate();
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QVERIFY(!form->findChild<Announcer *>());
}

RILO_GUI_TEST_MAIN(AccessibilityTest)

#include "AccessibilityTest.moc"
