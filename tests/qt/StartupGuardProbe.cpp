// The program's entry with a start-up that fails, the way the first argument
// says: "exception" (an exception object while the windows are created),
// "other" (anything else thrown), or "application" (the application object
// itself cannot be built). Each box that opens is written to standard output
// and closed.
#include "ModalBoxes.h"
#include "ProgramEntry.h"
#include "TApplication.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

struct UnbuildableApplication : TApplication
{
    UnbuildableApplication(int &argc, char **argv) : TApplication(argc, argv)
    {
        throw std::runtime_error("no application");
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const std::string how = argc > 1 ? argv[1] : "";
    if (how == "application")
        return RunProgram<UnbuildableApplication>(argc, argv, [](TApplication &) {});

    std::optional<ModalBoxes> boxes;
    return RunProgram<TApplication>(argc, argv, [&](TApplication &) {
        boxes.emplace();
        boxes->close = [](TMessageBox *box) {
            std::printf("box: %s\n%s\n", qUtf8Printable(box->windowTitle()),
                        qUtf8Printable(box->Text()));
            std::fflush(stdout);
            box->findChild<QPushButton *>(QStringLiteral("OK"))->click();
        };
        if (how == "other")
            throw 42;
        throw std::runtime_error("window description");
    });
}
