#pragma once

#include "CommandHost.h"

#include <string>

// The program's message box: a title, a block of text in the desktop's
// message font and one OK button centred beneath it, no icon. It has a fixed
// frame and opens at the centre of the screen; the button, Enter, Esc and the
// close button all close it, and Ctrl+C copies the whole text.
//
// Lines wrap only where they are wider than half the screen. A box that would
// not fit on the screen is cut to fit; Ctrl+C still copies the whole text.
//
// While it is open the program's other windows take no input.
class TMessageBox
{
public:
    // Shows the box and returns when the user has closed it.
    static void Show(CommandHost &host, const std::wstring &title, const std::wstring &text);

    // The window class of the box, for whoever has to find it on the screen.
    static constexpr wchar_t kWindowClass[] = L"TMessageBox";
    static constexpr int kOkButtonId = IDOK;

private:
    TMessageBox(CommandHost &host, const std::wstring &title, const std::wstring &text);
    ~TMessageBox();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool PreTranslateMessage(const MSG &msg);
    void Layout();
    void CopyText() const;
    void Close();
    void RunModal();

    CommandHost &host_;
    std::wstring text_;
    HWND handle_ = nullptr;
    HWND body_ = nullptr;
    HWND ok_ = nullptr;
    HFONT font_ = nullptr;
    bool closed_ = false;
};
