#pragma once

#include "link/cmsg.h"

#include <QByteArray>
#include <QMetaType>
#include <QtGlobal>

// The unit the transport carries: a message id, a code, a message type and a device-message
// body. A plain value type; copies are deep.
//
// On the wire each message is one frame (link/rpcframe.h): the 24-byte header carrying length,
// id, type and code, followed by the body's text form.
class RpcMessage
{
public:
    enum Type : qint32 {
        None = 0,       // no message; never framed or sent
        Request = 1,    // a call; answered by a Reply or ErrorReply with the same id
        Reply = 2,      // the answer to a request
        ErrorReply = 3, // a failed answer; its code is the call's result, its body is ignored
        Signal = 4,     // an unsolicited message (the device's INFO and EVENT messages)
    };

    // id -1, code 0, type None, empty body.
    RpcMessage() = default;

    static RpcMessage request(const ksm::CMsg &body);
    static RpcMessage request(qint32 id, const ksm::CMsg &body);
    static RpcMessage signal(const ksm::CMsg &body);
    static RpcMessage signal(qint32 id, const ksm::CMsg &body);
    // A Reply with the request's id and code 0.
    static RpcMessage reply(const RpcMessage &request, const ksm::CMsg &body);
    // An ErrorReply with the request's id, the given code and an empty body.
    static RpcMessage errorReply(const RpcMessage &request, qint32 code);

    qint32 id() const { return m_id; }
    void setId(qint32 id) { m_id = id; }
    qint32 code() const { return m_code; }
    void setCode(qint32 code) { m_code = code; }
    Type type() const { return m_type; }
    void setType(Type type) { m_type = type; }
    const ksm::CMsg &body() const { return m_body; }
    void setBody(const ksm::CMsg &body) { m_body = body; }

    // The frame of this message: header with length 24 + text size, id, type and code, then the
    // body's text (none when the body's type is 0). Empty for a message of type None or a body
    // that does not serialise.
    [[nodiscard]] QByteArray encode() const;

    // Decodes a datagram that holds exactly one frame; bytes behind the frame's length are
    // ignored. Returns a default message (type None) when the datagram is shorter than a header,
    // lacks the magic, has a length field below 24 or beyond the datagram's end, or a type
    // outside 1 to 4. A body that does not parse leaves the header fields and an empty body.
    [[nodiscard]] static RpcMessage fromDatagram(const QByteArray &datagram);

    // Builds the frame from explicit header words and body; used by the connection, which
    // numbers its requests itself. Empty when the body does not serialise or type is None.
    [[nodiscard]] static QByteArray
    encodeFrame(qint32 id, qint32 type, qint32 code, const ksm::CMsg &body);

private:
    qint32 m_id = -1;
    qint32 m_code = 0;
    Type m_type = None;
    ksm::CMsg m_body;
};

Q_DECLARE_METATYPE(RpcMessage)
