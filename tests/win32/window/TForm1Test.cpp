#include "FormFixture.h"
#include "LargeLossNotice.h"
#include "TMessageBox.h"
#include "Utf.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The component's rectangle in the window's client area.
RECT ClientRect(HWND form, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

LOGFONTW FontOf(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

struct ComponentCase
{
    const wchar_t *name;
    const wchar_t *windowClass;
    int left, top, width, height; // in the window's client area
    const wchar_t *caption;       // nullptr for the edit boxes
};

const ComponentCase kComponents[] = {
    {L"GroupBox1", L"Button", 16, 8, 137, 185, L"点数"},
    {L"Label1", L"Static", 32, 32, 20, 12, L"１位"},
    {L"Label2", L"Static", 32, 72, 20, 12, L"２位"},
    {L"Label3", L"Static", 32, 112, 20, 12, L"３位"},
    {L"Label4", L"Static", 32, 152, 20, 12, L"４位"},
    {L"Edit1", L"Edit", 64, 32, 73, 20, nullptr},
    {L"Edit2", L"Edit", 64, 72, 73, 20, nullptr},
    {L"Edit3", L"Edit", 64, 112, 73, 20, nullptr},
    {L"Edit4", L"Edit", 64, 152, 73, 20, nullptr},
    {L"GroupBox2", L"Button", 16, 208, 241, 81, L"サシウマ・レート"},
    {L"Label5", L"Static", 32, 232, 52, 12, L"３位→２位"},
    {L"Label6", L"Static", 96, 232, 52, 12, L"４位→１位"},
    {L"Label7", L"Static", 168, 232, 44, 12, L"１０００点"},
    {L"Label11", L"Static", 216, 256, 25, 12, L"Zeny"},
    {L"Edit5", L"Edit", 32, 248, 57, 20, nullptr},
    {L"Edit6", L"Edit", 96, 248, 57, 20, nullptr},
    {L"Edit9", L"Edit", 168, 248, 41, 20, nullptr},
    {L"GroupBox3", L"Button", 168, 56, 137, 137, L"支払い"},
    {L"Label9", L"Static", 184, 80, 52, 12, L"４位→１位"},
    {L"Label10", L"Static", 184, 136, 52, 12, L"３位→２位"},
    {L"Edit7", L"Edit", 184, 96, 97, 20, nullptr},
    {L"Edit8", L"Edit", 184, 152, 97, 20, nullptr},
    {L"Button1", L"Button", 168, 16, 75, 25, L"計算"},
    {L"Button2", L"Button", 256, 16, 43, 25, L"Clear"},
};

} // namespace

class TForm1Test : public FormFixture
{};

TEST_F(TForm1Test, ComponentsAsTheDescriptionGivesThem)
{
    HWND toolTip = form->ToolTip();
    ASSERT_NE(toolTip, nullptr);
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 2);

    for (const ComponentCase &expected : kComponents) {
        SCOPED_TRACE(testing::Message() << Narrow(expected.name));
        HWND control = form->Component(expected.name);
        EXPECT_EQ(GetParent(control), form->Handle());
        EXPECT_EQ(ClassOf(control), expected.windowClass);

        const RECT rect = ClientRect(form->Handle(), control);
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, expected.top);
        if (std::wstring(expected.name).rfind(L"Label", 0) == 0) {
            // Labels are as large as their caption, and stay inside their group.
            EXPECT_GT(rect.right - rect.left, 0);
            EXPECT_LE(rect.right, ClientRect(form->Handle(), form->GroupBox2).right);
        } else {
            EXPECT_EQ(rect.right - rect.left, expected.width);
            EXPECT_EQ(rect.bottom - rect.top, expected.height);
        }
        if (expected.caption) {
            EXPECT_EQ(Text(control), expected.caption);
        }

        // The window's font everywhere, the payment fields in bold.
        const LOGFONTW font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
        EXPECT_EQ(font.lfHeight, -12);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        const bool payment = control == form->Edit7 || control == form->Edit8;
        EXPECT_EQ(font.lfWeight, payment ? FW_BOLD : FW_NORMAL);

        // Edit boxes take any text of any length.
        if (ClassOf(control) == L"Edit") {
            EXPECT_GE(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
        }

        // Only the buttons carry tooltips.
        wchar_t tip[128] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form->Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = tip;
        const bool hasTip =
            SendMessageW(toolTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
        EXPECT_EQ(hasTip, control == form->Button1 || control == form->Button2);
        if (control == form->Button1) {
            EXPECT_STREQ(tip, L"支払いZenyを計算します");
        } else if (control == form->Button2) {
            EXPECT_STREQ(tip, L"サシウマ・レートの設定以外をクリアします");
        }
    }
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 0);
    EXPECT_EQ(SendMessageW(toolTip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2500);
}

// A screen reader names a field after the static text just before it.
TEST_F(TForm1Test, EachFieldFollowsItsLabel)
{
    const std::pair<HWND, HWND> pairs[] = {
        {form->Label1, form->Edit1}, {form->Label2, form->Edit2}, {form->Label3, form->Edit3},
        {form->Label4, form->Edit4}, {form->Label5, form->Edit5}, {form->Label6, form->Edit6},
        {form->Label7, form->Edit9}, {form->Label9, form->Edit7}, {form->Label10, form->Edit8},
    };
    for (const auto &[label, field] : pairs)
        EXPECT_EQ(GetWindow(field, GW_HWNDPREV), label) << Narrow(Text(label));
}

TEST_F(TForm1Test, Window)
{
    HWND window = form->Handle();
    EXPECT_EQ(Text(window), L"雀荘Rilo店簡易計算機('A`)");
    RECT client, outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    EXPECT_EQ(client.right, 325);
    EXPECT_EQ(client.bottom, 308);
    EXPECT_EQ(outer.left, 192);
    EXPECT_EQ(outer.top, 107);

    // A fixed dialog frame with the close button alone and no icon.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);

    // Owned by the application's window, which alone has the task-bar button.
    EXPECT_EQ(GetWindow(window, GW_OWNER), application->Handle());
    EXPECT_EQ(GetWindow(application->Handle(), GW_OWNER), nullptr);
    EXPECT_EQ(Text(application->Handle()), application->Title());
    EXPECT_TRUE(IsWindowVisible(application->Handle()));
    for (WPARAM size : {ICON_BIG, ICON_SMALL})
        EXPECT_NE(SendMessageW(application->Handle(), WM_GETICON, size, 0), 0);
    for (int index : {GCLP_HICON, GCLP_HICONSM})
        EXPECT_NE(GetClassLongPtrW(application->Handle(), index), 0u);
}

TEST_F(TForm1Test, StartValuesAndOpeningFocus)
{
    for (int number : {1, 2, 3, 4, 5, 6})
        EXPECT_EQ(Text(Edit(number)), L"0") << "Edit" << number;
    EXPECT_EQ(Text(form->Edit9), L"1000");
    EXPECT_EQ(Text(form->Edit7), L"");
    EXPECT_EQ(Text(form->Edit8), L"");

    EXPECT_EQ(GetFocus(), form->Edit1);
    DWORD start = 0, end = 0;
    SendMessageW(form->Edit1, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 1u);
}

TEST_F(TForm1Test, CalculateAndClear)
{
    ModalBoxes boxes;
    Click(form->Button1);
    EXPECT_EQ(Text(form->Edit7), L" 0z");
    EXPECT_EQ(Text(form->Edit8), L" 0z");

    SetInputs({L"45000", L"35000", L"15000", L"5000", L"300", L"500", L"500"});
    SetWindowTextW(form->Edit7, L"typed by hand");
    Click(form->Button1);
    EXPECT_EQ(Text(form->Edit7), L" 20,500z");
    EXPECT_EQ(Text(form->Edit8), L" 10,300z");

    Click(form->Button2);
    for (int number : {1, 2, 3, 4})
        EXPECT_EQ(Text(Edit(number)), L"0");
    EXPECT_EQ(Text(form->Edit5), L"300");
    EXPECT_EQ(Text(form->Edit6), L"500");
    EXPECT_EQ(Text(form->Edit9), L"500");
    EXPECT_EQ(Text(form->Edit7), L"");
    EXPECT_EQ(Text(form->Edit8), L"");
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_TRUE(errorBoxes.empty());
}

// A text that is not an integer stops Calculate at its field: the error box
// says so, the payment fields keep what was written before, no notice.
class ConversionError : public FormFixture, public testing::WithParamInterface<std::pair<int, bool>>
{};

TEST_P(ConversionError, AtEachField)
{
    const auto [field, edit7Written] = GetParam();
    SetInputs({L"2000000", L"35000", L"15000", L"0", L"0", L"0", L"1000"});
    SetWindowTextW(form->Edit7, L"old7");
    SetWindowTextW(form->Edit8, L"old8");
    SetWindowTextW(Edit(field), L"12a");
    SetFocus(form->Edit3);

    ModalBoxes boxes;
    Click(form->Button1);

    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0].title, application->Title());
    EXPECT_EQ(errorBoxes[0].text, L"'12a' は整数ではありません.");
    EXPECT_EQ(errorBoxes[0].flags, UINT{MB_OK | MB_ICONSTOP});
    EXPECT_EQ(errorBoxes[0].owner, form->Handle());
    EXPECT_TRUE(boxes.seen.empty()) << "no notice, though payment 1 is in the millions";

    EXPECT_EQ(Text(form->Edit7), edit7Written ? L" 2,000,000z" : L"old7");
    EXPECT_EQ(Text(form->Edit8), L"old8");
    EXPECT_EQ(Text(Edit(field)), L"12a");
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(GetFocus(), form->Edit3);
}

