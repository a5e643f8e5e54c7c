#include "ApplicationTitle.h"
#include "EReadError.h"
#include "FormFixture.h"
#include "Utf.h"

#include <algorithm>
#include <new>

namespace {

struct TitleCase
{
    const char *path;
    const char *title932;  // on a Japanese system (code page 932)
    const char *title1252; // on a Western one
};

// Paths in the ANSI code page. "\x95\x5C" is 表 and "\x83\x5C" is ソ in code
// page 932: double-byte characters whose second byte is "\".
const TitleCase kTitles[] = {
    {"C:\\Games\\rilo_mj.exe", "rilo_mj", "rilo_mj"},
    {"C:\\Games\\RILO_MJ.EXE", "Rilo_mj", "Rilo_mj"},
    {"C:\\Calc.Tool.exe", "Calc", "Calc"},
    {"C:\\dir.v2\\PROGRAM", "Program", "Program"},
    {"rilo_mj", "rilo_mj", "rilo_mj"},
    {"C:\\Games\\", "", ""},
    {"", "", ""},
    {"C:\\Games\\\x95\x5CX.EXE", "\x95\x5Cx", "X"},
    {"C:\\\x83\x5C\x83\x74\x83\x67.exe", "\x83\x5C\x83\x74\x83\x67", "\x83\x74\x83\x67"},
    {"C:\\\x83\x5C\\Rilo.exe", "Rilo", "Rilo"},
};

} // namespace

TEST(ApplicationTitle, FromThePathStepByStep)
{
    const UINT codePage = GetACP();
    if (codePage != 932 && codePage != 1252)
        GTEST_SKIP() << "expected values are for code pages 932 and 1252, not " << codePage;
    for (const TitleCase &title : kTitles) {
        SCOPED_TRACE(title.path);
        EXPECT_EQ(ApplicationTitleFromPath(title.path),
                  codePage == 932 ? title.title932 : title.title1252);
    }
}

TEST(ApplicationTitle, OfThisProgram)
{
    EXPECT_EQ(ApplicationTitle(), "win32_window_tests");
}

TEST(ErrorReport, FullStopAfterACharacterAboveIt)
{
    const std::pair<const wchar_t *, const wchar_t *> cases[] = {
        {L"'12a' は整数ではありません", L"'12a' は整数ではありません."},
        {L"abc", L"abc."},
        {L"9", L"9."},
        {L"/", L"/."},
        {L"ｱ", L"ｱ."},
        {L"done.", L"done."},
        {L"(x)", L"(x)"},
        {L"stop!", L"stop!"},
        {L"a-", L"a-"},
        {L"a,", L"a,"},
        {L"a ", L"a "},
        {L"", L""},
    };
    for (const auto &[message, shown] : cases)
        EXPECT_EQ(TApplication::ErrorReportText(message), shown) << Narrow(message);
}

TEST(ErrorReport, StartupFailureNamesClassFileAndMessage)
{
    EXPECT_EQ(
        TApplication::StartupFailureText(EReadError("記述がありません"), L"C:\\x\\rilo_mj.exe"),
        L"モジュール 'C:\\x\\rilo_mj.exe' で例外 EReadError が発生しました。\n"
        L"記述がありません.");
}

class ShellTest : public FormFixture
{};

// Whatever escapes, the report shows something and throws nothing itself.
TEST_F(ShellTest, ErrorsOfAnyKindReachTheErrorBox)
{
    try {
        throw std::bad_alloc();
    } catch (...) {
        application->HandleException();
    }
    try {
        throw 42;
    } catch (...) {
        application->HandleException();
    }
    ASSERT_EQ(errorBoxes.size(), 2u);
    EXPECT_EQ(errorBoxes[0].text, L"std::bad_alloc.");
    EXPECT_EQ(errorBoxes[1].text, L"不明なエラーです.");
    for (const ErrorBox &box : errorBoxes) {
        EXPECT_EQ(box.title, L"win32_window_tests");
        EXPECT_EQ(box.flags, UINT{MB_OK | MB_ICONSTOP});
    }
}

// Run shows the window as the show command asks, runs the loop until the
// window is closed and returns 0.
struct SeenAtStart
{
    bool visible = false, maximized = false, applicationMinimized = false;
    bool visibleAfterRestore = false;
    bool edit1FocusedAfterRestore = false;
};

class Run : public testing::TestWithParam<int>
{
protected:
    static inline SeenAtStart seen;

    static void CALLBACK Look(HWND, UINT, UINT_PTR timer, DWORD)
    {
        KillTimer(nullptr, timer);
        HWND form = Form1->Handle(), application = Application->Handle();
        seen.visible = IsWindowVisible(form);
        seen.maximized = IsZoomed(form);
        seen.applicationMinimized = IsIconic(application);
        // What a click on the task-bar button asks of a minimised program.
        SendMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
        seen.visibleAfterRestore = IsWindowVisible(form);
        seen.edit1FocusedAfterRestore = GetFocus() == Form1->Edit1;
        PostMessageW(form, WM_CLOSE, 0, 0);
    }
};

