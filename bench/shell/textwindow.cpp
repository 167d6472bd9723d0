// The least a program that shows text pays to start: the bare window program with one line of
// text in the toolkit's default font. Reading the system's font configuration and its fonts for
// that first line is a cost the bare window never has.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Tallydesk"));
    window.resize(800, 480);
    window.show();
    return application.exec();
}
