// The yardstick for the program's start-up: the program's own window
// description, ui/TForm1.ui, shown by the least Qt main there is, with the
// message loop running. What the program costs beyond this is its own.
#include "ui_TForm1.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    Ui::TFORM1 ui;
    ui.setupUi(&window);
    window.show();
    return application.exec();
}
