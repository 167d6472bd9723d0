#include "link/sharedobjects.h"

#include <QtTest>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

QStringList s_events;
bool s_failNextConstruction = false;
// Set in the child run that ends without an application: events also go to standard output,
// since the child's own record is gone with it.
bool s_printEvents = false;

void record(const QString &event)
{
    s_events << event;
    if (s_printEvents) {
        std::fputs(qPrintable(event + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    }
}

// A shared object as the program has them: a QObject holding a timer, built from an optional
// other shared object.
class Shared : public QObject
{
public:
    explicit Shared(const QString &name, Shared *base = nullptr)
        : m_name(name)
        , m_base(base)
    {
        if (s_failNextConstruction) {
            s_failNextConstruction = false;
            throw std::runtime_error("refused");
        }
        m_timer.start(1000);
        record(QStringLiteral("+") + m_name);
    }
    ~Shared() override { record(QStringLiteral("-") + m_name); }

    Shared *base() const { return m_base; }

private:
    QString m_name;
    Shared *m_base;
    QTimer m_timer;
};

struct Client : Shared
{
    Client()
        : Shared(QStringLiteral("client"))
    {}
};

Client *client()
{
    static SharedObject<Client> instance;
    return instance.instance();
}

Shared *device()
{
    static SharedObject<Shared> instance;
    return instance.instance([] { return QStringLiteral("device"); });
}

// Built from the client, like the model objects.
struct Controller : Shared
{
    explicit Controller(Shared *com)
        : Shared(QStringLiteral("controller"), com)
    {}
};

Controller *controller()
{
    static SharedObject<Controller> instance;
    return instance.instance([] { return client(); });
}

// Its destructor reaches for another shared object that is already gone.
struct Needy : Shared
{
    Needy()
        : Shared(QStringLiteral("needy"))
    {}
    ~Needy() override { device(); }
};

Needy *needy()
{
    static SharedObject<Needy> instance;
    return instance.instance();
}

} // namespace

class tst_SharedObjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { s_events.clear(); }
    void cleanup() { destroySharedObjects(); }

    void createdOnce();
    void destroyedInReverseOrder();
    void freshAfterReset();
    void destructorReachingForOthers();
    void failedConstructionRetries();
    void exitWithoutApplication();
};

void tst_SharedObjects::createdOnce()
{
    Controller *first = controller();
    QVERIFY(first);
    QCOMPARE(controller(), first);
    // The controller's accessor built the client first, and both are shared.
    QCOMPARE(first->base(), client());
    QCOMPARE(s_events, QStringList({"+client", "+controller"}));
    QCOMPARE(sharedObjectCount(), 2);
}

void tst_SharedObjects::destroyedInReverseOrder()
{
    device();
    controller();
    destroySharedObjects();
    QCOMPARE(
        s_events,
        QStringList({"+device", "+client", "+controller", "-controller", "-client", "-device"}));
    QCOMPARE(sharedObjectCount(), 0);
}

void tst_SharedObjects::freshAfterReset()
{
    client();
    destroySharedObjects();
    client();
    QCOMPARE(s_events, QStringList({"+client", "-client", "+client"}));
    QCOMPARE(sharedObjectCount(), 1);
}

void tst_SharedObjects::destructorReachingForOthers()
{
    needy();
    device();
    destroySharedObjects();
    // The device, built again by the needy destructor after its own teardown, goes in the same
    // call.
    QCOMPARE(s_events,
             QStringList({"+needy", "+device", "-device", "+device", "-needy", "-device"}));
    QCOMPARE(sharedObjectCount(), 0);
}

void tst_SharedObjects::failedConstructionRetries()
{
    s_failNextConstruction = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, client());
    QCOMPARE(sharedObjectCount(), 0);
    QVERIFY(client());
    QCOMPARE(s_events, QStringList({"+client"}));
    QCOMPARE(sharedObjectCount(), 1);
}

// A program that ends without the application's teardown still destroys the objects in reverse
// order of construction: the client outlives the controller built from it.
void tst_SharedObjects::exitWithoutApplication()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--exit-without-application")});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    const QStringList events = QString::fromLatin1(child.readAllStandardOutput())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(events, QStringList({"+client", "+controller", "-controller", "-client"}));
}

// The objects hold timers, so they have to be gone before the application object is: the
// application's destructor tears them down, once, whatever the tests did before.
static bool teardownWithApplication(int argc, char **argv)
{
    for (int round = 0; round < 2; ++round) {
        s_events.clear();
        {
            QCoreApplication app(argc, argv);
            controller();
            if (round == 0) {
                // A reset in between must not cost the exit teardown.
                destroySharedObjects();
                controller();
            }
        }
        const QStringList tail = s_events.mid(s_events.size() - 2);
        if (tail != QStringList({"-controller", "-client"}) || sharedObjectCount() != 0) {
            qWarning("round %d: shared objects outlived the application", round);
            return false;
        }
    }
    return true;
}

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--exit-without-application") == 0) {
        s_printEvents = true;
        controller();
        return 0;
    }
    if (!teardownWithApplication(argc, argv))
        return 1;
    QCoreApplication app(argc, argv);
    tst_SharedObjects test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedobjects.moc"