INSTANTIATE_TEST_SUITE_P(TForm1Test, ConversionError,
                         testing::Values(std::pair{1, false}, std::pair{4, false},
                                         std::pair{9, false}, std::pair{6, false},
                                         std::pair{2, true}, std::pair{3, true},
                                         std::pair{5, true}),
                         [](const auto &info) {
                             return "Edit" + std::to_string(info.param.first);
                         });

TEST_F(TForm1Test, ClearAfterConversionError)
{
    SetWindowTextW(form->Edit2, L"abc");
    SetWindowTextW(form->Edit6, L" ");
    Click(form->Button1);
    Click(form->Button2);
    Click(form->Button1); // the side bet is still bad: the same error again
    ASSERT_EQ(errorBoxes.size(), 2u);
    EXPECT_EQ(errorBoxes[0].text, L"' ' は整数ではありません.");
    EXPECT_EQ(errorBoxes[1].text, errorBoxes[0].text);

    SetWindowTextW(form->Edit6, L"0");
    Click(form->Button1);
    EXPECT_EQ(errorBoxes.size(), 2u);
    EXPECT_EQ(Text(form->Edit7), L" 0z");
}

// The real system box, closed as a user would: the same title and text, the
// stop icon, and the window back in use afterwards with its focus.
TEST_F(TForm1Test, ErrorBoxIsTheSystemMessageBox)
{
    application->SetMessageBoxFunction(&MessageBoxW);
    SetWindowTextW(form->Edit1, L"x");
    SetFocus(form->Edit3);
    Pump();
    {
        ModalBoxes boxes(ModalBoxes::CloseBy::Enter);
        Click(form->Button1);
        ASSERT_EQ(boxes.seen.size(), 1u);
        const ModalBoxes::Box &box = boxes.seen[0];
        EXPECT_EQ(box.windowClass, L"#32770");
        EXPECT_EQ(box.title, application->Title());
        EXPECT_EQ(box.text, L"'x' は整数ではありません.");
        EXPECT_TRUE(box.hasIcon);
        EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(box.owner, form->Handle());
        EXPECT_FALSE(box.ownerEnabled) << "the window takes no input meanwhile";
    }
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(GetFocus(), form->Edit3);
    SetWindowTextW(form->Edit1, L"0");
    Click(form->Button1); // usable at once
    EXPECT_EQ(Text(form->Edit7), L" 0z");
}

