#include "TApplication.h"

#include "ApplicationTitle.h"
#include "Exception.h"
#include "Utf.h"
#include "WindowClass.h"
#include "WindowProcGuard.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>
#include <utility>

TApplication *Application = nullptr;

namespace {

constexpr wchar_t kWindowClass[] = L"TApplication";

std::wstring ClassName(const std::exception &error)
{
    int status = 0;
    const char *mangled = typeid(error).name();
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return Widen(status == 0 && demangled ? demangled.get() : mangled);
}

std::wstring Message(const std::exception &error)
{
    if (const auto *exception = dynamic_cast<const Exception *>(&error))
        return Widen(exception->Message());
    return Widen(error.what(), CP_ACP);
}

std::wstring ProgramFile()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

} // namespace

TApplication::TApplication(HINSTANCE instance)
    : instance_(instance), title_(Widen(ApplicationTitle(), CP_ACP))
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    icon_ = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                          LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    // Shared icons live as long as the program: the window class keeps them.
    if (!RegisterWindowClass(kWindowClass, &TApplication::WindowProc, icon_, smallIcon_))
        throw Exception("ウィンドウ クラス TApplication を登録できません");
    // No size: it is seen only as the task-bar button, and as the place the
    // minimising animation goes to, the centre of the screen.
    handle_ = CreateWindowExW(0, kWindowClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, instance, this);
    if (!handle_)
        throw Exception("アプリケーションのウィンドウを作れません");
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    Application = this;
}

TApplication::~TApplication()
{
    forms_.clear();
    if (handle_)
        DestroyWindow(handle_);
    if (Application == this)
        Application = nullptr;
}

int TApplication::Run(int showCommand)
{
    if (showCommand == SW_SHOWMINNOACTIVE) {
        // Only the task-bar button; the window shows once it is restored.
        ShowWindow(handle_, SW_SHOWMINNOACTIVE);
    } else {
        // The calculator window is shown first: Windows may take the first
        // show command of a process from the way the process was started.
        if (mainForm_)
            ShowWindow(mainForm_,
                       showCommand == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        ShowWindow(handle_, SW_SHOWNOACTIVATE);
        if (mainForm_)
            SetForegroundWindow(mainForm_);
    }
    while (ProcessMessage()) {
    }
    return exitCode_;
}

bool TApplication::ProcessMessage()
{
    MSG msg;
    const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0) {
        exitCode_ = static_cast<int>(msg.wParam);
        return false;
    }
    if (result < 0)
        return false;
    if (!TForm::PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::Minimize()
{
    for (const auto &form : forms_)
        if (form->Handle())
            ShowWindow(form->Handle(), SW_HIDE);
    DefWindowProcW(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TApplication::Restore()
{
    DefWindowProcW(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (mainForm_) {
        ShowWindow(mainForm_, SW_SHOW);
        SetForegroundWindow(mainForm_);
    }
}

void TApplication::FormDestroyed(HWND form) noexcept
{
    // Closing the main window is never refused, and it ends the program.
    if (form == mainForm_) {
        mainForm_ = nullptr;
        PostQuitMessage(0);
    }
}

void TApplication::HandleException() noexcept
{
    std::wstring message;
    try {
        try {
            throw;
        } catch (const std::exception &error) {
            message = Message(error);
        }
    } catch (...) {
        message = L"不明なエラーです";
    }
    ShowException(message);
}

std::wstring TApplication::ErrorReportText(const std::wstring &message)
{
    // A character above "." is, in the ANSI code page, a byte above "." or
    // a double-byte character, whose first byte is always above it.
    if (!message.empty() && message.back() > L'.')
        return message + L'.';
    return message;
}

std::wstring TApplication::ShownText(const std::wstring &text)
{
    auto cut = [](std::wstring shown) {
        if (!shown.empty() && IS_HIGH_SURROGATE(shown.back()))
            shown.pop_back(); // never half a character
        while (!shown.empty() && (shown.back() == L'\r' || shown.back() == L'\n'))
            shown.pop_back();
        return shown + L'…';
    };
    std::wstring shown;
    std::size_t lines = 1, word = 0;
    for (const wchar_t c : text) {
        const bool blank = c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
        // The system's box does not break a word; a long one is broken here.
        const bool breakWord = !blank && word >= kMaxShownWordLength && !IS_LOW_SURROGATE(c);
        if (c == L'\n' || breakWord) {
            if (++lines > kMaxShownLines)
                return cut(shown);
            word = 0;
        }
        if (shown.size() >= kMaxShownCharacters)
            return cut(shown);
        if (breakWord)
            shown += L'\n';
        word = blank ? 0 : word + 1;
        shown += c;
    }
    return shown;
}

void TApplication::ShowException(const std::wstring &message) noexcept
{
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = mainForm_ ? mainForm_ : handle_;
    try {
        messageBox_(owner, ShownText(ErrorReportText(message)).c_str(), title_.c_str(),
                    MB_OK | MB_ICONSTOP);
    } catch (...) {
        messageBox_(owner, message.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
    }
}

std::wstring TApplication::StartupFailureText(const std::exception &error,
                                              const std::wstring &programFile)
{
    return L"モジュール '" + programFile + L"' で例外 " + ClassName(error) +
           L" が発生しました。\n" + ErrorReportText(Message(error));
}

void TApplication::ShowStartupFailure(const std::exception &error) noexcept
{
    try {
        MessageBoxW(nullptr, ShownText(StartupFailureText(error, ProgramFile())).c_str(),
                    L"アプリケーション エラー", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (...) {
        MessageBoxW(nullptr, L"", L"アプリケーション エラー", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    }
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept
{
    auto *application = WindowObject(window, message, lParam, &TApplication::handle_);
    if (!application)
        return DefWindowProcW(window, message, wParam, lParam);
    return GuardWindowProc(*application,
                           [&] { return application->HandleMessage(message, wParam, lParam); });
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        // What the task-bar button's menu and clicks ask of the application.
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            if (mainForm_)
                PostMessageW(mainForm_, WM_CLOSE, 0, 0);
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        if (mainForm_)
            PostMessageW(mainForm_, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // Activated through its task-bar button: the calculator window is
        // the one to work in.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && mainForm_ &&
            IsWindowVisible(mainForm_) && IsWindowEnabled(mainForm_))
            SetActiveWindow(mainForm_);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // nothing to save, nothing to ask
    case WM_ENDSESSION:
        // Windows is logging off or shutting down: the program has nothing
        // to save and ends at once, successfully.
        if (wParam)
            exitProcess_(0);
        return 0;
    case WM_NCDESTROY: {
        HWND window = std::exchange(handle_, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}
