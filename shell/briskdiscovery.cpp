#include "shell/briskdiscovery.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <iterator>

namespace {
const QLatin1String kResponseWord("TolvDiscoveryResponse;");
constexpr char kRequest[] = "TolvDiscoveryRequest;";

struct ModelRow
{
    const char *id;
    const char *displayName;
};

// The device types a discovery answer may name. Only the Quorix is collected; the other rows
// name the maker's further families so that their answers read as known types in diagnostics.
constexpr ModelRow kModels[] = {
    {"vantel", "Quorix"},
    {"relaymini", "Relay Mini"},
    {"relaymono", "Relay Mono"},
    {"relayduo", "Relay Duo"},
    {"relayquad", "Relay Quad"},
    {"beaconone", "Beacon One"},
    {"beacontwo", "Beacon Two"},
    {"beaconrack", "Beacon Rack"},
    {"beaconport", "Beacon Portable"},
    {"harborlite", "Harbor Lite"},
    {"harborpro", "Harbor Pro"},
    {"harborhub", "Harbor Hub"},
    {"harborlink", "Harbor Link"},
    {"ostraa", "Ostra A"},
    {"ostrab", "Ostra B"},
    {"ostrax", "Ostra X"},
    {"ostrastudio", "Ostra Studio"},
};
static_assert(std::size(kModels) == 17, "one row for the Quorix and sixteen further types");
} // namespace

BriskDiscovery::BriskDiscovery(QObject *parent)
    : BriskDiscovery(kDiscoveryPort, parent)
{}

BriskDiscovery::BriskDiscovery(quint16 localPort, QObject *parent)
    : QObject(parent)
    , m_socket(new QUdpSocket(this))
{
    qRegisterMetaType<BriskDiscovery::DeviceInfo>();
    // IPv4 only: a dual-stack socket would report senders as "::ffff:a.b.c.d".
    m_socket->bind(QHostAddress::AnyIPv4, localPort, QUdpSocket::ReuseAddressHint);
    connect(m_socket, &QUdpSocket::readyRead, this, &BriskDiscovery::readPendingDatagrams);
}

BriskDiscovery::~BriskDiscovery() = default;

void BriskDiscovery::setRequestTarget(const QHostAddress &address, quint16 port)
{
    m_requestAddress = address;
    m_requestPort = port;
}

quint16 BriskDiscovery::localPort() const
{
    return m_socket->localPort();
}

void BriskDiscovery::setAnswerWindow(int milliseconds)
{
    m_answerWindowMs = milliseconds > 0 ? milliseconds : kDefaultAnswerWindowMs;
}

bool BriskDiscovery::isCollecting() const
{
    return m_sinceRequest.isValid() && !m_sinceRequest.hasExpired(m_answerWindowMs);
}

void BriskDiscovery::sendRequest()
{
    m_devices.clear();
    emit changed();
    emit logString(QStringLiteral("Broadcasting discovery request."));
    m_sinceRequest.start();
    m_socket->writeDatagram(
        kRequest, qint64(sizeof(kRequest) - 1), m_requestAddress, m_requestPort);
}

void BriskDiscovery::readPendingDatagrams()
{
    // A batch per pass: the socket reports the rest when the event loop comes round again.
    for (int count = 0; count < kReadBatch && m_socket->hasPendingDatagrams(); ++count) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (!datagram.isValid())
            break; // nothing readable after all; the next readyRead() tries again
        // Only answers to this program's own, recent request count; the rest is anyone's noise.
        if (!isCollecting())
            continue;
        const QByteArray bytes = datagram.data();
        const qsizetype zero = bytes.indexOf('\0');
        const QString text = QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
        const int port = datagram.senderPort();
        parseResponse(datagram.senderAddress().toString(), quint16(port < 0 ? 0 : port), text);
    }
}

void BriskDiscovery::parseResponse(const QString &address, quint16 port, const QString &text)
{
    if (!text.startsWith(kResponseWord, Qt::CaseSensitive))
        return;

    DeviceInfo info;
    info.address = address;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.startsWith(QLatin1String("sw_version:")))
            info.firmware = part.mid(11).trimmed();
        else if (part.startsWith(QLatin1String("hw_addr:")))
            info.macAddress = part.mid(8).trimmed().toUpper();
        else if (part.startsWith(QLatin1String("device:")))
            info.model = modelDisplayName(part.mid(7).trimmed());
        else if (part.startsWith(QLatin1String("serialno:")))
            info.serialNumber = part.mid(9).trimmed();
    }

    if (info.model != QLatin1String("Quorix"))
        return;
    if (m_devices.contains(address) || m_devices.size() >= kMaxDevices)
        return;

    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    shown.remove(QLatin1Char('\n'));
    // One-pass substitution: the answer's own text may hold "%1" and must stay as it came.
    emit logString(QStringLiteral("Discovery<%1:%2> Received <%3>.")
                       .arg(address, QString::number(port), shown));

    m_devices.insert(address, info);
    emit deviceAdded(info);
    emit changed();
}

QString BriskDiscovery::modelDisplayName(const QString &id)
{
    for (const ModelRow &row : kModels) {
        if (id == QLatin1String(row.id))
            return QLatin1String(row.displayName);
    }
    return QStringLiteral("Unknown");
}
