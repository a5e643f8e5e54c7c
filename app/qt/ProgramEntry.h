#pragma once

#include "ApplicationTitle.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

// Runs the program: builds the application, lets start create its windows,
// and runs the message loop; returns the exit code.
//
// Nothing escapes. An error while the windows are created is reported in the
// start-up failure box, with exit code 1. Should the application itself not
// be built, or the report fail, one line goes to standard error instead, also
// with exit code 1.
// One line on standard error, under the application title.
inline void PrintCannotStart(int argc, char **argv, const char *why) noexcept
{
    try {
        std::fprintf(stderr, "%s: cannot start: %s\n",
                     ApplicationTitle(ProgramFile(argc, argv)).toLocal8Bit().constData(), why);
    } catch (...) {
        std::fprintf(stderr, "rilo_mj: cannot start: %s\n", why);
    }
}

template <class Application, class Start>
int RunProgram(int &argc, char **argv, Start start) noexcept
{
    try {
        Application application(argc, argv);
        try {
            start(application);
        } catch (const std::exception &error) {
            application.ShowStartupFailure(error);
            return 1;
        } catch (...) {
            application.ShowStartupFailure(std::runtime_error(Application::kUnknownError));
            return 1;
        }
        return application.Run();
    } catch (const std::exception &error) {
        PrintCannotStart(argc, argv, error.what());
    } catch (...) {
        PrintCannotStart(argc, argv, Application::kUnknownError);
    }
    return 1;
}
