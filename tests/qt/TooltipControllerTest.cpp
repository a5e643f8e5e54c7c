#include "TooltipController.h"
#include "FormFixture.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TApplication.h"
#include "TForm1.h"

#include <QtTest>

#include <memory>

// The controller's decisions, driven by synthetic events; its timers are
// checked for their delays and fired by hand, so nothing waits on the clock.
class TooltipControllerTest : public FormFixture
{
    Q_OBJECT

private:
    TooltipController &Tips() { return App().Tooltips(); }

    static void Send(QWidget *widget, QEvent::Type type)
    {
        if (type == QEvent::Enter) {
            QEnterEvent event(QPointF(5, 5), widget->mapTo(widget->window(), QPointF(5, 5)),
                              widget->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(widget, &event);
        } else if (type == QEvent::MouseMove) {
            QMouseEvent event(QEvent::MouseMove, QPointF(6, 6), widget->mapToGlobal(QPointF(6, 6)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        } else {
            QEvent event(type);
            QApplication::sendEvent(widget, &event);
        }
    }
    // The pointer comes to rest on a button and the show delay passes.
    void RestOn(QWidget *button)
    {
        Send(button, QEvent::Enter);
        Send(button, QEvent::MouseMove);
        QVERIFY(Tips().ShowTimer().isActive());
        QCOMPARE(Tips().ShowTimer().interval(), 500);
        Tips().ShowDelayElapsed();
    }

private slots:
    void showsAfterRestAndHidesAfterDelay();
    void movingRestartsTheShowDelay();
    void switchesAtOnceBetweenButtons();
    void cancels_data();
    void cancels();
    void noTooltipOnFieldsAndLabels();
    void qtOwnTooltipIsSuppressed();
    void pointerMoves_data();
    void pointerMoves();
};

void TooltipControllerTest::showsAfterRestAndHidesAfterDelay()
{
    RestOn(form->Button1);
    QCOMPARE(Tips().Shown(), form->Button1);
    QVERIFY(Tips().Tip()->isVisible());
    QCOMPARE(Tips().Tip()->text(), QStringLiteral("支払いZenyを計算します"));
    QVERIFY(Tips().HideTimer().isActive());
    QCOMPARE(Tips().HideTimer().interval(), 2500);

    Tips().HideDelayElapsed();
    QCOMPARE(Tips().Shown(), nullptr);
    QVERIFY(!Tips().Tip() || !Tips().Tip()->isVisible());
    // It does not come back while the pointer stays on the button.
    Send(form->Button1, QEvent::MouseMove);
    QVERIFY(!Tips().ShowTimer().isActive());
    // Leaving and coming back starts over.
    Send(form->Button1, QEvent::Leave);
    Send(form->Button1, QEvent::Enter);
    QVERIFY(Tips().ShowTimer().isActive());
}

void TooltipControllerTest::movingRestartsTheShowDelay()
{
    Send(form->Button2, QEvent::Enter);
    QVERIFY(Tips().ShowTimer().isActive());
    const int before = Tips().ShowTimer().remainingTime();
    QTest::qWait(30);
    Send(form->Button2, QEvent::MouseMove);
    QVERIFY(Tips().ShowTimer().remainingTime() > before - 30);
    QCOMPARE(Tips().Shown(), nullptr);
}

void TooltipControllerTest::switchesAtOnceBetweenButtons()
{
    RestOn(form->Button1);
    Send(form->Button1, QEvent::Leave);
    Send(form->Button2, QEvent::Enter);
    QCOMPARE(Tips().Shown(), form->Button2);
    QCOMPARE(Tips().Tip()->text(), QStringLiteral("サシウマ・レートの設定以外をクリアします"));
    QVERIFY(Tips().HideTimer().isActive());

    // Without a shown tooltip, the other button waits the show delay.
    Tips().HideDelayElapsed();
    Send(form->Button2, QEvent::Leave);
    Send(form->Button1, QEvent::Enter);
    QCOMPARE(Tips().Shown(), nullptr);
    QVERIFY(Tips().ShowTimer().isActive());
}

void TooltipControllerTest::cancels_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("key press") << 0;
    QTest::newRow("click") << 1;
    QTest::newRow("leaving the button") << 2;
    QTest::newRow("entering a field") << 3;
    QTest::newRow("activation change") << 4;
    QTest::newRow("leaving the window") << 5;
}

void TooltipControllerTest::cancels()
{
    QFETCH(int, how);
    for (bool whileShown : {false, true}) {
        Send(form->Button1, QEvent::Enter);
        if (whileShown)
            Tips().ShowDelayElapsed();
        switch (how) {
        case 0:
            QTest::keyClick(form->Edit1, Qt::Key_A);
            break;
        case 1: {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                              form->Button1->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(form->Button1, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-5, -5),
                                form->Button1->mapToGlobal(QPointF(-5, -5)), Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(form->Button1, &release);
            break;
        }
        case 2:
            Send(form->Button1, QEvent::Leave);
            break;
        case 3:
            Send(form->Button1, QEvent::Leave);
            Send(form->Edit7, QEvent::Enter);
            break;
        case 4: {
            QApplicationStateChangeEvent event(Qt::ApplicationInactive);
            QApplication::sendEvent(qApp, &event);
            break;
        }
        default:
            Send(form->Button1, QEvent::Leave);
            Send(form.get(), QEvent::Leave);
        }
        QCOMPARE(Tips().Shown(), nullptr);
        QVERIFY(!Tips().ShowTimer().isActive());
        QVERIFY(!Tips().HideTimer().isActive());
        QVERIFY(!Tips().Tip() || !Tips().Tip()->isVisible());
        // After a cancel, moving onto the other button waits again. (Leaving
        // the button alone may still be the way to the other one.)
        if (how != 2) {
            Send(form->Button1, QEvent::Leave);
            Send(form->Button2, QEvent::Enter);
            QCOMPARE(Tips().Shown(), nullptr);
            Send(form->Button2, QEvent::Leave);
        }
        Send(form.get(), QEvent::Leave);
    }
}

void TooltipControllerTest::noTooltipOnFieldsAndLabels()
{
    for (QWidget *widget :
         std::initializer_list<QWidget *>{form->Edit1, form->Label1, form->GroupBox1, form.get()}) {
        Send(widget, QEvent::Enter);
        Send(widget, QEvent::MouseMove);
        QVERIFY(!Tips().ShowTimer().isActive());
        Send(widget, QEvent::Leave);
    }
}

void TooltipControllerTest::qtOwnTooltipIsSuppressed()
{
    QHelpEvent event(QEvent::ToolTip, QPoint(5, 5), form->Button1->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(form->Button1, &event);
    QVERIFY(!Tips().Tip() || !Tips().Tip()->isVisible());
}

void TooltipControllerTest::pointerMoves_data()
{
    // Where the pointer goes from a shown tooltip of 計算, how long it stays
    // there, and whether 計算's tooltip then shows at once on the way back.
    QTest::addColumn<QString>("via");
    QTest::addColumn<int>("stayMs");
    QTest::addColumn<bool>("backAtOnce");
    QTest::newRow("rest on the bare window") << "bare" << 1000 << false;
    QTest::newRow("short rest on the bare window")
        << "bare" << TooltipController::kCrossingMs + 150 << false;
    QTest::newRow("rest on a field") << "Edit7" << 100 << false;
    QTest::newRow("straight over the other button") << "Button2" << 0 << true;
}

// Real pointer moves through the window, delivered as the display server
// delivers them: Qt works out which widgets the pointer leaves and enters.
void TooltipControllerTest::pointerMoves()
{
    QFETCH(QString, via);
    QFETCH(int, stayMs);
    QFETCH(bool, backAtOnce);
    QWindow *window = form->windowHandle();
    const auto at = [&](QWidget *widget) {
        return widget->mapTo(form.get(), widget->rect().center());
    };
    // The strip of bare window between the two buttons, level with them.
    const QPoint bare((form->Button1->geometry().right() + form->Button2->geometry().left()) / 2,
                      form->Button1->geometry().center().y());
    QVERIFY(form->childAt(bare) == nullptr);

    // The pointer comes into the window, as the display server reports it,
    // and moves on to 計算.
    const QPoint entry(form->Button1->geometry().left() - 3, bare.y());
    QEnterEvent enter(entry, entry, window->mapToGlobal(entry));
    QApplication::sendEvent(window, &enter);
    QTest::mouseMove(window, entry);
    QTest::mouseMove(window, at(form->Button1));
    QTRY_COMPARE_WITH_TIMEOUT(Tips().Shown(), form->Button1, 2000);

    // Off the button and straight on, in the steps a pointer makes.
    QTest::mouseMove(window, bare);
    QCOMPARE(Tips().Shown(), nullptr);
    const QPoint stop = via == "bare" ? bare : at(form->findChild<QWidget *>(via));
    QTest::mouseMove(window, stop);
    if (via == "Button2")
        QCOMPARE(Tips().Shown(), form->Button2); // the switch, at once
    QTest::qWait(stayMs);

    QTest::mouseMove(window, bare);
    QTest::mouseMove(window, at(form->Button1));
    if (backAtOnce) {
        QCOMPARE(Tips().Shown(), form->Button1);
    } else {
        QCOMPARE(Tips().Shown(), nullptr);
        QVERIFY(Tips().ShowTimer().isActive());
        QTRY_COMPARE_WITH_TIMEOUT(Tips().Shown(), form->Button1, 2000);
    }
    QTest::mouseMove(window, entry);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window, &leave);
}

RILO_GUI_TEST_MAIN(TooltipControllerTest)

#include "TooltipControllerTest.moc"
