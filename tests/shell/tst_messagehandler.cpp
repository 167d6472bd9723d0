#include "shell/logfile.h"
#include "shell/messagehandler.h"

#include "link/logtext.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
LogFile *s_log = nullptr;
LogFile *currentLog()
{
    return s_log;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
} // namespace

class TestMessageHandler : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_log = std::make_unique<LogFile>(QStringLiteral("Tallydesk"));
        s_log = nullptr;
        m_previous = qInstallMessageHandler(messageHandler);
    }

    void cleanup()
    {
        qInstallMessageHandler(m_previous);
        setLogFileSource(nullptr);
        s_log = nullptr;
        m_log.reset();
    }

    void lineForm_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("line");

        QTest::newRow("debug") << int(QtDebugMsg) << QByteArray("\"hello\" ")
                               << QByteArray("13:05:09.007 debug \"hello\" \n");
        QTest::newRow("warning") << int(QtWarningMsg) << QByteArray("w")
                                 << QByteArray("13:05:09.007 info  w\n");
        QTest::newRow("critical") << int(QtCriticalMsg) << QByteArray("c")
                                  << QByteArray("13:05:09.007 error c\n");
        QTest::newRow("fatal") << int(QtFatalMsg) << QByteArray("f")
                               << QByteArray("13:05:09.007 fatal f\n");
        QTest::newRow("empty text")
            << int(QtDebugMsg) << QByteArray() << QByteArray("13:05:09.007 debug \n");
        QTest::newRow("line breaks and control characters escaped, tabs kept")
            << int(QtDebugMsg)
            << QByteArray("\"v\"\r\n13:05:09.007 error forged\x1b[31m\x7f\tend", 40)
                   + QByteArray(1, '\0')
            << QByteArray("13:05:09.007 debug \"v\"\\r\\n13:05:09.007 error "
                          "forged\\x1b[31m\\x7f\tend\\x00\n");
        QTest::newRow("long text cut")
            << int(QtDebugMsg) << QByteArray(kMaxLogTextBytes + 10, 'a')
            << QByteArray("13:05:09.007 debug ") + QByteArray(kMaxLogTextBytes, 'a')
                   + QByteArray(" [cut, ") + QByteArray::number(kMaxLogTextBytes + 10)
                   + QByteArray(" bytes in all]\n");
        QTest::newRow("info is not logged") << int(QtInfoMsg) << QByteArray("i") << QByteArray();
    }

    void lineForm()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, line);
        const QByteArray out = messageLine(QtMsgType(type), QTime(13, 5, 9, 7), text);
        QCOMPARE(out, line);
    }

    void messagesReachTheLogOnlyOnceItIsPublished()
    {
        QVERIFY(m_log->open(m_dir.path()));
        logDebug(QStringLiteral("before any source"));
        setLogFileSource(&currentLog);
        logDebug(QStringLiteral("before the main window is published"));
        s_log = m_log.get();

        logDebug(QStringLiteral("RpcConnection::connect(address=127.0.0.1:7001, state=2)"));
        logWarning(QStringLiteral("warned"));
        logCritical(QStringLiteral("failed \"quoted\""));
        qInfo("not logged");
        qDebug("%s", "plain Qt message");
        s_log = nullptr;
        logDebug(QStringLiteral("after the main window has gone"));

        const QList<QByteArray> lines = readAll(m_log->currentFileName()).split('\n');
        QCOMPARE(lines.size(), 5); // four lines and the empty rest after the last newline
        const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$"));
        QStringList rests;
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(time.match(QString::fromLatin1(lines.at(i).left(12))).hasMatch(),
                     lines.at(i).constData());
            rests << QString::fromLatin1(lines.at(i).mid(12));
        }
        QCOMPARE(
            rests,
            QStringList({QStringLiteral(" debug \"RpcConnection::connect(address=127.0.0.1:7001, "
                                        "state=2)\" "),
                         QStringLiteral(" info  \"warned\" "),
                         QStringLiteral(" error \"failed \"quoted\"\" "),
                         QStringLiteral(" debug plain Qt message")}));
        QVERIFY(lines.last().isEmpty());
    }

    // A burst of debug lines takes at most a share of the log: the earlier file with its
    // connect line stays, warnings still get through, and the drop is noted.
    void debugBurstLeavesEarlierFilesAlone()
    {
        m_log->setMaxSize(8 * 1024);
        m_log->setMaxFiles(4);
        QVERIFY(m_log->open(m_dir.path()));
        setLogFileSource(&currentLog);
        s_log = m_log.get();
        logWarning(QStringLiteral("connected"));
        const QString first = m_log->currentFileName();
        for (int i = 0; i < 5000; ++i) {
            logDebug(QStringLiteral("EVENT;event_type:flood;n:%1;").arg(i));
            if (i == 4000)
                logWarning(QStringLiteral("warning in the flood"));
        }
        const auto everything = [this] {
            QByteArray all;
            for (const QString &file : m_log->files())
                all += readAll(file);
            return all;
        };
        QVERIFY(readAll(first).contains("connected"));
        QVERIFY(everything().contains("warning in the flood"));
        QVERIFY(!everything().contains("n:4999;"));

        // The budget refills with time; the first debug line that fits again brings the count.
        QTRY_VERIFY_WITH_TIMEOUT(
            (logDebug(QStringLiteral("later")), everything().contains("later")), 10000);
        const QByteArray all = everything();
        QVERIFY2(QString::fromLatin1(all).contains(QRegularExpression(QStringLiteral(
                     " debug lines dropped in a burst\n[0-9:.]+ debug \"later\" \n"))),
                 all.right(300).constData());
        // Every line of the flood is either in the log or counted as dropped (so are the
        // "later" lines that did not fit yet).
        int dropped = 0;
        auto notes = QRegularExpression(QStringLiteral(" info  (\\d+) debug lines dropped"))
                         .globalMatch(QString::fromLatin1(all));
        while (notes.hasNext())
            dropped += notes.next().captured(1).toInt();
        QVERIFY(dropped + int(all.count("event_type:flood")) >= 5000);
        QVERIFY(dropped > 4000);
        s_log = nullptr;
        QVERIFY(readAll(first).contains("connected"));
    }

    void messagesAreDroppedWhileTheLogIsClosed()
    {
        setLogFileSource(&currentLog);
        s_log = m_log.get();
        logDebug(QStringLiteral("nowhere to go")); // must not crash or open anything
        QVERIFY(!m_log->isOpen());
    }

    void messagesFromAnotherThreadAreWritten()
    {
        QVERIFY(m_log->open(m_dir.path()));
        setLogFileSource(&currentLog);
        s_log = m_log.get();
        QThread *thread = QThread::create([] {
            for (int i = 0; i < 200; ++i)
                logDebug(QStringLiteral("worker"));
        });
        thread->start();
        for (int i = 0; i < 200; ++i)
            logDebug(QStringLiteral("main"));
        QVERIFY(thread->wait(10000));
        delete thread;
        s_log = nullptr;
        const QList<QByteArray> lines = readAll(m_log->currentFileName()).split('\n');
        QCOMPARE(lines.size(), 401);
        for (int i = 0; i < 400; ++i)
            QVERIFY(lines.at(i).endsWith("\"main\" ") || lines.at(i).endsWith("\"worker\" "));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<LogFile> m_log;
    QtMessageHandler m_previous = nullptr;
};

QTEST_GUILESS_MAIN(TestMessageHandler)
#include "tst_messagehandler.moc"
