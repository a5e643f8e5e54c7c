#pragma once

#include <functional>

// Runs the commands of the program's windows. The application shell is the
// host: it runs each command under the guard that turns an escaping error into
// the error box, so that no exception ever unwinds through Qt's frames.
class CommandHost
{
public:
    virtual ~CommandHost() = default;

    virtual void RunCommand(const std::function<void()> &command) noexcept = 0;
};
