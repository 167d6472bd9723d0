#include "shell/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void touch(const QString &path, const QByteArray &content = QByteArray("old\n"))
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

QStringList logNames(const QString &directory)
{
    return QDir(directory).entryList(
        {QStringLiteral("*-Tallydesk.log")}, QDir::Files | QDir::CaseSensitive, QDir::Name);
}

QStringList baseNames(const QStringList &paths)
{
    QStringList out;
    for (const QString &path : paths)
        out << QFileInfo(path).fileName();
    return out;
}
} // namespace

class TestLogFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void opensATimestampedFileInANewDirectory()
    {
        const QString directory = m_dir->filePath(QStringLiteral("a/b/logs"));
        LogFile log(QStringLiteral("Tallydesk"));
        QCOMPARE(log.maxSize(), -1);
        QCOMPARE(log.maxFiles(), -1);
        QVERIFY(!log.isOpen());
        log.write("dropped while closed\n");

        const QDateTime before = QDateTime::currentDateTime();
        QVERIFY(log.open(directory));
        QVERIFY(log.isOpen());
        const QString name = QFileInfo(log.currentFileName()).fileName();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{6}T\\d{6}-Tallydesk\\.log$"))
                     .match(name)
                     .hasMatch(),
                 qPrintable(name));
        const QDateTime stamp = QDateTime::fromString(QStringLiteral("20") + name.left(13),
                                                      QStringLiteral("yyyyMMddThhmmss"));
        QVERIFY(stamp.isValid());
        QVERIFY(qAbs(stamp.secsTo(before)) <= 2);
        QCOMPARE(log.files(), QStringList{log.currentFileName()});

        log.write("one\n");
        log.writeLine("two");
        QCOMPARE(readAll(log.currentFileName()), QByteArray("one\ntwo\n"));

        // A second open changes nothing.
        QVERIFY(!log.open(m_dir->path()));
        QCOMPARE(log.directory(), directory);
        QCOMPARE(logNames(directory).size(), 1);
    }

    void failsWhenTheDirectoryCannotBeMade()
    {
        const QString blocker = m_dir->filePath(QStringLiteral("file"));
        touch(blocker);
        LogFile log(QStringLiteral("Tallydesk"));
        QVERIFY(!log.open(blocker + QStringLiteral("/logs")));
        QVERIFY(!log.isOpen());
        QVERIFY(log.directory().isEmpty());
    }

    void rollsOverAfterPassingTheSizeLimit()
    {
        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxSize(10);
        QVERIFY(log.open(m_dir->path()));
        const QString first = log.currentFileName();
        log.write("12345");
        log.write("67890"); // exactly at the limit: keeps taking lines
        QCOMPARE(log.currentFileName(), first);
        log.write("x"); // passes the limit: stays in this file, the next line starts a new one
        QCOMPARE(readAll(first), QByteArray("1234567890x"));
        QVERIFY(log.currentFileName() != first);
        log.write("next");

        // Both files carry the same second in their name; the older content is kept whole and
        // sorts first.
        QCOMPARE(readAll(first), QByteArray("1234567890x"));
        QCOMPARE(readAll(log.currentFileName()), QByteArray("next"));
        QCOMPARE(log.files(), QStringList({first, log.currentFileName()}));
        QCOMPARE(baseNames(log.files()), logNames(m_dir->path()));
    }

    void sizeLimitBeyondThirtyTwoBits()
    {
        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxSize(qint64(4194304) * 1024); // 4 TiB: fits only in 64 bits
        QVERIFY(log.open(m_dir->path()));
        const QString first = log.currentFileName();
        log.write("line\n");
        log.write("line\n");
        QCOMPARE(log.currentFileName(), first);
    }

    void restartWithinTheSameSecondKeepsEarlierLog()
    {
        // The plain name of this second and its first counted name are taken by earlier logs.
        const QString stamp
            = QDateTime::currentDateTime().toString(QStringLiteral("yyMMddThhmmss"));
        const QString taken = m_dir->filePath(stamp + QStringLiteral("-Tallydesk.log"));
        touch(taken, "earlier run\n");
        const QString next = m_dir->filePath(stamp + QStringLiteral(".001-Tallydesk.log"));
        touch(next, "earlier run 2\n");

        LogFile log(QStringLiteral("Tallydesk"));
        QVERIFY(log.open(m_dir->path()));
        log.write("new run\n");
        QCOMPARE(readAll(taken), QByteArray("earlier run\n"));
        QCOMPARE(readAll(next), QByteArray("earlier run 2\n"));
        // The clock may have moved on to the next second meanwhile.
        QVERIFY(log.currentFileName() != taken && log.currentFileName() != next);
        QCOMPARE(readAll(log.currentFileName()), QByteArray("new run\n"));
        QCOMPARE(baseNames(log.files()), logNames(m_dir->path()));
    }

    void pruningDeletesTheOldestByName()
    {
        // 30 earlier logs, an odd name that sorts after every timestamp, and files that are not
        // this log's.
        for (int i = 0; i < 30; ++i)
            touch(m_dir->filePath(QStringLiteral("2001%1T000000-Tallydesk.log").arg(i + 10)));
        touch(m_dir->filePath(QStringLiteral("990101T000000-Tallydesk.log")));
        touch(m_dir->filePath(QStringLiteral("old-Tallydesk.log")));
        touch(m_dir->filePath(QStringLiteral("000101T000000-tallydesk.log")));
        touch(m_dir->filePath(QStringLiteral("000101T000000-Tallydesk.log.bak")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("000000-Tallydesk.log")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("sub")));
        touch(m_dir->filePath(QStringLiteral("sub/000000-Tallydesk.log")));

        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxFiles(25);
        QVERIFY(log.open(m_dir->path()));
        // 32 found + the new one = 33: the 8 oldest by name go.
        QStringList expected;
        for (int i = 8; i < 30; ++i)
            expected << QStringLiteral("2001%1T000000-Tallydesk.log").arg(i + 10);
        expected << QStringLiteral("990101T000000-Tallydesk.log")
                 << QStringLiteral("old-Tallydesk.log")
                 << QFileInfo(log.currentFileName()).fileName();
        QCOMPARE(baseNames(log.files()), expected);
        QCOMPARE(logNames(m_dir->path()).size(), 25);
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("000101T000000-tallydesk.log"))));
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("000101T000000-Tallydesk.log.bak"))));
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("sub/000000-Tallydesk.log"))));
        QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("000000-Tallydesk.log"))).isDir());

        // Lowering the limit prunes at once, down to the file being written; raising it deletes
        // nothing.
        log.setMaxFiles(1);
        QCOMPARE(log.files(), QStringList{log.currentFileName()});
        QCOMPARE(logNames(m_dir->path()), baseNames(log.files()));
        log.setMaxFiles(5);
        log.write("still here\n");
        QCOMPARE(readAll(log.currentFileName()), QByteArray("still here\n"));
    }

    void rollOverPrunesButKeepsTheCurrentFile()
    {
        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxSize(1);
        log.setMaxFiles(2);
        QVERIFY(log.open(m_dir->path()));
        for (int i = 0; i < 5; ++i)
            log.write("ab"); // every write passes the limit
        QCOMPARE(log.files().size(), 2);
        QCOMPARE(logNames(m_dir->path()), baseNames(log.files()));
        QVERIFY(QFile::exists(log.currentFileName()));
        QCOMPARE(readAll(log.files().first()), QByteArray("ab"));
        QCOMPARE(readAll(log.currentFileName()), QByteArray());
    }

    void filesAreForTheOwnerOnly()
    {
        LogFile log(QStringLiteral("Tallydesk"));
        QVERIFY(log.open(m_dir->path()));
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                | QFileDevice::WriteOther | QFileDevice::ExeOther;
        const QFileDevice::Permissions permissions = QFile::permissions(log.currentFileName());
        QVERIFY(permissions & QFileDevice::ReadOwner);
        QCOMPARE(permissions & others, QFileDevice::Permissions());
    }

    // A roll-over that cannot make a new file (every name of the second taken, or, as here,
    // the directory gone) leaves the log writing on in the file it has.
    void rollOverWithoutANewFileKeepsWriting()
    {
        const QString directory = m_dir->filePath(QStringLiteral("logs"));
        LogFile log(QStringLiteral("Tallydesk"));
        QVERIFY(log.open(directory));
        const QString name = QFileInfo(log.currentFileName()).fileName();
        const QString moved = m_dir->filePath(QStringLiteral("moved"));
        QVERIFY(QDir().rename(directory, moved));
        log.setMaxSize(1);
        log.write("ab");
        log.write("cd");
        QVERIFY(log.isOpen());
        QCOMPARE(QFileInfo(log.currentFileName()).fileName(), name);
        QCOMPARE(readAll(moved + QLatin1Char('/') + name), QByteArray("abcd"));
        QVERIFY(!QFileInfo::exists(directory));
    }

    // Another instance writing in the same directory: its file survives this one's pruning
    // until it is closed.
    void pruningSparesAFileAnotherInstanceWrites()
    {
        auto other = std::make_unique<LogFile>(QStringLiteral("Tallydesk"));
        QVERIFY(other->open(m_dir->path()));
        const QString othersFile = other->currentFileName();

        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxFiles(1);
        QVERIFY(log.open(m_dir->path()));
        QVERIFY(QFile::exists(othersFile));
        other->write("still written\n");
        QCOMPARE(readAll(othersFile), QByteArray("still written\n"));

        other.reset();
        log.setMaxFiles(2);
        log.setMaxFiles(1);
        QVERIFY(!QFile::exists(othersFile));
        QCOMPARE(log.files(), QStringList{log.currentFileName()});
    }

    void noFileLimitKeepsEverything()
    {
        for (int i = 0; i < 3; ++i)
            touch(m_dir->filePath(QStringLiteral("00010%1T000000-Tallydesk.log").arg(i)));
        LogFile log(QStringLiteral("Tallydesk"));
        log.setMaxFiles(0);
        QCOMPARE(log.maxFiles(), -1);
        log.setMaxFiles(-7);
        QCOMPARE(log.maxFiles(), -1);
        QVERIFY(log.open(m_dir->path()));
        QCOMPARE(logNames(m_dir->path()).size(), 4);
        QCOMPARE(log.files().size(), 4);
    }

    void destructionKeepsTheFiles()
    {
        QString path;
        {
            LogFile log(QStringLiteral("Tallydesk"));
            log.setMaxFiles(1);
            QVERIFY(log.open(m_dir->path()));
            log.writeLine("kept");
            path = log.currentFileName();
        }
        QCOMPARE(readAll(path), QByteArray("kept\n"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
