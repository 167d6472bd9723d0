// The module's input streams page (137), with the receiver delay, and its receive slot pages
// (138-143), each choosing the stream and channel a slot receives.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsravennafields.h"
#include "settings/settingsrows.h"

#include "model/comravennacontroller.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "model/writereport.h"
#include "widgets/qvantelmenuheader.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <string>
#include <vector>

using namespace RavennaFields;

namespace {

QString delayText(int delay)
{
    if (delay < 1)
        return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Automatic"));
    return QString::number(delay);
}

QString slotText(const Controller::StreamRef &ref)
{
    if (ref.id == Controller::NoStream)
        return toQString(ref.name);
    return settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "%1 [ Channel %2 ]"))
        .arg(toQString(ref.name))
        .arg(qint64(ref.channel) + 1);
}

// The channels a listed stream offers: the count the unit lists, within what a stream carries.
int channelCount(const Controller::StreamRef &stream)
{
    constexpr int kMostChannels = 64;
    return std::clamp(stream.channel, 0, kMostChannels);
}

int streamSlot(const QVantelMenuItems *page)
{
    return page->id() - kPageStreamFirst;
}

using Field = SettingsField<Controller>;
using StreamRef = Controller::StreamRef;

// The rows of a receive slot's page over the slot's stream reference in the module: the stream,
// by its name, and its channel. Both stand for the slot's one key and are only compared: Apply
// writes the reference the page edits (ravennaStreamEdit), which the page's refresh may have
// corrected beyond what the rows show.
const SettingsFields<Controller> &slotFields(int slot)
{
    const auto fields = [](int n, const std::string &key) -> SettingsFields<Controller> {
        return {
            Field::custom(
                kRowStreamId,
                key,
                [n](const Controller &c, const QVantelMenuItem *row, FieldValue &) {
                    const QVantelMenuItem::Value *value = row->currentValue();
                    return value && value->text != toQString(c.streamIn(n).name);
                },
                nullptr),
            Field::choice(
                kRowStreamChannel, key, at(&Controller::streamIn, n, &StreamRef::channel), nullptr),
        };
    };
    static const SettingsFields<Controller> receivers[Controller::StreamCount] = {
        fields(0, kRavennaKeyRavStreamIn0),
        fields(1, kRavennaKeyRavStreamIn1),
        fields(2, kRavennaKeyRavStreamIn2),
        fields(3, kRavennaKeyRavStreamIn3),
        fields(4, kRavennaKeyRavStreamIn4),
        fields(5, kRavennaKeyRavStreamIn5),
    };
    return receivers[slot];
}

} // namespace

// --- Input streams (137) and receive slots (138-143) -----------------------------------------

void QVantelSettingsPage::createRavennaInputsPage()
{
    auto *page = new QVantelMenuItems(kPageRavennaInputs, this);
    for (int i = 0; i < slotCount(); ++i)
        addSettingsRow(page,
                       kPageStreamFirst + i,
                       QVantelMenuItem::Navigation,
                       tr("Input Stream %1").arg(i + 1));
    addSettingsRow(page, kRowReceiverDelay, QVantelMenuItem::NumericEntry, QString());
    refreshRavennaInputsPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaInputsPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const bool locked = pageLocked();
    const bool more = moreSlots();
    const int count = slotCount();
    bool unread = false;
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        // The slots the module has, then the receiver delay and its limits.
        std::vector<std::string> keys;
        for (int i = 0; i < count; ++i)
            keys.push_back(*slotFields(i).front().key);
        keys.push_back(kRavennaKeyRavDelayMinIn);
        keys.push_back(kRavennaKeyRavDelayMaxIn);
        keys.push_back(kRavennaKeyRavDelayIn);
        unread = !c->read(keys);
        if (!guard)
            return;
    }
    for (int i = 0; i < count; ++i) {
        if (QVantelMenuItem *row = page->findItem(kPageStreamFirst + i)) {
            row->setValueText(slotText(c->streamIn(i)));
            row->setReadOnly(locked);
            // A slot the module did not send names no stream.
            showRowByKey(page, row->id(), *slotFields(i).front().key);
        }
    }
    if (QVantelMenuItem *row = page->findItem(kRowReceiverDelay)) {
        row->titleLabel()->setText(
            tr("Receiver Delay (%1..%2 samples)").arg(c->delayMinIn()).arg(c->delayMaxIn()));
        row->setValueText(delayText(c->delayIn()));
        row->setReadOnly(locked || more);
        // A delay, or limits to judge a typed one by, that the module did not send: the row
        // claims none and takes none.
        for (const std::string *key :
             {&kRavennaKeyRavDelayIn, &kRavennaKeyRavDelayMinIn, &kRavennaKeyRavDelayMaxIn}) {
            if (!c->isKnown(*key))
                showUnread(row);
        }
    }
    if (unread)
        showPageUnread(page);
}

