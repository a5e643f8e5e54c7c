#pragma once

#include <windows.h>

#include <string>

// What the program's windows need of the application that owns them: the
// window they belong to on the task bar, the application title, the report of
// an error that escaped a command, and word that the main window has gone.
class CommandHost
{
public:
    virtual ~CommandHost() = default;

    // The application's own window: the owner of every other window, and the
    // one that carries the task-bar button.
    virtual HWND Handle() const noexcept = 0;
    virtual const std::wstring &Title() const noexcept = 0;

    // Called from inside a catch block at a window procedure's edge: reports
    // the error that is being handled. Never throws.
    virtual void HandleException() noexcept = 0;

    virtual void FormDestroyed(HWND form) noexcept = 0;
};