struct NoticeCase
{
    const char *name;
    std::vector<std::wstring> inputs; // Edit1..Edit6, Edit9
    Zeny payment1;
};

class Notice : public FormFixture, public testing::WithParamInterface<NoticeCase>
{};

TEST_P(Notice, ShownForLargePayment1Only)
{
    SetInputs(GetParam().inputs);
    SetFocus(form->Edit2);
    ModalBoxes boxes;
    Click(form->Button1);

    const std::wstring expected = Widen(ComposeLargeLossNotice(GetParam().payment1));
    if (expected.empty()) {
        EXPECT_TRUE(boxes.seen.empty());
        return;
    }
    ASSERT_EQ(boxes.seen.size(), 1u);
    const ModalBoxes::Box &box = boxes.seen[0];
    EXPECT_EQ(box.windowClass, L"TMessageBox");
    EXPECT_EQ(box.title, application->Title());
    EXPECT_EQ(box.copied, expected);
    EXPECT_EQ(box.text, expected);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(box.othersDisabled);

    // The button centred beneath the text, the box centred on the screen.
    const int buttonCentre = (box.button.left + box.button.right) / 2;
    EXPECT_LE(std::abs(buttonCentre - (box.client.left + box.client.right) / 2), 1);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs(box.window.left + box.window.right - screenWidth), 1);
    EXPECT_LE(std::abs(box.window.top + box.window.bottom - screenHeight), 1);
    EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_DISABLED);
    EXPECT_EQ(GetFocus(), form->Edit2);
}

