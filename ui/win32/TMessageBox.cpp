#include "TMessageBox.h"

#include "Exception.h"
#include "WindowClass.h"
#include "WindowProcGuard.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// The program's other windows, disabled while a box is open.
std::vector<HWND> DisableThreadWindows(HWND except)
{
    std::vector<HWND> disabled;
    struct Context
    {
        HWND except;
        std::vector<HWND> *disabled;
    } context{except, &disabled};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto *context = reinterpret_cast<Context *>(lParam);
            if (window != context->except && IsWindowVisible(window) && IsWindowEnabled(window))
                context->disabled->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    for (HWND window : disabled)
        EnableWindow(window, FALSE);
    return disabled;
}

} // namespace

void TMessageBox::Show(CommandHost &host, const std::wstring &title, const std::wstring &text)
{
    TMessageBox box(host, title, text);
    box.RunModal();
}

TMessageBox::TMessageBox(CommandHost &host, const std::wstring &title, const std::wstring &text)
    : host_(host), text_(text)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(kWindowClass, &TMessageBox::WindowProc); // CreateWindowExW then fails
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = host.Handle();
    handle_ = CreateWindowExW(kExStyle, kWindowClass, title.c_str(), kStyle, 0, 0, 0, 0, owner,
                              nullptr, instance, this);
    if (!handle_)
        throw Exception("メッセージ ボックスを作れません");
    body_ =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        0, 0, 0, 0, handle_, nullptr, instance, nullptr);
    ok_ = CreateWindowExW(
        0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
        handle_, reinterpret_cast<HMENU>(INT_PTR{kOkButtonId}), instance, nullptr);
    if (!body_ || !ok_) {
        DestroyWindow(handle_); // no destructor runs for a half-built box
        throw Exception("メッセージ ボックスを作れません");
    }
    Layout();
}

TMessageBox::~TMessageBox()
{
    if (handle_)
        DestroyWindow(handle_);
    if (font_)
        DeleteObject(font_);
}

void TMessageBox::Layout()
{
    const UINT dpi = GetDpiForWindow(handle_);
    auto scale = [dpi](int value) {
        return MulDiv(value, static_cast<int>(dpi), 96);
    };

    // The desktop's message font, as the system's own message box uses.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    SendMessageW(body_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(GetWindow(handle_, GW_OWNER), MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT &screen = monitor.rcMonitor;
    const RECT &work = monitor.rcWork;

    // Lines wider than half the screen wrap between words; the others keep
    // their length.
    RECT text{0, 0, (screen.right - screen.left) / 2, 0};
    HDC dc = GetDC(handle_);
    HGDIOBJ previous = SelectObject(dc, font_);
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(handle_, dc);

    const int margin = scale(12), buttonWidth = scale(75), buttonHeight = scale(25);
    int textWidth = text.right - text.left, textHeight = text.bottom - text.top;
    int clientWidth = std::max(textWidth, buttonWidth) + 2 * margin;
    int clientHeight = textHeight + buttonHeight + 3 * margin;

    // A box larger than the screen's work area is cut to fit it: the text
    // loses its end, the button stays.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    clientWidth = std::min(clientWidth, static_cast<int>(work.right - work.left) - frameWidth);
    clientHeight = std::min(clientHeight, static_cast<int>(work.bottom - work.top) - frameHeight);
    textWidth = std::min(textWidth, clientWidth - 2 * margin);
    textHeight = std::max(0, clientHeight - buttonHeight - 3 * margin);

    MoveWindow(body_, margin, margin, textWidth, textHeight, FALSE);
    MoveWindow(ok_, (clientWidth - buttonWidth) / 2, clientHeight - margin - buttonHeight,
               buttonWidth, buttonHeight, FALSE);

    const int width = clientWidth + frameWidth, height = clientHeight + frameHeight;
    int left = (screen.left + screen.right - width) / 2;
    int top = (screen.top + screen.bottom - height) / 2;
    left = std::clamp(left, static_cast<int>(work.left), static_cast<int>(work.right) - width);
    top = std::clamp(top, static_cast<int>(work.top), static_cast<int>(work.bottom) - height);
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMessageBox::Close()
{
    closed_ = true;
    // Wakes the modal loop, should the request have come in a sent message.
    PostMessageW(handle_, WM_NULL, 0, 0);
}

void TMessageBox::CopyText() const
{
    if (!OpenClipboard(handle_))
        return;
    EmptyClipboard();
    const std::size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), text_.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

bool TMessageBox::PreTranslateMessage(const MSG &msg)
{
    if (msg.message != WM_KEYDOWN || (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd)))
        return false;
    switch (msg.wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
        Close();
        return true;
    case 'C':
        if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
            CopyText();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TMessageBox::RunModal()
{
    const std::vector<HWND> disabled = DisableThreadWindows(handle_);
    ShowWindow(handle_, SW_SHOWNORMAL);
    SetForegroundWindow(handle_);
    SetFocus(ok_);

    MSG msg;
    while (!closed_ && handle_) {
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == 0) {
            // The program is ending: the message loop above this one has to
            // see the request too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (result < 0)
            break;
        if (PreTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    // The other windows are enabled before the box goes, so that the window
    // the box came from becomes active again, with its focus where it was.
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    if (handle_)
        ShowWindow(handle_, SW_HIDE);
}

LRESULT CALLBACK TMessageBox::WindowProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept
{
    auto *box = WindowObject(window, message, lParam, &TMessageBox::handle_);
    if (!box)
        return DefWindowProcW(window, message, wParam, lParam);
    return GuardWindowProc(box->host_, [&] { return box->HandleMessage(message, wParam, lParam); });
}

LRESULT TMessageBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kOkButtonId && HIWORD(wParam) == BN_CLICKED)
            Close();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NCDESTROY: {
        HWND window = handle_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        handle_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}
