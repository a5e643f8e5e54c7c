#include "ProgramEntry.h"
#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char *argv[])
{
    return RunProgram<TApplication>(argc, argv, [](TApplication &Application) {
        Application.Initialize();
        Application.CreateForm(Form1);
    });
}
