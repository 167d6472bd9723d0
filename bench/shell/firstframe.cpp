// Preloaded into a GUI program (LD_PRELOAD), ends it as soon as its first frame has been painted
// and flushed, without tearing anything down: start-up measurements end both programs compared
// at the same point, and the programs need no option for it.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdlib>

namespace {

class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The first paint event belongs to the first frame; its painting and flush finish
        // before the event loop runs the zero timer.
        if (!m_seen && event->type() == QEvent::Paint) {
            m_seen = true;
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return false;
    }

private:
    bool m_seen = false;
};

void installFirstFrame()
{
    QCoreApplication::instance()->installEventFilter(new FirstFrame);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstFrame)