INSTANTIATE_TEST_SUITE_P(
    TForm1Test, Notice,
    testing::Values(
        NoticeCase{"NoneAt100000", {L"100000", L"0", L"0", L"0", L"0", L"0", L"1000"}, 100000},
        NoticeCase{"Thousands", {L"100001", L"0", L"0", L"0", L"0", L"0", L"1000"}, 100001},
        NoticeCase{"Millions", {L"0", L"0", L"0", L"0", L"0", L"1000000", L"1000"}, 1000000},
        NoticeCase{"Reversed", {L"10000", L"0", L"0", L"20000", L"0", L"0", L"1000"}, -10000},
        NoticeCase{"LargePayment2Only", {L"0", L"90000000", L"0", L"0", L"0", L"0", L"1000"}, 0}),
    [](const auto &info) { return std::string(info.param.name); });

class NoticeCloses : public FormFixture, public testing::WithParamInterface<ModalBoxes::CloseBy>
{};

TEST_P(NoticeCloses, EveryWay)
{
    SetInputs({L"2000000", L"0", L"0", L"0", L"0", L"0", L"1000"});
    {
        ModalBoxes boxes(GetParam());
        Click(form->Button1);
        ASSERT_EQ(boxes.seen.size(), 1u);
    }
    // Closed, and the command over: the next one runs.
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    Click(form->Button2);
    EXPECT_EQ(Text(form->Edit7), L"");
}

INSTANTIATE_TEST_SUITE_P(TForm1Test, NoticeCloses,
                         testing::Values(ModalBoxes::CloseBy::Enter, ModalBoxes::CloseBy::Escape,
                                         ModalBoxes::CloseBy::OkButton,
                                         ModalBoxes::CloseBy::CloseButton));

TEST_F(TForm1Test, TabSequenceSelectsTheTextOfEachField)
{
    const HWND sequence[] = {form->Edit1, form->Edit2,   form->Edit3,   form->Edit4,
                             form->Edit5, form->Edit6,   form->Edit9,   form->Edit7,
                             form->Edit8, form->Button1, form->Button2, form->Edit1};
    SetWindowTextW(form->Edit7, L" 1,000z");
    ASSERT_EQ(GetFocus(), form->Edit1);
    for (std::size_t i = 1; i < std::size(sequence); ++i) {
        Press(VK_TAB);
        ASSERT_EQ(GetFocus(), sequence[i]) << "step " << i;
        if (ClassOf(sequence[i]) == L"Edit") {
            DWORD start = 1, end = 0;
            SendMessageW(sequence[i], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, Text(sequence[i]).size());
        }
    }
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), form->Button2);
    Press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), form->Button1);
}

