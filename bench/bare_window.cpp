// The yardstick for the program's start-up: an empty Qt window of the
// calculator's size, shown, with the message loop running.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(325, 308);
    window.show();
    return application.exec();
}
