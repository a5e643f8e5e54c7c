#pragma once

#include "ModalBoxes.h"
#include "TApplication.h"
#include "TForm1.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The application and its calculator window, shown and active, as the
// program starts them; error boxes are recorded instead of shown.
class FormFixture : public ::testing::Test
{
public:
    struct ErrorBox
    {
        HWND owner;
        std::wstring text, title;
        UINT flags;
    };
    static inline std::vector<ErrorBox> errorBoxes;

    static int WINAPI RecordErrorBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT flags)
    {
        errorBoxes.push_back({owner, text, title, flags});
        return IDOK;
    }

protected:
    void SetUp() override
    {
        errorBoxes.clear();
        application = std::make_unique<TApplication>(GetModuleHandleW(nullptr));
        application->SetMessageBoxFunction(&FormFixture::RecordErrorBox);
        application->CreateForm(Form1);
        form = Form1;
        ShowWindow(application->Handle(), SW_SHOWNOACTIVATE);
        ShowWindow(form->Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(form->Handle());
        Pump();
    }

    void TearDown() override
    {
        application.reset();
        Form1 = nullptr;
        Pump(); // takes the end of the loop off the queue
    }

    // Handles what is waiting, as the program's message loop does, for a
    // little while: some of it comes back from the display server.
    void Pump(DWORD milliseconds = 60)
    {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quitCode = static_cast<int>(msg.wParam);
                    continue;
                }
                if (!TForm::PreTranslate(msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        } while (GetTickCount() - start < milliseconds);
    }

    // A key pressed while the focus is where it is, with Shift and Ctrl as
    // given.
    void Press(WPARAM key, bool shift = false, bool control = false)
    {
        SetModifiers(shift, control);
        HWND target = GetFocus() ? GetFocus() : form->Handle();
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
        Pump();
        SetModifiers(false, false);
    }

    // What a click on the button does, without moving the focus.
    void Click(HWND button)
    {
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        Pump();
    }

    static std::wstring Text(HWND window)
    {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    HWND Edit(int number) const
    {
        const HWND edits[] = {nullptr,     form->Edit1, form->Edit2, form->Edit3, form->Edit4,
                              form->Edit5, form->Edit6, form->Edit7, form->Edit8, form->Edit9};
        return edits[number];
    }

    // Edit1..Edit6, Edit9.
    void SetInputs(const std::vector<std::wstring> &texts)
    {
        const int numbers[] = {1, 2, 3, 4, 5, 6, 9};
        for (std::size_t i = 0; i < texts.size(); ++i)
            SetWindowTextW(Edit(numbers[i]), texts[i].c_str());
    }

    std::unique_ptr<TApplication> application;
    TForm1 *form = nullptr;
    int quitCode = -1;
};
