#include "model/combaseconnection.h"

#include "link/protocolkeys.h"

TComBaseConnection::TComBaseConnection(ksm::CCom *com, int type)
    : m_com(com)
    , m_type(type)
{}

TComBaseConnection::~TComBaseConnection() = default;

void TComBaseConnection::setOwner(TComDevice *device)
{
    m_owner = device;
}

void TComBaseConnection::clearOwner(TComDevice *)
{
    m_owner = nullptr;
}

void TComBaseConnection::reset()
{
    m_id = -1;
    m_network.clear();
}

const std::string &TComBaseConnection::commLinkText(int type)
{
    static const std::string audio = "audio";
    static const std::string audio2 = "audio2";
    static const std::string coordLine = "coord_line";
    switch (type) {
    case AudioLink2:
        return audio2;
    case CoordinationLine:
        return coordLine;
    default:
        return audio;
    }
}

int TComBaseConnection::typeFromCommLink(const std::string &word)
{
    if (word == "audio2")
        return AudioLink2;
    if (word == kKeyCoordLine)
        return CoordinationLine;
    return AudioLink1;
}
