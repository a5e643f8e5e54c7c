#include "TApplication.h"
#include "TForm1.h"

#include <optional>
#include <stdexcept>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    std::optional<TApplication> application;
    try {
        application.emplace(instance);
        application->Initialize();
        application->CreateForm(Form1);
    } catch (const std::exception &error) {
        TApplication::ShowStartupFailure(error);
        return 1;
    } catch (...) {
        TApplication::ShowStartupFailure(std::runtime_error("不明なエラーです"));
        return 1;
    }
    return application->Run(showCommand);
}
