#include "link/logtext.h"
#include "link/sharedobjects.h"
#include "shell/logfile.h"
#include "shell/messagehandler.h"
#include "shell/quorix.h"
#include "shell/quorixstyle.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    // Before the application object, so that no message reaches the default output.
    qInstallMessageHandler(messageHandler);
    setLogFileSource(mainWindowLogFile);
    // The handler writes debug lines only into an open log file; until there is one, and after
    // it has gone, nobody builds them.
    setLogDebugWritten(false);

    int result = 0;
    {
        QApplication application(argc, argv);
        // Over the style the desktop or the command line chose.
        QApplication::setStyle(new QuorixStyle(QApplication::style()->name()));
        auto window = std::make_unique<Quorix>(nullptr);
        setLogDebugWritten(window->logFile() && window->logFile()->isOpen());
        window->show();
        result = application.exec();
        setLogDebugWritten(false);
        window.reset();
        // The protocol client and the model hold sockets and timers: gone before the
        // application object.
        destroySharedObjects();
    }
    return result;
}
