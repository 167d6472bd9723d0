// tallydesk-walk: runs the front panel offscreen against the demo unit in the same process,
// walks the settings menu and the audio and headphone pages (then with the unit answering later
// than the program waits, typing and tapping meanwhile, and last with edits among the unit's
// configuration events), and writes a transcript of every step: what the panel shows and what
// the unit received. Two runs of the same program write the same bytes, so transcripts of two
// revisions can be compared (scripts/walk.sh).
//
//     tallydesk-walk [transcript file]      (standard output without one)

#include "walkdriver.h"
#include "walkmenu.h"

#include <QApplication>
#include <QFile>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>

namespace {

// Frames and the program's own log lines would only slow the walk; warnings still show.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // What the offscreen platform cannot do (raise a window, grab the keyboard) changes nothing.
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// The walk depends on nothing but the program: the demo unit's switches of the environment are
// cleared, the platform is the offscreen one.
void cleanEnvironment()
{
    const QStringList names = QProcessEnvironment::systemEnvironment().keys();
    for (const QString &name : names) {
        if (name.startsWith(QLatin1String("FAKE_QUORIX_")))
            qunsetenv(name.toLatin1().constData());
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char *argv[])
{
    cleanEnvironment();
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);

    QFile file;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        file.setFileName(arguments.at(1));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "tallydesk-walk: cannot write %s\n", qPrintable(arguments.at(1)));
            return 2;
        }
    } else if (!file.open(stdout, QIODevice::WriteOnly)) {
        return 2;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);

    int status = 0;
    {
        WalkDriver walk(out);
        if (walk.start()) {
            walkPanelPages(walk);
            walkSettingsMenu(walk);
            walkPanelPages(walk);
            walkSlowUnit(walk);
            walkEditsAndEvents(walk);
        } else {
            walk.note(QStringLiteral("the walk could not log in"));
            status = 1;
        }
        walk.finish();
    }
    out.flush();
    return status;
}
