#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char *argv[])
{
    TApplication Application(argc, argv);
    try {
        Application.Initialize();
        Application.CreateForm(Form1);
    } catch (const std::exception &error) {
        Application.ShowStartupFailure(error);
        return 1;
    }
    return Application.Run();
}
