#include "TForm.h"

#include "EReadError.h"
#include "Utf.h"
#include "WindowClass.h"
#include "WindowProcGuard.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kFilterProperty[] = L"rilo_mj.TForm";
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

std::string_view LoadDescription(const wchar_t *name)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        throw EReadError("ウィンドウの記述 " + Narrow(name) + " が見つかりません");
    return {static_cast<const char *>(data), SizeofResource(module, resource)};
}

BYTE Charset(const std::wstring &name)
{
    if (name == L"SHIFTJIS_CHARSET")
        return SHIFTJIS_CHARSET;
    if (name == L"ANSI_CHARSET")
        return ANSI_CHARSET;
    return DEFAULT_CHARSET;
}

SIZE TextExtent(HFONT font, const std::wstring &text)
{
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

bool IsKeyDown(int key)
{
    return GetKeyState(key) < 0;
}

bool IsClass(HWND window, const wchar_t *className)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, className) == 0;
}

} // namespace

TForm::TForm(CommandHost &owner, const wchar_t *windowClass, const wchar_t *descriptionName,
             UINT pixelsPerInch)
    : owner_(owner), description_(ParseWindowDescription(LoadDescription(descriptionName)))
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(windowClass, &TForm::WindowProc))
        throw EReadError("ウィンドウ クラス " + Narrow(windowClass) + " を登録できません");

    if (pixelsPerInch == 0) {
        HDC screen = GetDC(nullptr);
        pixelsPerInch = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }

    // The window opens at the description's Left and Top, whatever the
    // resolution; its size follows once the layout is known.
    handle_ = CreateWindowExW(kExStyle, windowClass, description_.caption.c_str(), kStyle,
                              description_.left, description_.top, 0, 0, owner_.Handle(), nullptr,
                              instance, this);
    if (!handle_)
        throw EReadError("ウィンドウ " + Narrow(description_.name) + " を作れません");
    SetPropW(handle_, kFilterProperty, this);
    try {
        CreateControls();
        Layout(pixelsPerInch);
        CreateToolTip();
    } catch (...) {
        // No destructor runs for a half-built window: the window must not
        // outlive it and reach it through its window procedure.
        DestroyWindow(handle_);
        throw;
    }
}

TForm::~TForm()
{
    if (handle_)
        DestroyWindow(handle_);
    if (font_)
        DeleteObject(font_);
    if (boldFont_)
        DeleteObject(boldFont_);
}

HWND TForm::Component(std::wstring_view name) const
{
    for (const Control &control : controls_)
        if (control.description->name == name)
            return control.handle;
    throw EReadError("コンポーネント " + Narrow(name) + " が見つかりません");
}

