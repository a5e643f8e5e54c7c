#pragma once

#include <windows.h>

// Registers one of the program's window classes, once per process: the arrow
// cursor and the button-face background, and the icons where the window
// carries the program's. Returns false when Windows refuses the class.
inline bool RegisterWindowClass(const wchar_t *name, WNDPROC procedure, HICON icon = nullptr,
                                HICON smallIcon = nullptr) noexcept
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW info{};
    if (GetClassInfoExW(instance, name, &info))
        return true;
    info.cbSize = sizeof info;
    info.lpfnWndProc = procedure;
    info.hInstance = instance;
    info.hIcon = icon;
    info.hIconSm = smallIcon;
    info.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    info.lpszClassName = name;
    return RegisterClassExW(&info) != 0;
}

// The object behind one of the program's windows. The object passes itself as
// CreateWindowExW's last argument; WM_NCCREATE, the first message that carries
// it, ties it to the window and gives it its handle. Null before that message.
template <class Window>
Window *WindowObject(HWND window, UINT message, LPARAM lParam, HWND Window::*handle) noexcept
{
    if (message == WM_NCCREATE) {
        auto *object =
            static_cast<Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        object->*handle = window;
    }
    return reinterpret_cast<Window *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
