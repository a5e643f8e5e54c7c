#include "X11Window.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef RILO_HAVE_XCB
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#endif

namespace X11Window {

#ifdef RILO_HAVE_XCB
namespace {

xcb_connection_t *Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The layout of _MOTIF_WM_HINTS: five 32-bit words.
enum MotifWord
{
    Flags,
    Functions,
    Decorations,
    InputMode,
    Status,
    WordCount
};
constexpr std::uint32_t kHintsFunctions = 1u << 0;
constexpr std::uint32_t kFunctionAll = 1u << 0;
constexpr std::uint32_t kFunctionMinimize = 1u << 3;

} // namespace

bool Active()
{
    return Connection() != nullptr;
}

void AllowMinimize(QWidget *window)
{
    xcb_connection_t *connection = Connection();
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t hints = Atom(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE)
        return;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, id, hints, hints, 0, WordCount), nullptr),
        &std::free);
    std::array<std::uint32_t, WordCount> words{};
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) > 0) {
        const auto length = std::min<std::size_t>(
            WordCount, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4);
        std::memcpy(words.data(), xcb_get_property_value(reply.get()), length * 4);
    }
    // No functions listed means all of them: nothing to add.
    if (!(words[Flags] & kHintsFunctions))
        return;
    // With "all" set, the listed functions are the ones taken away.
    if (words[Functions] & kFunctionAll)
        words[Functions] &= ~kFunctionMinimize;
    else
        words[Functions] |= kFunctionMinimize;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, hints, hints, 32, WordCount,
                        words.data());
    xcb_flush(connection);
}

void PlaceOnScreen(QWidget *window, QPoint screenPixels)
{
    xcb_connection_t *connection = Connection();
    if (!connection)
        return;
    const std::uint32_t position[] = {static_cast<std::uint32_t>(screenPixels.x()),
                                      static_cast<std::uint32_t>(screenPixels.y())};
    xcb_configure_window(connection, static_cast<xcb_window_t>(window->winId()),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
    xcb_flush(connection);
}

QMargins FrameMargins(const QWidget *window)
{
    xcb_connection_t *connection = Connection();
    if (!connection || !window->internalWinId())
        return {};
    const auto client = static_cast<xcb_window_t>(window->internalWinId());
    // The frame is the client's ancestor just below the root.
    xcb_window_t frame = client;
    xcb_window_t root = XCB_WINDOW_NONE;
    for (;;) {
        const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, frame), nullptr),
            &std::free);
        if (!tree)
            return {};
        root = tree->root;
        if (tree->parent == root)
            break;
        frame = tree->parent;
    }
    if (frame == client)
        return {};
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> outer(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, frame), nullptr),
        &std::free);
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> inner(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, client), nullptr),
        &std::free);
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, client, root, 0, 0), nullptr),
        &std::free);
    if (!outer || !inner || !at)
        return {};
    const int left = at->dst_x - outer->x;
    const int top = at->dst_y - outer->y;
    const int right = outer->width + 2 * outer->border_width - left - inner->width;
    const int bottom = outer->height + 2 * outer->border_width - top - inner->height;
    const qreal ratio = window->devicePixelRatio();
    return QMargins(qRound(left / ratio), qRound(top / ratio), qRound(right / ratio),
                    qRound(bottom / ratio));
}

#else

bool Active()
{
    return false;
}
void AllowMinimize(QWidget *) {}
void PlaceOnScreen(QWidget *, QPoint) {}
QMargins FrameMargins(const QWidget *)
{
    return {};
}

#endif

} // namespace X11Window