TEST_P(Run, ShowsTheWindowAsAskedAndEndsWithZero)
{
    const int command = GetParam();
    seen = {};
    int exitCode = -1;
    {
        TApplication application(GetModuleHandleW(nullptr));
        application.CreateForm(Form1);
        SetTimer(nullptr, 0, 300, &Run::Look);
        exitCode = application.Run(command);
    }
    Form1 = nullptr;
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(seen.visible, command != SW_SHOWMINNOACTIVE);
    EXPECT_EQ(seen.maximized, command == SW_SHOWMAXIMIZED);
    EXPECT_EQ(seen.applicationMinimized, command == SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(seen.visibleAfterRestore);
    EXPECT_TRUE(seen.edit1FocusedAfterRestore);
}

INSTANTIATE_TEST_SUITE_P(ShellTest, Run,
                         testing::Values(SW_SHOWDEFAULT, SW_SHOWNORMAL, SW_SHOWMAXIMIZED,
                                         SW_SHOWMINNOACTIVE, SW_SHOWMINIMIZED),
                         [](const auto &info) {
                             switch (info.param) {
                             case SW_SHOWMAXIMIZED:
                                 return std::string("Maximized");
                             case SW_SHOWMINNOACTIVE:
                                 return std::string("MinNoActive");
                             case SW_SHOWMINIMIZED:
                                 return std::string("MinimizedOpensNormal");
                             case SW_SHOWDEFAULT:
                                 return std::string("Default");
                             default:
                                 return std::string("Normal");
                             }
                         });

// A window whose description the program does not carry cannot be built:
// the error names it, and the start-up reports it (exit code 1).
TEST_F(ShellTest, AWindowWithoutItsDescriptionIsNotBuilt)
{
    class TMissing : public TForm
    {
    public:
        explicit TMissing(CommandHost &owner) : TForm(owner, L"TMissing", L"TMISSING") {}
    };
    try {
        TMissing missing(*application);
        FAIL() << "built without a description";
    } catch (const EReadError &error) {
        EXPECT_EQ(error.Message(), "ウィンドウの記述 TMISSING が見つかりません");
        EXPECT_EQ(TApplication::StartupFailureText(error, L"C:\\rilo_mj.exe"),
                  L"モジュール 'C:\\rilo_mj.exe' で例外 EReadError が発生しました。\n"
                  L"ウィンドウの記述 TMISSING が見つかりません.");
    }
    EXPECT_EQ(FindWindowW(L"TMissing", nullptr), nullptr);
}

// What the program says about itself: its version, and, from its manifest,
// that it lays itself out for the screen's resolution.
TEST(Resources, VersionAndDpiAwareness)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data()));
    auto value = [&](const wchar_t *name) {
        wchar_t *text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void **>(&text), &length))
            return std::wstring();
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"rilo_mj");
    EXPECT_EQ(value(L"ProductVersion"), Widen(RILO_VERSION));
    EXPECT_EQ(value(L"FileVersion"), Widen(RILO_VERSION));

    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST(ErrorReport, ShownTextCutsOnlyWhatWouldNotFit)
{
    const std::wstring fits = L"'12a' は整数ではありません.";
    EXPECT_EQ(TApplication::ShownText(fits), fits);

    std::wstring manyLines;
    for (int i = 0; i < 100; ++i)
        manyLines += L"line\r\n";
    const std::wstring cutLines = TApplication::ShownText(manyLines);
    EXPECT_EQ(std::count(cutLines.begin(), cutLines.end(), L'\n'),
              TApplication::kMaxShownLines - 1);
    EXPECT_EQ(cutLines.back(), L'…');

    // A long word is broken into lines; the whole stays within the limits.
    const std::wstring word(150, L'x');
    EXPECT_EQ(TApplication::ShownText(word), std::wstring(64, L'x') + L'\n' +
                                                 std::wstring(64, L'x') + L'\n' +
                                                 std::wstring(22, L'x'));
    const std::wstring longWord(100000, L'x');
    const std::wstring cutWord = TApplication::ShownText(longWord);
    EXPECT_LE(cutWord.size(), TApplication::kMaxShownCharacters + 1);
    EXPECT_EQ(cutWord.back(), L'…');

    // A character outside the basic plane is never split.
    std::wstring pairs;
    for (int i = 0; i < 40; ++i)
        pairs += L"😀 ";
    const std::wstring pairsCut = TApplication::ShownText(
        std::wstring(TApplication::kMaxShownCharacters - 1 - pairs.size(), L' ') + pairs + L"😀😀");
    EXPECT_EQ(pairsCut.substr(pairsCut.size() - 4), L"😀 …");
}
