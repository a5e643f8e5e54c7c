#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Watches for the boxes a command opens (the program's message box and the
// system's), notes what they show and closes them, so that a test can run a
// command that waits for a box to be closed.
//
// A box of the program is first sent Ctrl+C, and what lands on the clipboard
// is noted too. It runs on a thread timer: the modal loop of the box itself
// calls it.
class ModalBoxes
{
public:
    enum class CloseBy
    {
        Enter,
        Escape,
        OkButton,
        CloseButton
    };

    struct Box
    {
        std::wstring windowClass;
        std::wstring title;
        std::wstring text;   // what the box shows
        std::wstring copied; // what Ctrl+C put on the clipboard (program's box only)
        bool hasIcon = false;
        std::vector<std::wstring> buttons;
        RECT window{}; // on the screen
        RECT client{}; // on the screen
        RECT button{}; // of the first button, on the screen
        HWND owner = nullptr;
        bool ownerEnabled = true;
        bool othersDisabled = false; // the program's other windows took no input
    };

    explicit ModalBoxes(CloseBy closeBy = CloseBy::Enter);
    ~ModalBoxes();
    ModalBoxes(const ModalBoxes &) = delete;
    ModalBoxes &operator=(const ModalBoxes &) = delete;

    std::vector<Box> seen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Step();
    void Close(HWND box);

    CloseBy closeBy_;
    UINT_PTR timer_ = 0;
    HWND copying_ = nullptr; // the box that has been sent Ctrl+C
    std::vector<HWND> closed_;
};

// Sets or clears Shift and Ctrl in this thread's key state, which is what the
// windows look at when a key message arrives.
void SetModifiers(bool shift, bool control);

// The text on the clipboard, empty when there is none.
std::wstring ClipboardText();
