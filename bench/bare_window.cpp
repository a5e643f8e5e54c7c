// The yardsticks for the program's start-up: an empty Qt window of the
// calculator's size, shown, with the message loop running; built a second
// time with one line of Japanese text in it, which is the least any window
// with text pays for starting the font system.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(325, 308);
#ifdef RILO_BARE_WITH_LABEL
    QLabel label(QStringLiteral("点数"), &window);
    label.move(16, 8);
#endif
    window.show();
    return application.exec();
}
