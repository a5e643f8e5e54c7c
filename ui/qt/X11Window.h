#pragma once

#include <QMargins>
#include <QPoint>

class QWidget;

// What the program asks of an X11 window manager beyond what Qt's window flags
// can say. Each call does nothing on another platform (Wayland, offscreen).
namespace X11Window {

// True when the program runs on X11.
bool Active();

// Lets the window manager minimise the window (from the task bar, say) while
// the title bar keeps no minimise button. Qt ties the two together in the
// window's _MOTIF_WM_HINTS; window managers that honour those hints refuse to
// minimise a window whose hints leave the function out. Call once the window
// exists and before it is mapped.
void AllowMinimize(QWidget *window);

// Places the window's outer top-left corner at a position in the screen's own
// pixels, whatever scale Qt draws at: at scale 2, (192, 107) has no exact
// position in Qt's coordinates. Call once the window exists and before it is
// mapped.
void PlaceOnScreen(QWidget *window, QPoint screenPixels);

// The frame the window manager has put around a mapped window, in Qt's
// coordinates, asked of the X server now rather than as last reported: Qt
// learns of a new frame only once it has handled the window manager's events.
// Null when not on X11 or not framed.
QMargins FrameMargins(const QWidget *window);

} // namespace X11Window