void TForm::CreateControls()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int id = kFirstControlId;
    for (const ComponentDescription &component : description_.components) {
        const wchar_t *className = nullptr;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        if (component.className == L"QGroupBox") {
            className = L"BUTTON";
            style |= BS_GROUPBOX;
        } else if (component.className == L"QLabel") {
            className = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
        } else if (component.className == L"QLineEdit") {
            className = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
        } else if (component.className == L"QPushButton") {
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
        } else {
            throw EReadError("コンポーネント " + Narrow(component.name) + " の種類 " +
                             Narrow(component.className) + " は使えません");
        }
        HWND control =
            CreateWindowExW(exStyle, className, component.text.c_str(), style, 0, 0, 0, 0, handle_,
                            reinterpret_cast<HMENU>(INT_PTR{id++}), instance, nullptr);
        if (!control)
            throw EReadError("コンポーネント " + Narrow(component.name) + " を作れません");
        if (component.className == L"QLineEdit") {
            // Any text of any length: the fields are converted only when
            // Calculate reads them. 0 lifts the edit box's own limit.
            const long long limit = component.maxLength;
            SendMessageW(control, EM_SETLIMITTEXT,
                         limit < 0 || limit >= 0x7FFFFFFE ? 0 : static_cast<WPARAM>(limit), 0);
        }
        controls_.push_back({&component, control});
    }
    // A group box paints over whatever lies beneath it: it goes to the bottom,
    // under the fields and labels it frames.
    for (const Control &control : controls_)
        if (control.description->className == L"QGroupBox")
            SetWindowPos(control.handle, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A screen reader names a field after the label just before it among
    // its siblings: each field goes right after the first label that names it.
    for (const Control &field : controls_) {
        for (const Control &label : controls_) {
            if (label.description->buddy == field.description->name) {
                SetWindowPos(field.handle, label.handle, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                break;
            }
        }
    }
    for (const std::wstring &name : description_.tabStops)
        tabStops_.push_back(Component(name));
}

void TForm::Layout(UINT pixelsPerInch)
{
    pixelsPerInch_ = pixelsPerInch;
    fontHeight_ = -MulDiv(description_.fontPointSize, static_cast<int>(pixelsPerInch), 72);

    LOGFONTW logFont{};
    logFont.lfHeight = fontHeight_;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = Charset(description_.charset);
    lstrcpynW(logFont.lfFaceName, description_.fontFamily.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&logFont);
    logFont.lfWeight = FW_BOLD;
    HFONT boldFont = CreateFontIndirectW(&logFont);

    // The layout is given for 96 pixels per inch, where "0" is as high as the
    // font's design height. On another screen the font grows with the
    // resolution, and everything else grows with the height that "0" then has.
    const int designHeight = MulDiv(description_.fontPointSize, 96, 72);
    int numerator = 1, denominator = 1;
    if (pixelsPerInch != 96) {
        const int measured = TextExtent(font, L"0").cy;
        if (measured != designHeight && measured > 0) {
            numerator = measured;
            denominator = designHeight;
        }
    }
    auto scale = [&](int value) {
        return MulDiv(value, numerator, denominator);
    };

    std::vector<POINT> origins(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ComponentDescription &component = *controls_[i].description;
        const bool bold = component.bold;
        HWND control = controls_[i].handle;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? boldFont : font), FALSE);
        POINT origin{scale(component.left), scale(component.top)};
        if (component.parent >= 0) {
            origin.x += origins[static_cast<std::size_t>(component.parent)].x;
            origin.y += origins[static_cast<std::size_t>(component.parent)].y;
        }
        origins[i] = origin;
        int width = scale(component.width), height = scale(component.height);
        if (component.className == L"QLabel") {
            // A label is as large as its caption, from where it stands.
            const SIZE text = TextExtent(bold ? boldFont : font, component.text);
            width = text.cx;
            height = text.cy;
        }
        MoveWindow(control, origin.x, origin.y, width, height, FALSE);
    }

    if (font_)
        DeleteObject(font_);
    if (boldFont_)
        DeleteObject(boldFont_);
    font_ = font;
    boldFont_ = boldFont;

    RECT frame{0, 0, scale(description_.clientWidth), scale(description_.clientHeight)};
    // The frame is drawn at the resolution of the screen the window is on.
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, GetDpiForWindow(handle_));
    SetWindowPos(handle_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TForm::CreateToolTip()
{
    for (const Control &control : controls_) {
        if (control.description->toolTip.empty())
            continue;
        if (!toolTip_) {
            // Shown only while one of the program's windows is active.
            toolTip_ =
                CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
            if (!toolTip_)
                return; // a window without tooltips still works
            SendMessageW(toolTip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(500, 0));
            SendMessageW(toolTip_, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(0, 0));
            SendMessageW(toolTip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(2500, 0));
        }
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = handle_;
        tool.uId = reinterpret_cast<UINT_PTR>(control.handle);
        tool.lpszText = const_cast<wchar_t *>(control.description->toolTip.c_str());
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TForm::BindClick(HWND button, std::function<void()> handler)
{
    clickHandlers_.emplace_back(button, std::move(handler));
}

bool TForm::PreTranslate(const MSG &msg)
{
    if (!msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto *form = static_cast<TForm *>(GetPropW(root, kFilterProperty));
    return form && form->PreTranslateMessage(msg);
}

bool TForm::PreTranslateMessage(const MSG &msg)
{
    if (!handle_ || (msg.hwnd != handle_ && !IsChild(handle_, msg.hwnd)))
        return false;
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool buttonDown = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                            msg.message == WM_MBUTTONDOWN;
    if (toolTip_ && (keyDown || buttonDown))
        SendMessageW(toolTip_, TTM_POP, 0, 0);
    if (msg.message != WM_KEYDOWN)
        return false;

    const bool shift = IsKeyDown(VK_SHIFT), control = IsKeyDown(VK_CONTROL),
               alt = IsKeyDown(VK_MENU);
    switch (msg.wParam) {
    case VK_TAB:
        if (control || alt)
            return false;
        MoveFocus(!shift);
        return true;
    case VK_RETURN: {
        // Enter alone presses the button that has the focus, once per press.
        const bool repeat = (msg.lParam & (1 << 30)) != 0;
        HWND focus = GetFocus();
        if (!repeat && !shift && !control && !alt && focus && IsChild(handle_, focus) &&
            IsClass(focus, L"BUTTON"))
            SendMessageW(handle_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                         reinterpret_cast<LPARAM>(focus));
        return true;
    }
    case VK_ESCAPE:
        return true; // the window has no cancel command
    default:
        return false;
    }
}

void TForm::MoveFocus(bool forward)
{
    if (tabStops_.empty())
        return;
    const auto count = static_cast<std::ptrdiff_t>(tabStops_.size());
    const auto found = std::find(tabStops_.begin(), tabStops_.end(), GetFocus());
    std::ptrdiff_t index =
        found == tabStops_.end() ? (forward ? -1 : count) : found - tabStops_.begin();
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        index = ((forward ? index + 1 : index - 1) % count + count) % count;
        HWND next = tabStops_[static_cast<std::size_t>(index)];
        if (IsWindowEnabled(next) && IsWindowVisible(next)) {
            SetFocus(next);
            // Entered from the keyboard: typing replaces the whole text.
            if (IsClass(next, L"EDIT"))
                SendMessageW(next, EM_SETSEL, 0, -1);
            return;
        }
    }
}

void TForm::RestoreFocus()
{
    if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    // The first time the window is active: the first stop of the tab
    // sequence, as if entered by Tab.
    SetFocus(nullptr);
    MoveFocus(true);
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto *form = WindowObject(window, message, lParam, &TForm::handle_);
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    return GuardWindowProc(form->owner_,
                           [&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const auto sender = reinterpret_cast<HWND>(lParam);
        const UINT code = HIWORD(wParam);
        if (code == EN_SETFOCUS || code == BN_SETFOCUS) {
            lastFocus_ = sender;
        } else if (code == BN_CLICKED) {
            for (const auto &[button, handler] : clickHandlers_)
                if (button == sender)
                    handler();
        }
        return 0;
    }
    case WM_ACTIVATE:
        // Back from a box or another program: the focus goes where it was.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_DPICHANGED: {
        // Moved to a screen of another resolution: the same rule as at start.
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        Layout(LOWORD(wParam));
        SetWindowPos(handle_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        owner_.FormDestroyed(handle_);
        return 0;
    case WM_NCDESTROY: {
        HWND window = std::exchange(handle_, nullptr);
        toolTip_ = nullptr;
        RemovePropW(window, kFilterProperty);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}
