#include "FormFixture.h"
#include "GuiTestMain.h"
#include "ModalBoxes.h"
#include "ShowNotice.h"

#include <QScreen>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

// The window and its boxes on an X server with a window manager (openbox on
// Xvfb, tests/qt/on-xvfb): what the window manager is told and where it puts
// things, in the screen's own pixels. CTest runs this at scale 1 and under
// Qt's scaling at 2.
class DisplayTest : public FormFixture
{
    Q_OBJECT

private:
    template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

    static xcb_connection_t *Connection()
    {
        return qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    }
    static xcb_atom_t Atom(const char *name)
    {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(Connection(),
                                  xcb_intern_atom(Connection(), 0, uint16_t(strlen(name)), name),
                                  nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    static std::vector<uint32_t> Words(xcb_window_t window, const char *name)
    {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(Connection(),
                                   xcb_get_property(Connection(), 0, window, Atom(name),
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                                   nullptr),
            &std::free);
        if (!reply || reply->format != 32)
            return {};
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        return {data, data + xcb_get_property_value_length(reply.get()) / 4};
    }
    // The window manager's frame around a window, in screen pixels.
    static QRect Frame(QWidget *widget)
    {
        xcb_window_t window = xcb_window_t(widget->winId());
        for (;;) {
            Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(Connection(), xcb_query_tree(Connection(), window), nullptr),
                &std::free);
            if (!tree || tree->parent == tree->root)
                break;
            window = tree->parent;
        }
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(Connection(), xcb_get_geometry(Connection(), window), nullptr),
            &std::free);
        const int border = geometry->border_width;
        return QRect(geometry->x, geometry->y, geometry->width + 2 * border,
                     geometry->height + 2 * border);
    }
    static bool Framed(QWidget *widget) { return Frame(widget).size() != widget->size() * Ratio(); }
    static qreal Ratio() { return qApp->primaryScreen()->devicePixelRatio(); }

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }
    void minimiseAllowedWithOnlyTheCloseButton();
    void opensAtLeftTopInScreenPixels();
    void boxesAreCentredByTheirFrame_data();
    void boxesAreCentredByTheirFrame();
};

void DisplayTest::minimiseAllowedWithOnlyTheCloseButton()
{
    const std::vector<uint32_t> hints = Words(xcb_window_t(form->winId()), "_MOTIF_WM_HINTS");
    QCOMPARE(hints.size(), 5u);
    enum : uint32_t
    {
        Functions = 1,
        Decorations = 2
    };
    enum : uint32_t
    {
        All = 1,
        Resize = 2,
        Move = 4,
        Minimize = 8,
        Maximize = 16,
        Close = 32
    };
    enum : uint32_t
    {
        Title = 8,
        Menu = 16,
        MinimizeButton = 32,
        MaximizeButton = 64
    };
    QVERIFY(hints[0] & Functions);
    QCOMPARE(hints[1] & (All | Move | Minimize | Maximize | Close), Move | Minimize | Close);
    QVERIFY(hints[0] & Decorations);
    QVERIFY(hints[2] & Title);
    QCOMPARE(hints[2] & (MinimizeButton | MaximizeButton), 0u);

    // And the window manager takes it so: it offers to minimise the window
    // and does so when asked.
    const std::vector<uint32_t> actions =
        Words(xcb_window_t(form->winId()), "_NET_WM_ALLOWED_ACTIONS");
    QVERIFY(std::count(actions.begin(), actions.end(), Atom("_NET_WM_ACTION_MINIMIZE")) == 1);
    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());
    QTRY_VERIFY(Words(xcb_window_t(form->winId()), "WM_STATE").at(0) == 3); // IconicState
    form->showNormal();
    QTRY_VERIFY(!form->isMinimized());
}

void DisplayTest::opensAtLeftTopInScreenPixels()
{
    QTRY_VERIFY(Framed(form.get()));
    QCOMPARE(Frame(form.get()).topLeft(), QPoint(192, 107));
    // The client area keeps its size, scaled once by Qt where Qt scales.
    QCOMPARE(form->size() * Ratio(), QSize(325, 308) * Ratio());
}

void DisplayTest::boxesAreCentredByTheirFrame_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("notice") << QString::fromUtf8("負けてる\n\n  (´・ω・`)\n");
    QTest::newRow("3000 full-width") << QString(3000, QChar(u'負'));
    QTest::newRow("long word") << QString(5000, QLatin1Char('9'));
}

void DisplayTest::boxesAreCentredByTheirFrame()
{
    QFETCH(QString, text);
    QTRY_VERIFY(Framed(form.get()));
    ModalBoxes boxes;
    QRect frame;
    boxes.inspect = [&](TMessageBox *box) {
        QTRY_VERIFY(Framed(box));
        QTest::qWait(100); // any second move has been made
        frame = Frame(box);
    };
    ShowNotice(text);
    QCOMPARE(boxes.seen.size(), 1u);
    const QScreen *screen = form->screen();
    const QRect area(screen->availableGeometry().topLeft() * Ratio(),
                     screen->availableGeometry().size() * Ratio());
    QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                  .arg(frame.x())
                                                  .arg(frame.y())
                                                  .arg(frame.width())
                                                  .arg(frame.height())));
    QVERIFY(qAbs(frame.center().x() - area.center().x()) <= Ratio());
    QVERIFY2(qAbs(frame.center().y() - area.center().y()) <= Ratio(),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())));
}

RILO_GUI_TEST_MAIN(DisplayTest)

#include "DisplayTest.moc"
