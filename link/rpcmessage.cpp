#include "link/rpcmessage.h"

#include "link/rpcframe.h"

#include <string>
#include <string_view>

RpcMessage RpcMessage::request(const ksm::CMsg &body)
{
    return request(-1, body);
}

RpcMessage RpcMessage::request(qint32 id, const ksm::CMsg &body)
{
    RpcMessage message;
    message.m_id = id;
    message.m_type = Request;
    message.m_body = body;
    return message;
}

RpcMessage RpcMessage::signal(const ksm::CMsg &body)
{
    return signal(-1, body);
}

RpcMessage RpcMessage::signal(qint32 id, const ksm::CMsg &body)
{
    RpcMessage message;
    message.m_id = id;
    message.m_type = Signal;
    message.m_body = body;
    return message;
}

RpcMessage RpcMessage::reply(const RpcMessage &request, const ksm::CMsg &body)
{
    RpcMessage message;
    message.m_id = request.m_id;
    message.m_type = Reply;
    message.m_body = body;
    return message;
}

RpcMessage RpcMessage::errorReply(const RpcMessage &request, qint32 code)
{
    RpcMessage message;
    message.m_id = request.m_id;
    message.m_type = ErrorReply;
    message.m_code = code;
    return message;
}

QByteArray RpcMessage::encode() const
{
    return encodeFrame(m_id, m_type, m_code, m_body);
}

QByteArray RpcMessage::encodeFrame(qint32 id, qint32 type, qint32 code, const ksm::CMsg &body)
{
    if (type == None)
        return {};
    std::string text;
    if (body.type() != ksm::CMsg::None && body.serialize(text) != 0)
        return {};
    if (text.size() > RpcFrame::kMaxFrameSize - RpcFrame::kHeaderSize)
        return {};

    const quint32 length = RpcFrame::kHeaderSize + quint32(text.size());
    QByteArray frame(qsizetype(length), Qt::Uninitialized);
    RpcFrame::writeHeader(frame.data(), length, id, type, code);
    if (!text.empty())
        std::memcpy(frame.data() + RpcFrame::kHeaderSize, text.data(), text.size());
    return frame;
}

RpcMessage RpcMessage::fromDatagram(const QByteArray &datagram)
{
    const char *data = datagram.constData();
    if (datagram.size() < qsizetype(RpcFrame::kHeaderSize) || !RpcFrame::hasMagic(data))
        return {};
    const quint32 length = RpcFrame::length(data);
    if (length < RpcFrame::kHeaderSize || length > quint64(datagram.size()))
        return {};
    const qint32 type = RpcFrame::type(data);
    if (type < Request || type > Signal)
        return {};

    RpcMessage message;
    message.m_id = RpcFrame::id(data);
    message.m_type = Type(type);
    message.m_code = RpcFrame::code(data);
    if (length == RpcFrame::kHeaderSize)
        return message;

    ksm::CMsg body;
    if (ksm::CMsg::parse(
            std::string_view(data + RpcFrame::kHeaderSize, length - RpcFrame::kHeaderSize), body)
        == 0)
        message.m_body = std::move(body);
    return message;
}