TEST_F(TForm1Test, ClickIntoAFieldSelectsNothing)
{
    SetWindowTextW(form->Edit4, L"12345");
    SendMessageW(form->Edit4, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    SendMessageW(form->Edit4, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    Pump();
    EXPECT_EQ(GetFocus(), form->Edit4);
    DWORD start = 0, end = 0;
    SendMessageW(form->Edit4, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
}

// Enter presses only the focused button, and only when pressed alone; Esc
// runs nothing anywhere.
TEST_F(TForm1Test, EnterAndEscape)
{
    ModalBoxes boxes;
    for (HWND field : {form->Edit1, form->Edit4, form->Edit9, form->Edit7}) {
        SetFocus(field);
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        EXPECT_EQ(Text(form->Edit7), L"") << "Enter in a field runs nothing";
    }
    SetFocus(form->Button1);
    Press(VK_ESCAPE);
    Press(VK_RETURN, true);
    Press(VK_RETURN, false, true);
    EXPECT_EQ(Text(form->Edit7), L"");
    Press(VK_RETURN);
    EXPECT_EQ(Text(form->Edit7), L" 0z") << "Enter on 計算 calculates";

    SetWindowTextW(form->Edit1, L"5");
    SetFocus(form->Button2);
    Press(VK_ESCAPE);
    EXPECT_EQ(Text(form->Edit1), L"5");
    Press(VK_RETURN);
    EXPECT_EQ(Text(form->Edit1), L"0") << "Enter on Clear clears";
    EXPECT_EQ(Text(form->Edit7), L"");
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(TForm1Test, ClosingTheWindowEndsTheLoopWithZero)
{
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(form->Handle()));
    EXPECT_EQ(quitCode, 0);
}

TEST_F(TForm1Test, TaskBarButtonMinimisesAndRestores)
{
    HWND app = application->Handle();
    SendMessageW(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    SendMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));

    // Close on the button's menu closes the calculator window.
    SendMessageW(app, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindow(form->Handle()));
    EXPECT_EQ(quitCode, 0);
}

TEST_F(TForm1Test, SessionEndEndsTheProgramWithZero)
{
    static UINT exitCode = 99;
    application->SetExitProcessFunction([](UINT code) { exitCode = code; });
    EXPECT_EQ(SendMessageW(application->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(application->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(exitCode, 0u);
}

// On a screen of another resolution the font grows with it, and the layout
// with the height "0" then has; the window stays where it was put.
TEST_F(TForm1Test, ScaledOnAScreenOf144PixelsPerInch)
{
    TForm1 large(*application, 144);
    EXPECT_EQ(large.FontHeight(), -18);
    EXPECT_EQ(FontOf(large.Edit1).lfHeight, -18);

    HDC dc = GetDC(nullptr);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(large.Edit1, WM_GETFONT, 0, 0)));
    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    auto scaled = [&](int value) {
        return MulDiv(value, zero.cy, 12);
    };

    RECT client, outer;
    GetClientRect(large.Handle(), &client);
    GetWindowRect(large.Handle(), &outer);
    EXPECT_EQ(client.right, scaled(325));
    EXPECT_EQ(client.bottom, scaled(308));
    EXPECT_EQ(outer.left, 192);
    EXPECT_EQ(outer.top, 107);
    const RECT edit9 = ClientRect(large.Handle(), large.Edit9);
    EXPECT_EQ(edit9.left, scaled(16) + scaled(152));
    EXPECT_EQ(edit9.top, scaled(208) + scaled(40));
    EXPECT_EQ(edit9.right - edit9.left, scaled(41));
    EXPECT_EQ(edit9.bottom - edit9.top, scaled(20));
}

class MessageBoxTest : public FormFixture
{
protected:
    ModalBoxes::Box ShowBox(const std::wstring &text)
    {
        ModalBoxes boxes;
        TMessageBox::Show(*application, L"title", text);
        EXPECT_EQ(boxes.seen.size(), 1u);
        return boxes.seen.empty() ? ModalBoxes::Box{} : boxes.seen[0];
    }
};

// Lines wrap only where they are wider than half the screen.
TEST_F(MessageBoxTest, WrapsOnlyLinesWiderThanHalfTheScreen)
{
    const int half = GetSystemMetrics(SM_CXSCREEN) / 2;

    const ModalBoxes::Box narrow = ShowBox(L"short line\r\nanother\r\n");
    const ModalBoxes::Box wide = ShowBox(L"short line\r\nanother\r\n" + [] {
        std::wstring line;
        for (int i = 0; i < 200; ++i)
            line += L"word ";
        return line;
    }());
    EXPECT_LT(narrow.client.right - narrow.client.left, half / 2);
    // The long line is laid out at the width limit, in several lines.
    const int wideText = wide.client.right - wide.client.left;
    EXPECT_GT(wideText, half * 3 / 4);
    EXPECT_LE(wideText, half + 2 * MulDiv(12, static_cast<int>(GetDpiForSystem()), 96));
    EXPECT_GT(wide.client.bottom - wide.client.top, 2 * (narrow.client.bottom - narrow.client.top));
}

// A text too long for the screen: the box is cut to fit, Ctrl+C copies all.
TEST_F(MessageBoxTest, HugeTextFitsOnTheScreenAndIsCopiedWhole)
{
    std::wstring text;
    for (int i = 0; i < 3000; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    const ModalBoxes::Box box = ShowBox(text);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(box.window.left, work.left);
    EXPECT_GE(box.window.top, work.top);
    EXPECT_LE(box.window.right, work.right);
    EXPECT_LE(box.window.bottom, work.bottom);
    EXPECT_LE(box.button.bottom, box.client.bottom) << "the OK button stays on the screen";
    EXPECT_EQ(box.copied, text);
}

// Moved to a screen of another resolution: the same rule, at the place
// Windows suggests.
TEST_F(TForm1Test, DpiChangeScalesTheLayoutAgain)
{
    RECT suggested{300, 200, 800, 700};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->FontHeight(), -18);
    EXPECT_EQ(FontOf(form->Edit7).lfHeight, -18);
    EXPECT_EQ(FontOf(form->Edit7).lfWeight, FW_BOLD);
    RECT outer, client;
    GetWindowRect(form->Handle(), &outer);
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(outer.left, 300);
    EXPECT_EQ(outer.top, 200);
    EXPECT_GT(client.right, 325 * 5 / 4);

    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96),
                 reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 325);
    EXPECT_EQ(client.bottom, 308);
    EXPECT_EQ(ClientRect(form->Handle(), form->Edit9).left, 168);
}

// Any text may stand in a field: the error box quoting a huge one still fits
// the screen, with its OK button on it.
TEST_F(TForm1Test, ErrorBoxForAHugeTextFitsTheScreen)
{
    application->SetMessageBoxFunction(&MessageBoxW);
    std::wstring huge;
    for (int i = 0; i < 3000; ++i)
        huge += L"1234567890 abcdefghij\r\n";
    SetWindowTextW(form->Edit2, huge.c_str());
    ModalBoxes boxes;
    Click(form->Button1);
    SetWindowTextW(form->Edit2, std::wstring(100000, L'x').c_str()); // one long word
    Click(form->Button1);
    ASSERT_EQ(boxes.seen.size(), 2u);
    for (const ModalBoxes::Box &box : boxes.seen) {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_GE(box.window.top, work.top);
        EXPECT_LE(box.window.bottom, work.bottom);
        EXPECT_GE(box.window.left, work.left);
        EXPECT_LE(box.window.right, work.right);
        EXPECT_LE(box.button.bottom, work.bottom);
        EXPECT_EQ(box.text.back(), L'…');
    }
}
