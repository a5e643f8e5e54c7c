#pragma once

#include "CommandHost.h"
#include "WindowDescription.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Base of the program's windows, each built from a window description that
// the program carries as a resource (RCDATA) under the description's class
// name.
//
// It gives a window the behaviour a calculator form is expected to have: a
// fixed dialog frame with the close button alone, its place on the screen from
// the description's Left and Top, the description's font, its layout scaled
// with the font on a screen of another resolution, Tab and Shift+Tab through
// the description's tab sequence (an edit box entered that way selects its
// text), Enter alone pressing the focused button and nothing else, Esc doing
// nothing, the focus kept while the window is inactive, and tooltips.
class TForm
{
public:
    TForm(const TForm &) = delete;
    TForm &operator=(const TForm &) = delete;
    virtual ~TForm();

    HWND Handle() const noexcept { return handle_; }
    const WindowDescription &Description() const noexcept { return description_; }

    // The component of that name; throws EReadError when there is none.
    HWND Component(std::wstring_view name) const;

    // The keyboard handling above. Call for every message the message loop
    // takes before it is translated; true means that the message has been
    // handled and must not be dispatched.
    bool PreTranslateMessage(const MSG &msg);

    // The same for whichever window of the program the message is meant for.
    static bool PreTranslate(const MSG &msg);

    // The pixels per inch the layout has been made for, and the height of the
    // window's font in pixels as a LOGFONT gives it.
    UINT PixelsPerInch() const noexcept { return pixelsPerInch_; }
    int FontHeight() const noexcept { return fontHeight_; }
    HWND ToolTip() const noexcept { return toolTip_; }

protected:
    // Builds the window, hidden. pixelsPerInch 0 means the screen's.
    TForm(CommandHost &owner, const wchar_t *windowClass, const wchar_t *descriptionName,
          UINT pixelsPerInch = 0);

    // Runs the handler, given the button as sender, when the button is clicked.
    template <class Form> void BindClick(HWND button, void (Form::*handler)(HWND Sender))
    {
        BindClick(button,
                  [this, button, handler] { (static_cast<Form *>(this)->*handler)(button); });
    }
    void BindClick(HWND button, std::function<void()> handler);

    CommandHost &Owner() const noexcept { return owner_; }

private:
    struct Control
    {
        const ComponentDescription *description;
        HWND handle;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateToolTip();
    void Layout(UINT pixelsPerInch);
    void MoveFocus(bool forward);
    void RestoreFocus();

    CommandHost &owner_;
    WindowDescription description_;
    HWND handle_ = nullptr;
    HWND toolTip_ = nullptr;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    UINT pixelsPerInch_ = 96;
    int fontHeight_ = 0;
    std::vector<Control> controls_; // in the order of the description
    std::vector<HWND> tabStops_;
    HWND lastFocus_ = nullptr;
    std::vector<std::pair<HWND, std::function<void()>>> clickHandlers_;
};
