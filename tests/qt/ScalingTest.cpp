#include "FormFixture.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "TForm1.h" // and with it the window description, Ui::TFORM1

#include <QLineEdit>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QtTest>

#include <cmath>

// The window on a screen of any resolution. CTest runs this at 96 dpi, with
// Qt's own scaling at 2, and with Qt's scaling off at 144 and 192 dpi.
class ScalingTest : public FormFixture
{
    Q_OBJECT

private:
    // The character height that 9 points come to at the screen's resolution.
    int ExpectedTextHeight() const { return qRound(form->screen()->logicalDotsPerInch() * 9 / 72); }
    static int Scaled(int value, int height) { return int(std::lround(value * height / 12.0)); }

private slots:
    void layoutFollowsTheFont();
    void everyTextFitsItsPlace();
    void placeIsInScreenPixels();
    void iconsAreDrawnForTheScale();
};

void ScalingTest::layoutFollowsTheFont()
{
    const int height = ExpectedTextHeight();
    QCOMPARE(form->TextHeight(), height);
    // CTest says which resolution each run is for, so that a setting that
    // did not take cannot pass for 96 dpi.
    if (qEnvironmentVariableIsSet("RILO_TEXT_HEIGHT"))
        QCOMPARE(height, qEnvironmentVariableIntValue("RILO_TEXT_HEIGHT"));

    // The window description as given, unscaled.
    QWidget design;
    Ui::TFORM1 ui;
    ui.setupUi(&design);
    const auto scaled = [height](const QRect &r) {
        return QRect(Scaled(r.x(), height), Scaled(r.y(), height), Scaled(r.width(), height),
                     Scaled(r.height(), height));
    };
    QCOMPARE(form->size(), QSize(Scaled(325, height), Scaled(308, height)));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    for (auto *given : design.findChildren<QWidget *>()) {
        auto *widget = form->findChild<QWidget *>(given->objectName());
        QVERIFY2(widget, qPrintable(given->objectName()));
        if (qobject_cast<QLabel *>(widget)) // sized to their text
            QCOMPARE(widget->pos(), scaled(given->geometry()).topLeft());
        else
            QCOMPARE(widget->geometry(), scaled(given->geometry()));
    }
}

// What the issue saw at 144 dpi: labels ran into fields, "Clear" was cut and
// the rate read "000".
void ScalingTest::everyTextFitsItsPlace()
{
    for (auto *label : form->findChildren<QLabel *>()) {
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        if (label->buddy() && label->buddy()->parentWidget() == label->parentWidget())
            QVERIFY2(!label->geometry().intersects(label->buddy()->geometry()),
                     qPrintable(label->objectName()));
    }
    for (auto *button : {form->Button1, form->Button2})
        QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(button->text()) + 8,
                 qPrintable(button->text()));
    for (auto *group : form->findChildren<QGroupBox *>())
        QVERIFY(group->width() >= group->fontMetrics().horizontalAdvance(group->title()) + 16);

    // The widest text each field holds in normal use.
    const QList<QPair<QLineEdit *, QString>> fields = {{form->Edit1, "-45000"},
                                                       {form->Edit6, "10000"},
                                                       {form->Edit9, "1000"},
                                                       {form->Edit7, " 1,234,567z"}};
    for (const auto &[edit, text] : fields) {
        // As QLineEdit describes its frame to the style.
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        option.state |= QStyle::State_Sunken;
        const QRect contents =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        // QLineEdit keeps 2 pixels free on either side of its text.
        QVERIFY2(edit->fontMetrics().horizontalAdvance(text) <= contents.width() - 4,
                 qPrintable(edit->objectName()));
    }
}

void ScalingTest::placeIsInScreenPixels()
{
    // "Left" and "Top" are never scaled. Under Qt's scaling they come to the
    // nearest point in Qt's coordinates (the exact pixel on X11 is checked
    // on a real display).
    const qreal ratio = form->screen()->devicePixelRatio();
    QCOMPARE(form->pos(), QPoint(qRound(192 / ratio), qRound(107 / ratio)));
}

void ScalingTest::iconsAreDrawnForTheScale()
{
    const qreal ratio = form->screen()->devicePixelRatio();
    // The window icon: 32, 64 and 128 pixels, each enlarged pixel by pixel.
    const QIcon icon = QApplication::windowIcon();
    for (int size : {32, 64, 128})
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
                 qPrintable(QString::number(size)));
    const QImage small = icon.pixmap(QSize(32, 32), 1.0).toImage();
    const QImage large = icon.pixmap(QSize(32, 32), 2.0).toImage();
    QCOMPARE(large.size(), QSize(64, 64));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            QCOMPARE(large.pixel(2 * x + 1, 2 * y + 1), small.pixel(x, y));

    // The stop icon of the error box: as many pixels as the screen has for it.
    ModalBoxes boxes;
    QPixmap stop;
    boxes.inspect = [&](TMessageBox *box) {
        stop = box->findChild<QLabel *>(QStringLiteral("Icon"))->pixmap();
    };
    App().RunCommand([] { throw std::runtime_error("x"); });
    QCOMPARE(boxes.seen.size(), 1u);
    // Its size follows the text: 32 at 96 dpi, 64 at 192 dpi with Qt's
    // scaling off.
    const int size = qRound(32 * form->screen()->logicalDotsPerInch() / 96);
    QCOMPARE(stop.devicePixelRatio(), ratio);
    QCOMPARE(stop.size(), QSize(size, size) * ratio);
}

RILO_GUI_TEST_MAIN(ScalingTest)

#include "ScalingTest.moc"
