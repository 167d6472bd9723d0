#include "link/logtext.h"

#include <QLoggingCategory>
#include <QtTest>

namespace {
QStringList s_lines;
void captureHandler(QtMsgType, const QMessageLogContext &, const QString &text)
{
    s_lines << text;
}
} // namespace

class TestLogText : public QObject
{
    Q_OBJECT

private slots:
    void quotedFormKeepsTextAsItIs()
    {
        QCOMPARE(logQuoted(QStringLiteral("a \"b\" \\c")), QStringLiteral("\"a \"b\" \\c\" "));
        QCOMPARE(logQuoted(QString()), QStringLiteral("\"\" "));
    }

    // Long bodies are cut on a character boundary, with the whole size named.
    void longBodiesAreCut()
    {
        const std::string fits(kMaxLoggedBodyBytes, 'a');
        QCOMPARE(logBody(fits), QString::fromStdString(fits));
        // A two-byte character straddles the limit: it goes whole.
        const std::string straddling
            = std::string(kMaxLoggedBodyBytes - 1, 'a') + "\xc3\xa9" + "tail";
        QCOMPARE(logBody(straddling),
                 QString(int(kMaxLoggedBodyBytes - 1), QLatin1Char('a'))
                     + QStringLiteral(" [cut, %1 bytes in all]").arg(straddling.size()));
    }

    void messagesReachTheHandlerUnescaped()
    {
        s_lines.clear();
        auto previous = qInstallMessageHandler(captureHandler);
        logDebug(QStringLiteral("RpcConnection::connect(address=127.0.0.1:7001, state=2)"));
        logWarning(QStringLiteral("tab\there"));
        qInstallMessageHandler(previous);
        QCOMPARE(s_lines,
                 QStringList({QStringLiteral("\"RpcConnection::connect(address=127.0.0.1:7001, "
                                             "state=2)\" "),
                              QStringLiteral("\"tab\there\" ")}));
    }

    void debugLinesOnlyWhileTheyAreWritten()
    {
        s_lines.clear();
        auto previous = qInstallMessageHandler(captureHandler);
        QVERIFY(logDebugEnabled());

        setLogDebugWritten(false);
        QVERIFY(!logDebugEnabled());
        logDebug(QStringLiteral("no log file"));
        logWarning(QStringLiteral("warned"));
        setLogDebugWritten(true);

        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        QVERIFY(!logDebugEnabled());
        logDebug(QStringLiteral("filtered out"));
        QLoggingCategory::setFilterRules(QString());
        QVERIFY(logDebugEnabled());
        logDebug(QStringLiteral("written"));

        qInstallMessageHandler(previous);
        QCOMPARE(s_lines,
                 QStringList({QStringLiteral("\"warned\" "), QStringLiteral("\"written\" ")}));
    }
};

QTEST_GUILESS_MAIN(TestLogText)
#include "tst_logtext.moc"