void QVantelSettingsPage::createRavennaStreamPage(int pageId)
{
    const int slot = pageId - kPageStreamFirst;
    ravennaStreamEdit = module()->streamIn(slot);
    auto *page = new QVantelMenuItems(pageId, this);
    addSettingsRow(page, kRowStreamId, QVantelMenuItem::Choice, tr("Stream ID"));
    addSettingsRow(page, kRowStreamChannel, QVantelMenuItem::Choice, tr("Channel"));
    QVantelMenuItem *mode
        = addSettingsRow(page, kRowStreamMode, QVantelMenuItem::Choice, tr("Mode"));
    mode->addValue(0, tr("Multicast"));
    mode->addValue(1, tr("Unicast/SIP"));
    mode->selectValue(0, true, false);
    mode->setReadOnly(true);
    refreshRavennaStreamPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaStreamPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    header()->setRefreshVisible(false);
    const bool locked = pageLocked();
    const QPointer<QVantelMenuItems> guard = page;
    std::vector<Controller::StreamRef> listed;
    // Without the module's list, neither the stream nor its channel can be chosen.
    const bool unlisted = !module()->listStreamsIn(listed);
    if (!guard)
        return;

    const Controller::StreamRef *chosen = nullptr;
    for (const Controller::StreamRef &stream : listed) {
        if (stream.name == ravennaStreamEdit.name) {
            chosen = &stream;
            break;
        }
    }
    // A listed stream's second number is its channel count; its channels are 0 to n - 1. A
    // channel beyond the last is the last, one below the first (a negative one) the first.
    if (chosen) {
        ravennaStreamEdit.id = chosen->id;
        const int count = channelCount(*chosen);
        ravennaStreamEdit.channel
            = std::clamp(ravennaStreamEdit.channel, 0, std::max(count - 1, 0));
    }

    if (QVantelMenuItem *row = page->findItem(kRowStreamId)) {
        row->clearValues();
        for (const Controller::StreamRef &stream : listed)
            row->addValue(stream.id, toQString(stream.name));
        row->selectValue(ravennaStreamEdit.id, true, false);
        row->setReadOnly(locked || unlisted);
    }
    if (QVantelMenuItem *row = page->findItem(kRowStreamChannel)) {
        row->clearValues();
        row->setValueText(QString(), true);
        if (chosen) {
            for (int channel = 0, count = channelCount(*chosen); channel < count; ++channel)
                row->addValue(channel, QString::number(channel + 1));
            row->selectValue(ravennaStreamEdit.channel, true, false);
        }
        row->setReadOnly(locked || unlisted);
    }
    // A channel the stream does not have, or a stream now listed under another id, has just
    // been corrected in the edit: the page then differs from the module and offers the Apply
    // that writes the correction.
    const int slot = streamSlot(page);
    if (!locked && slot >= 0 && slot < Controller::StreamCount && isPageInView(page))
        header()->setModified(!module()->streamIn(slot).sameStream(ravennaStreamEdit));
}

bool QVantelSettingsPage::ravennaStreamHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const int slot = streamSlot(page);
    return slot >= 0 && slot < Controller::StreamCount
           && fieldsDiffer(page, *module(), slotFields(slot));
}

bool QVantelSettingsPage::applyRavennaStreamPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller &c = *module();
    const int slot = streamSlot(page);
    if (slot < 0 || slot >= Controller::StreamCount)
        return false;
    const StreamRef before = c.streamIn(slot);
    if (before.sameStream(ravennaStreamEdit))
        return true;
    // A refusal puts the old reference back; its status words come with the next read.
    StagedChanges staged;
    staged.stage(c,
                 at(&Controller::setStreamIn, slot),
                 ravennaStreamEdit,
                 *slotFields(slot).front().key,
                 before);
    return writeStaged(this, c, staged);
}

void QVantelSettingsPage::commitRavennaInputsItem(QVantelMenuItem *item)
{
    if (item->id() != kRowReceiverDelay)
        return;
    Controller *c = module();
    const QPointer<QVantelMenuItem> row = item;
    const WriteWatch watch;
    int delay = 0;
    if (!decimal(item->valueText(), &delay) || delay < c->delayMinIn() || delay > c->delayMaxIn()
        || !c->setDelayIn(delay, true)) {
        showWriteFailed(this, row, watch, [c](QVantelMenuItem *r) {
            r->setValueText(delayText(c->delayIn()));
        });
    }
}

void QVantelSettingsPage::commitRavennaStreamItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const QVantelMenuItem::Value *value = item->currentValue();
    if (!value)
        return;
    if (item->id() == kRowStreamId) {
        ravennaStreamEdit.name = toStdString(value->text);
        refreshRavennaStreamPage(page);
    } else if (item->id() == kRowStreamChannel) {
        ravennaStreamEdit.channel = value->value;
    }
}
