// The yardstick for start-up figures: a Qt Widgets program that does nothing but show one empty
// window. Whatever the launcher costs beyond this is its own doing.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return QApplication::exec();
}
