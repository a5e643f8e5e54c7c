#pragma once

#include "CommandHost.h"

#include <QApplication>

#include <exception>
#include <memory>
#include <string_view>
#include <vector>

class SessionEnd;
class TooltipController;

// The application shell: title, icon and tooltip timing for the whole program,
// the owner of its windows, and the one place where errors are reported.
class TApplication : public QApplication, public CommandHost
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    // Nothing to set up before the windows are created.
    void Initialize() {}

    // Creates a window owned by the application and stores it in reference.
    // The first window created is the main window: closing it ends the program.
    template <class Form> void CreateForm(Form *&reference)
    {
        auto form = std::make_unique<Form>(*this);
        reference = form.get();
        forms_.push_back(std::move(form));
    }

    // Shows the main window and runs the message loop until it is closed or
    // the session ends. Returns the exit code.
    int Run();

    // The title of the application's boxes and its task-bar entry.
    QString Title() const { return applicationName(); }

    TooltipController &Tooltips() { return *tooltips_; }

    // Runs a command; an error that escapes it goes to the error box, and the
    // program goes on. Nothing escapes, not even a failure of the report.
    void RunCommand(const std::function<void()> &command) noexcept override;

    // What the error box says of an error that is no exception object.
    static constexpr const char *kUnknownError = "不明なエラーです";

    // The error box: the message, with a "." appended where it ends in a
    // character above ".", under the application title with the stop icon.
    void ShowException(const QString &message);
    static QString ErrorReportText(const QString &message);

    // Reports an error that escaped the start-up, before the message loop ran.
    void ShowStartupFailure(const std::exception &error);
    static QString StartupFailureText(const std::exception &error, const QString &programFile);

private:
    void Report(std::string_view message) noexcept;

    std::unique_ptr<TooltipController> tooltips_;
    std::unique_ptr<SessionEnd> sessionEnd_;
    std::vector<std::unique_ptr<QWidget>> forms_;
};
