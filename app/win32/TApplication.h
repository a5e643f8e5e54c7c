#pragma once

#include "CommandHost.h"
#include "TForm.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

// The application: its title, its icon and its one task-bar button, the main
// window and the message loop, and the error report through which every error
// that escapes a command reaches the user.
//
// The task-bar button belongs to a window of the application's own, titled
// with the application title, that never shows on the screen; it owns the
// calculator window, which therefore has no button of its own. Minimising the
// application from the button hides the calculator window, restoring it shows
// the window again.
class TApplication : public CommandHost
{
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication() override;
    TApplication(const TApplication &) = delete;
    TApplication &operator=(const TApplication &) = delete;

    void Initialize() {}

    // Creates a window of that class, owned by the application, and stores it
    // in reference. The first window created is the main window.
    template <class Form> void CreateForm(Form *&reference)
    {
        auto form = std::make_unique<Form>(*this);
        reference = form.get();
        if (!mainForm_)
            mainForm_ = form->Handle();
        forms_.push_back(std::move(form));
    }

    // Shows the main window in the state the show command asks for and runs
    // the message loop until the program ends; returns the exit code.
    int Run(int showCommand);

    // Takes one message off the queue and handles it as the loop does; false
    // once the program has been asked to end.
    bool ProcessMessage();

    HWND Handle() const noexcept override { return handle_; }
    HWND MainForm() const noexcept { return mainForm_; }
    const std::wstring &Title() const noexcept override { return title_; }
    void HandleException() noexcept override;
    void FormDestroyed(HWND form) noexcept override;

    // The error report: the message in the error box, titled with the
    // application title. The program goes on.
    void ShowException(const std::wstring &message) noexcept;

    // The text of the error box: the message, with "." added when it ends in
    // a character above "." (any double-byte character, letters, digits).
    static std::wstring ErrorReportText(const std::wstring &message);

    // What a box shows of a text: the system's box grows with its text past
    // the screen's edges, so a text longer than this is cut and marked "…",
    // and a word longer than this is broken.
    static std::wstring ShownText(const std::wstring &text);
    static constexpr std::size_t kMaxShownCharacters = 2000;
    static constexpr std::size_t kMaxShownLines = 25;
    static constexpr std::size_t kMaxShownWordLength = 64;

    // The report of an error that stopped the start-up, shown in a task-modal
    // box titled "アプリケーション エラー".
    static std::wstring StartupFailureText(const std::exception &error,
                                           const std::wstring &programFile);
    static void ShowStartupFailure(const std::exception &error) noexcept;

    // The system's message box. Tests put a recorder in its place.
    using MessageBoxFunction = int(WINAPI *)(HWND, LPCWSTR, LPCWSTR, UINT);
    void SetMessageBoxFunction(MessageBoxFunction function) noexcept { messageBox_ = function; }

    // How the process ends when Windows ends the session. Tests put a
    // recorder in its place.
    using ExitProcessFunction = void(WINAPI *)(UINT);
    void SetExitProcessFunction(ExitProcessFunction function) noexcept { exitProcess_ = function; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Minimize();
    void Restore();

    HINSTANCE instance_;
    std::wstring title_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND handle_ = nullptr;
    HWND mainForm_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
    MessageBoxFunction messageBox_ = &MessageBoxW;
    ExitProcessFunction exitProcess_ = &ExitProcess;
    int exitCode_ = 0;
};

// The application, while it exists.
extern TApplication *Application;
