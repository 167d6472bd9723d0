// The bare Qt program the start-up benchmark compares the product with: one empty 800 x 480
// window.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(800, 480);
    window.show();
    return application.exec();
}
