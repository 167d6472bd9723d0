#include "link/sharedobjects.h"
#include "shell/messagehandler.h"
#include "shell/quorix.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    // Before the application object, so that no message reaches the default output.
    qInstallMessageHandler(messageHandler);
    setLogFileSource(mainWindowLogFile);

    int result = 0;
    {
        QApplication application(argc, argv);
        auto window = std::make_unique<Quorix>(nullptr);
        window->show();
        result = application.exec();
        window.reset();
        // The protocol client and the model hold sockets and timers: gone before the
        // application object.
        destroySharedObjects();
    }
    return result;
}
