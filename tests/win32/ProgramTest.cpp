// rilo_mj.exe seen from outside, the way Windows and a user see it: copies of
// the program started under other names and with other show commands, its
// windows found by process, its boxes read and closed, and its exit code.
// Nothing here links the program's own code: only the finished file is tested.
#include "LargeLossNotice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kFormCaption[] = L"雀荘Rilo店簡易計算機('A`)";
// The payment fields' control ids: 100 plus their place in the window
// description.
constexpr int kEdit7 = 120;
constexpr int kEdit8 = 121;

std::wstring Widen(const std::string &text, UINT codePage = CP_UTF8)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return wide;
}

// The build passes the program's path as the build machine knows it; under
// Wine a path from the root is drive Z:.
std::wstring ProgramPath()
{
    std::string path = RILO_MJ_EXE;
    if (!path.empty() && path.front() == '/')
        path = "Z:" + path;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return Widen(path);
}

bool OnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool WaitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// WM_GETTEXT itself: GetWindowText does not ask a control of another process
// for its text.
std::wstring Text(HWND window)
{
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> TopLevelWindows(DWORD processId)
{
    struct Search
    {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto &s = *reinterpret_cast<Search *>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId)
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent, const wchar_t *className)
{
    struct Search
    {
        const wchar_t *className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto &s = *reinterpret_cast<Search *>(parameter);
            if (lstrcmpiW(ClassName(window).c_str(), s.className) == 0)
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Windows' own rule for which windows get a task-bar button: shown, not a tool
// window, and either unowned or marked as an application window.
bool HasTaskbarButton(HWND window)
{
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return IsWindowVisible(window) && !(exStyle & WS_EX_TOOLWINDOW) &&
           (GetWindow(window, GW_OWNER) == nullptr || (exStyle & WS_EX_APPWINDOW));
}

// A temporary folder that the copies of the program live in.
class Scratch
{
public:
    Scratch()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"rilo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(counter_++);
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    ~Scratch()
    {
        for (auto it = files_.rbegin(); it != files_.rend(); ++it)
            if (!DeleteFileW(it->c_str()))
                RemoveDirectoryW(it->c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;

    // Copies the program to NAME inside the folder; NAME may hold sub-folders.
    std::wstring Copy(const std::wstring &name)
    {
        std::wstring path = folder_;
        std::size_t start = 0;
        for (std::size_t slash; (slash = name.find(L'\\', start)) != std::wstring::npos;
             start = slash + 1) {
            path += L"\\" + name.substr(start, slash - start);
            CreateDirectoryW(path.c_str(), nullptr);
            files_.push_back(path);
        }
        path += L"\\" + name.substr(start);
        if (!CopyFileW(ProgramPath().c_str(), path.c_str(), FALSE))
            ADD_FAILURE() << "cannot copy the program to the scratch folder";
        files_.push_back(path);
        return path;
    }

private:
    static inline int counter_ = 0;
    std::wstring folder_;
    std::vector<std::wstring> files_;
};

// One run of the program, ended by force if a test leaves it running.
class Program
{
public:
    Program(const std::wstring &path, WORD show)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        std::wstring commandLine = L"\"" + path + L"\"";
        started_ = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &process_);
        if (started_)
            WaitForInputIdle(process_.hProcess, 10000);
    }
    ~Program()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            // Until it has ended, its file cannot be deleted.
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return process_.dwProcessId; }
    std::vector<HWND> Windows() const { return TopLevelWindows(process_.dwProcessId); }

    HWND Form() const
    {
        for (HWND window : Windows())
            if (Text(window) == kFormCaption)
                return window;
        return nullptr;
    }

    std::vector<HWND> TaskbarWindows() const
    {
        std::vector<HWND> found;
        for (HWND window : Windows())
            if (HasTaskbarButton(window))
                found.push_back(window);
        return found;
    }

    // The first shown top-level window of the process whose class is given,
    // other than the calculator window.
    HWND Shown(const wchar_t *className = nullptr) const
    {
        const HWND form = Form();
        for (HWND window : Windows())
            if (window != form && IsWindowVisible(window) && !HasTaskbarButton(window) &&
                (!className || ClassName(window) == className))
                return window;
        return nullptr;
    }

    // The exit code once the process has ended, or STILL_ACTIVE after the wait.
    DWORD ExitCode(DWORD timeoutMs = 10000) const
    {
        WaitForSingleObject(process_.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    bool WaitForForm() const
    {
        return WaitUntil([&] { return Form() && IsWindowVisible(Form()); });
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

struct TitleCase
{
    const char *name;
    const wchar_t *fileName;
    const wchar_t *title;
};

void PrintTo(const TitleCase &c, std::ostream *out)
{
    *out << c.name;
}

class ApplicationTitle : public testing::TestWithParam<TitleCase>
{};

// The one task-bar button carries the title made from the file name; the
// calculator window has no button of its own. Closing the window ends the
// program with exit code 0.
TEST_P(ApplicationTitle, IsTheTaskbarButtonsCaption)
{
    Scratch scratch;
    Program program(scratch.Copy(GetParam().fileName), SW_SHOWNORMAL);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.WaitForForm()) << "no calculator window";
    const std::vector<HWND> buttons = program.TaskbarWindows();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_NE(buttons.front(), program.Form());
    EXPECT_EQ(Text(buttons.front()), GetParam().title);
    // Wine answers neither question about another process's window (it does
    // not pass WM_GETICON between processes); Windows does.
    if (!OnWine()) {
        const bool hasIcon = SendMessageW(buttons.front(), WM_GETICON, ICON_BIG, 0) != 0 ||
                             GetClassLongPtrW(buttons.front(), GCLP_HICON) != 0;
        EXPECT_TRUE(hasIcon) << "the task-bar button has no icon";
    }

    PostMessageW(program.Form(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    FileNames, ApplicationTitle,
    testing::Values(TitleCase{"Plain", L"rilo_mj.exe", L"rilo_mj"},
                    TitleCase{"UpperCase", L"RILO_MJ.EXE", L"Rilo_mj"},
                    TitleCase{"TwoDots", L"Calc.Tool.exe", L"Calc"},
                    TitleCase{"NoExtension", L"NoExt", L"Noext"},
                    TitleCase{"DotInFolder", L"v1.2\\RILO_MJ.exe", L"Rilo_mj"}),
    [](const testing::TestParamInfo<TitleCase> &info) { return info.param.name; });

// Under code page 932 the name is double-byte text: "表" ends in the byte of
// "\", which must not be taken for the folder separator.
TEST(ApplicationTitleCp932, DoubleByteNameStaysWhole)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    Scratch scratch;
    Program program(scratch.Copy(L"表示ソフト.Exe"), SW_SHOWNORMAL);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.WaitForForm());
    const std::vector<HWND> buttons = program.TaskbarWindows();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(Text(buttons.front()), L"表示ソフト");
}

struct EndCase
{
    const char *name;
    std::function<void(const Program &)> end;
};

void PrintTo(const EndCase &c, std::ostream *out)
{
    *out << c.name;
}

class Ending : public testing::TestWithParam<EndCase>
{};

TEST_P(Ending, ExitsWithCodeZero)
{
    Scratch scratch;
    Program program(scratch.Copy(L"rilo_mj.exe"), SW_SHOWNORMAL);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.WaitForForm());
    GetParam().end(program);
    EXPECT_EQ(program.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Ending,
    testing::Values(EndCase{"CloseMessage",
                            [](const Program &p) {
                                PostMessageW(p.Form(), WM_CLOSE, 0, 0);
                            }},
                    EndCase{"SystemMenuClose",
                            [](const Program &p) {
                                PostMessageW(p.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
                            }},
                    EndCase{"TaskbarButtonClose",
                            [](const Program &p) {
                                PostMessageW(p.TaskbarWindows().at(0), WM_SYSCOMMAND, SC_CLOSE, 0);
                            }},
                    // What Windows sends every top-level window when the user logs off:
                    // the question, which must not be refused, then the end itself.
                    EndCase{"SessionEnd",
                            [](const Program &p) {
                                const std::vector<HWND> windows = p.Windows();
                                for (HWND window : windows) {
                                    DWORD_PTR answer = 0;
                                    if (SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0,
                                                            ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                                            5000, &answer)) {
                                        EXPECT_NE(answer, 0u) << "the log-off was refused";
                                    }
                                }
                                for (HWND window : windows)
                                    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE,
                                                        ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                                        nullptr);
                            }}),
    [](const testing::TestParamInfo<EndCase> &info) { return info.param.name; });

TEST(ShowCommand, NormalOpensTheWindowRestored)
{
    Scratch scratch;
    Program program(scratch.Copy(L"rilo_mj.exe"), SW_SHOWNORMAL);
    ASSERT_TRUE(program.WaitForForm());
    EXPECT_FALSE(IsIconic(program.Form()));
    EXPECT_FALSE(IsZoomed(program.Form()));
}

TEST(ShowCommand, MaximizedOpensTheWindowMaximized)
{
    Scratch scratch;
    Program program(scratch.Copy(L"rilo_mj.exe"), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(program.WaitForForm());
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(program.Form()) != FALSE; }, 3000));
}

// Only the task-bar button shows; restoring the application from it brings the
// calculator window back in its normal state.
TEST(ShowCommand, MinNoActiveStartsAsTheTaskbarButtonAlone)
{
    Scratch scratch;
    Program program(scratch.Copy(L"rilo_mj.exe"), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitUntil([&] { return program.TaskbarWindows().size() == 1 && program.Form(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const HWND button = program.TaskbarWindows().at(0);
    const HWND form = program.Form();
    EXPECT_TRUE(IsIconic(button));
    EXPECT_TRUE(!IsWindowVisible(form) || IsIconic(form))
        << "the calculator window is on the screen";

    PostMessageW(button, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }));
    EXPECT_FALSE(IsZoomed(form));
}

// Fills every field of the calculator window with TEXT and presses 計算
// without waiting for it: a box may stay open until the test closes it.
void CalculateWith(const Program &program, const wchar_t *text)
{
    for (HWND edit : Children(program.Form(), L"Edit"))
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    for (HWND button : Children(program.Form(), L"Button"))
        if (Text(button) == L"計算")
            PostMessageW(button, BM_CLICK, 0, 0);
}

// The error box of a conversion error: the system's message box under the
// application title, the message with "." appended; the calculator window is
// disabled while it is open, and the program goes on once it is closed.
TEST(ErrorBox, ShowsTheMessageUnderTheApplicationTitle)
{
    Scratch scratch;
    Program program(scratch.Copy(L"RILO_MJ.EXE"), SW_SHOWNORMAL);
    ASSERT_TRUE(program.WaitForForm());
    CalculateWith(program, L"12a");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = program.Shown(L"#32770")) != nullptr; }))
        << "no error box";
    EXPECT_EQ(Text(box), L"Rilo_mj");
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), L"'12a' は整数ではありません.");
    EXPECT_FALSE(IsWindowEnabled(program.Form()));

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Form()) != FALSE; }));

    PostMessageW(program.Form(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// Every field at 1000000: both payments are the side bets alone, 1,000,000
// Zeny, and the millions notice opens under the application title with the
// core's text; the payments are written once it is closed.
TEST(NoticeBox, ShowsTheNoticeUnderTheApplicationTitle)
{
    Scratch scratch;
    Program program(scratch.Copy(L"Calc.Tool.exe"), SW_SHOWNORMAL);
    ASSERT_TRUE(program.WaitForForm());
    CalculateWith(program, L"1000000");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = program.Shown()) != nullptr; })) << "no notice box";
    EXPECT_EQ(Text(box), L"Calc");
    const std::vector<HWND> texts = Children(box, L"Static");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(Text(texts.front()), Widen(ComposeLargeLossNotice(1000000)));
    EXPECT_FALSE(IsWindowEnabled(program.Form()));

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Form()) != FALSE; }));
    std::vector<std::wstring> payments;
    for (HWND edit : Children(program.Form(), L"Edit"))
        if (GetDlgCtrlID(edit) == kEdit7 || GetDlgCtrlID(edit) == kEdit8)
            payments.push_back(Text(edit));
    EXPECT_EQ(payments, std::vector<std::wstring>(2, L" 1,000,000z"));
    PostMessageW(program.Form(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
}

// What Windows takes from the file itself: the icon of the task-bar button and
// of Explorer, at the sizes of ordinary and high-resolution screens.
TEST(Resources, MainIconAtEverySize)
{
    HMODULE file = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    for (int size : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(LoadImageW(file, L"MAINICON", IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        ICONINFO info{};
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP bitmap{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        if (icon)
            DestroyIcon(icon);
    }
    FreeLibrary(file);
}

// What Explorer's properties show: the product and its version, the one the
// build gave; and what Windows reads from the manifest before the program
// runs: common controls 6, its own scaling, Windows 10 and 11.
TEST(Resources, VersionAndManifest)
{
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    const auto value = [&](const wchar_t *name) {
        wchar_t *text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        if (!VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void **>(&text),
                            &length) ||
            !text)
            return std::wstring();
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"rilo_mj");
    EXPECT_EQ(value(L"ProductVersion"), Widen(RILO_VERSION));
    EXPECT_EQ(value(L"OriginalFilename"), L"rilo_mj.exe");

    HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char *>(LockResource(LoadResource(file, found))),
                               SizeofResource(file, found));
    FreeLibrary(file);
    for (const char *needed : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0", "<dpiAware",
                               "<dpiAwareness", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(needed), std::string::npos) << needed;
}

// A program whose window description cannot be read reports it in the
// start-up failure box, titled "アプリケーション エラー" and naming the error's
// class and the program file, and ends with exit code 1 once it is closed.
TEST(StartupFailure, BoxThenExitCodeOne)
{
    Scratch scratch;
    const std::wstring path = scratch.Copy(L"broken.exe");
    HANDLE update = BeginUpdateResourceW(path.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    char broken[] = "broken";
    ASSERT_TRUE(UpdateResourceW(update, RT_RCDATA, L"TFORM1",
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), broken, 6));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

    Program program(path, SW_SHOWNORMAL);
    ASSERT_TRUE(program.Started());
    HWND box = nullptr;
    // Owned by no window, the box has a task-bar button of its own.
    const auto findBox = [&] {
        for (HWND window : program.Windows())
            if (IsWindowVisible(window) && ClassName(window) == L"#32770")
                return box = window;
        return box = nullptr;
    };
    ASSERT_TRUE(WaitUntil([&] { return findBox() != nullptr; })) << "no failure box";
    EXPECT_EQ(Text(box), L"アプリケーション エラー");
    const std::wstring text = Text(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(text.find(L"EReadError"), std::wstring::npos) << text;
    EXPECT_NE(text.find(path), std::wstring::npos) << text;
    EXPECT_EQ(program.Form(), nullptr);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.ExitCode(), 1u);
}

} // namespace
