#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>

class QUdpSocket;

// Finds Quorix units on the local network: broadcasts one request datagram on UDP port 2382,
// collects the answers arriving on the same socket and keeps one record per answering address,
// for at most kMaxDevices addresses per request (a flood of answers from forged addresses must
// not grow the collection, and the table redrawn from it, without end).
//
// The socket is a child of this object, bound for the object's whole life to port 2382 on every
// local IPv4 address (address sharing allowed); a failed bind or send is not detected, the
// collection then simply stays empty. Answers from other device types, repeated answers from an
// address already collected, answers from further addresses once the collection is full, and
// datagrams that are not answers are dropped without a signal.
//
// Answers are taken only within answerWindow() milliseconds after this object's own request;
// datagrams before the first request or after the window are read and dropped. The socket is
// read kReadBatch datagrams per pass of the event loop, so a flood cannot freeze the window.
//
// Signals: sendRequest() empties the collection and emits changed() before anything is sent;
// each newly collected device emits logString(), then deviceAdded(), then changed(). Everything
// runs on the thread that owns the object.
class BriskDiscovery : public QObject
{
    Q_OBJECT

public:
    struct DeviceInfo
    {
        QString address;
        QString model = QStringLiteral("Unknown");
        QString name;
        QString serialNumber;
        QString macAddress = QStringLiteral("00:00:00:00:00:00");
        QString firmware;

        friend bool operator==(const DeviceInfo &a, const DeviceInfo &b)
        {
            return a.address == b.address && a.model == b.model && a.name == b.name
                   && a.serialNumber == b.serialNumber && a.macAddress == b.macAddress
                   && a.firmware == b.firmware;
        }
        friend bool operator!=(const DeviceInfo &a, const DeviceInfo &b) { return !(a == b); }
    };
    using DeviceMap = QMap<QString, DeviceInfo>;

    static constexpr quint16 kDiscoveryPort = 2382;
    static constexpr int kMaxDevices = 1024;
    static constexpr int kDefaultAnswerWindowMs = 5000;
    static constexpr int kReadBatch = 64;

    explicit BriskDiscovery(QObject *parent = nullptr);
    // Binds the given local port instead (0 picks a free one); for tests that must not hold the
    // discovery port.
    BriskDiscovery(quint16 localPort, QObject *parent);
    ~BriskDiscovery() override;
    Q_DISABLE_COPY_MOVE(BriskDiscovery)

    // Where requests go; the limited broadcast address and port 2382 unless changed. Tests aim
    // it at a loopback responder.
    void setRequestTarget(const QHostAddress &address, quint16 port);
    quint16 localPort() const;

    int answerWindow() const { return m_answerWindowMs; }
    // Milliseconds after a request during which answers are taken; below 1 restores the default.
    void setAnswerWindow(int milliseconds);
    // A request has been sent and its answer window is still open.
    bool isCollecting() const;

    // Starts a new request cycle: empties the collection, emits changed() and sends the request.
    void sendRequest();
    // The answers collected since the last request, keyed by the sender's address text.
    const DeviceMap &devices() const { return m_devices; }

    // Interprets one datagram received from `address`:`port`.
    void parseResponse(const QString &address, quint16 port, const QString &text);
    // The display name of a device-type id, "Unknown" for an id not in the table.
    static QString modelDisplayName(const QString &id);

signals:
    void logString(const QString &text);
    void deviceAdded(const BriskDiscovery::DeviceInfo &device);
    void changed();

private slots:
    void readPendingDatagrams();

private:
    QUdpSocket *m_socket = nullptr;
    DeviceMap m_devices;
    QHostAddress m_requestAddress{QHostAddress::Broadcast};
    quint16 m_requestPort = kDiscoveryPort;
    int m_answerWindowMs = kDefaultAnswerWindowMs;
    // Started by each request; invalid before the first.
    QElapsedTimer m_sinceRequest;
};

Q_DECLARE_METATYPE(BriskDiscovery::DeviceInfo)
