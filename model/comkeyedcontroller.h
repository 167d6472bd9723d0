#pragma once

#include "model/comcontroller.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class KeyTable;
struct KeyRow;

// A controller whose unit settings are the rows of one key table (keytable.h), one row per key:
// the common setter, the appliers of received texts, the bulk write and the reset below walk
// that table, so that a subclass names each key once. The network interface controllers
// (TComNetworkController) and the audio-over-IP module (TComRavennaController) are built on it.
//
// A subclass says how one key is written (writeKey(): the network controllers address their
// network, the module the "audio" target) and what follows a stored change (rowChanged(): the
// network controllers signal it, the module does not).
//
// Ownership and threading as TComController.
class TComKeyedController : public TComController
{
    Q_OBJECT

public:
    TComKeyedController(ksm::CCom *com, int type);
    ~TComKeyedController() override;
    Q_DISABLE_COPY_MOVE(TComKeyedController)

    // Whether the key's value came from the device or a setter since construction or the last
    // reset (see markKnown()): right after a read, whether the key was read, so that a page shows
    // a key whose read failed as unknown rather than the field's default.
    [[nodiscard]] bool isKnown(const std::string &key) const { return m_known.count(key) != 0; }

    // Holds key for a write under way: the controller holds a value staged for the write (the
    // operator's), not yet the unit's. Until releaseHeld(), the unit's news of the key (an
    // event, applied through applyNews()) leaves that value in place and is kept instead, so
    // that the write sends, and a page shows, the value staged. A key without a row: nothing.
    void holdKey(const std::string &key);
    // Ends every hold. unitKept: the write was refused and the values staged were put back, so
    // the news kept meanwhile (newer than what was put back) is applied now, in the order it
    // came; otherwise the unit took the write, which came after that news, and it is dropped.
    void releaseHeld(bool unitKept);
    [[nodiscard]] bool isHeld(const std::string &key) const { return m_held.count(key) != 0; }

    // The unit took a write of key, or gave its value in a read, answered by the last synchronous
    // call of the controller's client (ksm::CCom::signalsBeforeLastReply()): from now on the
    // unit's news of key that arrived before that answer (an event that waited in the window's
    // queue while the call ran, ksm::CCom::handledSignal()) is older than the value the
    // controller holds and is not applied (applyNews()). A setter that writes the key notes it
    // itself, and so do the network controllers' reads; a bulk write's caller notes the keys the
    // unit took. Forgotten on reset (resetKeys()). A key without a row, or a controller without a
    // client: nothing.
    void noteTaken(const std::string &key);
    // Whether news of key handled now arrived before the answer to the last write of key the
    // unit took, or to the last read of it (noteTaken()).
    [[nodiscard]] bool isOlderThanTaken(const std::string &key) const;

protected:
    // The subclass's key table (keytable.h); an empty one for a controller without.
    [[nodiscard]] virtual const KeyTable &keyTable() const;
    // PARAM key = value to the unit, as the subclass addresses it; true when the unit took it.
    virtual bool writeKey(const std::string &key, const std::string &value) = 0;
    // After a setter stored a new value in the row's field (the key is already known). Nothing.
    virtual void rowChanged(const KeyRow &row);

    // Known keys: the writable keys whose value came from the device or a setter since
    // construction or the last reset. A bulk write of knownWrites() sends only these, so that a
    // default never overwrites a device setting that was not read. A subclass's reset() calls
    // clearKnown().
    void markKnown(const std::string &key) { m_known.insert(key); }
    void clearKnown() { m_known.clear(); }
    // After a read of asked that the unit answered: a key its answer lacks (left out, or refused
    // by name) is no longer known, so that neither a value of an earlier read nor the field's
    // default is shown or written as the unit's.
    void forgetUnanswered(const std::vector<std::string> &asked,
                          const std::map<std::string, std::string> &values);

    // The common setter, for a field of the key table: an unchanged value only marks the key
    // known and returns true; a Number below its row's minimum is ignored (true). Otherwise,
    // with send and the row's send conditions met, the key is written first (writeKey()) and a
    // refusal keeps the old value and returns false; then the value is stored, the key marked
    // known and rowChanged() called, true. A field without a row: false, nothing done.
    bool store(bool &field, bool value, bool send);
    bool store(int &field, int value, bool send);
    bool store(std::string &field, const std::string &value, bool send);
    // The same for a record field (KeyRow::record()), whose own same() tells an unchanged value;
    // a record has no minimum and no rule on its value, only the row's send gate. Defined in
    // keytable.h.
    template<typename R>
    bool storeRecord(R &field, const R &value, bool send, bool (R::*same)(const R &) const);
    // A received text into the row's field by its kind's rule (or its applier), send off; the
    // applier's result, else true.
    bool applyRow(const KeyRow &row, const std::string &text);
    // The unit's news of a setting (an event's value) into the row's field as applyRow() does,
    // unless it arrived before the answer to a write or read of the key (noteTaken()): then
    // it is dropped (true); or unless the row's key is held (holdKey()): then the text is kept for
    // releaseHeld() and the field is left alone (true).
    bool applyNews(const KeyRow &row, const std::string &text);
    // applyReceived() for the row of a field; false for a field without a row.
    bool applyField(const void *field, const std::string &text);
    // What a read does with a received value; the mobile controller adds its capability bits.
    virtual bool applyReceived(const KeyRow &row, const std::string &text);
    // Applies every received value of a key the table holds through applyReceived(), in key
    // order; true when every one of them was applied (keys the table does not hold count as
    // applied).
    bool applyValues(const std::map<std::string, std::string> &values);
    // The parameter map of a bulk write: the listed keys whose rows are writable and known, in
    // their wire form. Other keys are skipped.
    [[nodiscard]] std::map<std::string, std::string>
    knownWrites(const std::vector<std::string> &keys);
    // The same without asking whether a key is known: every listed key whose row is writable.
    [[nodiscard]] std::map<std::string, std::string>
    currentWrites(const std::vector<std::string> &keys);
    // Every field of the key table back to its value at construction, silently, but those of
    // the rows kept over a reset; the writes noted taken (noteTaken()) are forgotten.
    void resetKeys();
    // The row of the table whose field is at field; nullptr when none is.
    const KeyRow *rowOfField(const void *field);

private:
    // After a store: the row's key is known, and rowChanged() is told.
    void noteChange(const KeyRow &row);
    // The common setter for each type of field.
    template<typename T>
    bool storeField(T &field, const T &value, bool send);
    std::map<std::string, std::string> writes(const std::vector<std::string> &keys, bool onlyKnown);

    std::set<std::string> m_known;
    std::set<std::string> m_held;
    // Per key, how many of the unit's Signal messages had arrived when the unit answered the last
    // write of it that it took, or the last read of it.
    std::map<std::string, qint64> m_takenAt;
    // The news of held keys, in the order it came (a key's later news after its earlier).
    std::vector<std::pair<const KeyRow *, std::string>> m_heldNews;
};
