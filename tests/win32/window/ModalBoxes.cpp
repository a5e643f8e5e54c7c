#include "ModalBoxes.h"

#include <algorithm>
#include <utility>

namespace {

ModalBoxes *current = nullptr;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<HWND> Children(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

void SetModifiers(bool shift, bool control)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = state[VK_LCONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *chars = static_cast<const wchar_t *>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

ModalBoxes::ModalBoxes(CloseBy closeBy) : closeBy_(closeBy)
{
    current = this;
    timer_ = SetTimer(nullptr, 0, 20, &ModalBoxes::Tick);
}

ModalBoxes::~ModalBoxes()
{
    KillTimer(nullptr, timer_);
    current = nullptr;
    SetModifiers(false, false);
}

void CALLBACK ModalBoxes::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (current)
        current->Step();
}

void ModalBoxes::Step()
{
    if (copying_) {
        // Ctrl+C has been handled by now.
        SetModifiers(false, false);
        seen.back().copied = ClipboardText();
        HWND box = std::exchange(copying_, nullptr);
        Close(box);
        return;
    }
    for (HWND window : ThreadWindows()) {
        if (!IsWindowVisible(window) ||
            std::find(closed_.begin(), closed_.end(), window) != closed_.end())
            continue;
        const std::wstring windowClass = ClassOf(window);
        if (windowClass != L"TMessageBox" && windowClass != L"#32770")
            continue;

        Box box;
        box.windowClass = windowClass;
        box.title = TextOf(window);
        box.owner = GetWindow(window, GW_OWNER);
        box.ownerEnabled = IsWindowEnabled(box.owner);
        GetWindowRect(window, &box.window);
        GetClientRect(window, &box.client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&box.client), 2);
        for (HWND child : Children(window)) {
            const std::wstring childClass = ClassOf(child);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            if (!IsWindowVisible(child))
                continue;
            if (childClass == L"Button") {
                if (box.buttons.empty())
                    GetWindowRect(child, &box.button);
                box.buttons.push_back(TextOf(child));
            } else if (childClass == L"Static") {
                if ((style & SS_TYPEMASK) == SS_ICON)
                    box.hasIcon = box.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
                else if (!TextOf(child).empty())
                    box.text = TextOf(child);
            }
        }
        box.othersDisabled = true;
        for (HWND other : ThreadWindows())
            if (other != window && IsWindowVisible(other) && IsWindowEnabled(other) &&
                ClassOf(other) != L"tooltips_class32")
                box.othersDisabled = false;
        seen.push_back(box);

        if (windowClass == L"TMessageBox") {
            // Ctrl+C, as the user types it, into whatever in the box has the
            // focus; the clipboard is read on the next tick.
            if (OpenClipboard(nullptr)) {
                EmptyClipboard();
                CloseClipboard();
            }
            SetModifiers(false, true);
            HWND focus = GetFocus();
            PostMessageW(focus ? focus : window, WM_KEYDOWN, 'C', 1);
            copying_ = window;
        } else {
            Close(window);
        }
        return;
    }
}

void ModalBoxes::Close(HWND box)
{
    closed_.push_back(box);
    HWND ok = nullptr;
    for (HWND child : Children(box))
        if (ClassOf(child) == L"Button")
            ok = ok ? ok : child;
    HWND focus = GetFocus();
    HWND target = focus && IsChild(box, focus) ? focus : box;
    switch (closeBy_) {
    case CloseBy::Enter:
        PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
        break;
    case CloseBy::Escape:
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
        break;
    case CloseBy::OkButton:
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
        break;
    case CloseBy::CloseButton:
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}
