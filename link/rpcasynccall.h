#pragma once

#include "link/cmsg.h"
#include "link/rpcmessage.h"

#include <QExplicitlySharedDataPointer>
#include <QString>

class RpcAsyncCallData;

// A handle to one asynchronous call: a shared record, or nothing (an empty handle). Copies share
// the record; the last handle released deletes it.
//
// A call made by RpcConnection::asyncCall() is Pending until exactly one of its final answer
// (Replied for a reply whose "return" is "OK" or "ERROR"; Failed for an ErrorReply or a bad
// reply), its time-out or its cancellation. It then finishes once: its watchers'
// RpcAsyncCallWatcher::finished fire, then the connection's messageCompleted. A call that
// asyncCall() refuses before sending (result not 0) is Failed at once and is never reported.
class RpcAsyncCall
{
public:
    enum ResultCode {
        NoError = 0,       // a reply was received (also one whose "return" is "ERROR")
        NoCall = -1,       // empty handle, or a delegate step that produced no request
        NotARequest = -2,  // asyncCall() was given a message that is not a Request
        NotConnected = -3, // the connection is not Connected
        WriteFailed = -4,  // the socket refused the frame
        Timeout = -5,      // no final answer within the time-out
        Cancelled = -6,    // cancelled, also when the connection leaves Connected
        EncodeError = -7,  // the request body does not serialise
        BadReply = -10,    // a reply without body, unparsable, or with an unknown "return";
                           // also an ErrorReply whose code is 0
        // Any other value: the code of the peer's ErrorReply.
    };

    RpcAsyncCall();
    // A new record with this id, Pending, result 0 and no time-out.
    explicit RpcAsyncCall(int id);
    RpcAsyncCall(const RpcAsyncCall &other);
    RpcAsyncCall(RpcAsyncCall &&other) noexcept;
    RpcAsyncCall &operator=(const RpcAsyncCall &other);
    RpcAsyncCall &operator=(RpcAsyncCall &&other) noexcept;
    ~RpcAsyncCall();

    // A finished call without request (id -1): Failed with result, or Replied with reply.
    static RpcAsyncCall failed(int result);
    static RpcAsyncCall replied(const ksm::CMsg &reply);

    bool isNull() const { return !d; }
    // -1 for an empty handle.
    int id() const;
    // -1 for an empty handle.
    int result() const;
    // True for an empty handle or a call that is no longer Pending.
    bool isFinished() const;
    bool isReplied() const;
    // True for an empty handle or a Failed call.
    bool isFailed() const;
    // The reply gathered so far (type 0 while nothing has arrived).
    ksm::CMsg reply() const;
    // Replied: a Reply with the call's id, code 0 and the gathered reply. Failed: an ErrorReply
    // with the call's id and the result as code. Pending: an ErrorReply with code -1. Empty
    // handle: an ErrorReply with id -1 and code -1.
    RpcMessage toMessage() const;
    // "errorCode " and the decimal result.
    QString errorText() const;

    // For seconds above 0: the call expires once more than seconds × 1000 ms have passed from
    // now. Otherwise nothing changes.
    void startTimeout(int seconds);
    // True only when a time-out is set and more time than it has passed.
    bool hasExpired() const;

    // Two handles are equal when they share one record (or are both empty).
    bool operator==(const RpcAsyncCall &other) const { return d == other.d; }
    bool operator!=(const RpcAsyncCall &other) const { return d != other.d; }

protected:
    RpcAsyncCallData *data() const { return d.data(); }

private:
    friend class RpcConnection;
    friend class RpcDelegateCall;

    // Leaves Pending for state with result and lets the helper announce it; false (and no
    // change) when the call has already finished.
    bool finish(int state, int result);
    // Sets result and leaves Pending without announcing: for calls refused before sending.
    void refuse(int result);

    QExplicitlySharedDataPointer<RpcAsyncCallData> d;
};
