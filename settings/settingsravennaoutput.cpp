// The module's output stream page (148): the stream's name and state and, per interface, its
// multicast destination, staged and written together on Apply.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsravennafields.h"
#include "settings/settingsrows.h"

#include "model/accesslevel.h"
#include "model/comravennacontroller.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QGridLayout>
#include <QPointer>

#include <string>
#include <vector>

using namespace RavennaFields;

namespace {

// The output page's rows for the second interface: a two-interface "Merging" module.
bool outputInterfaceRows()
{
    return moduleMaker() == Maker::Merging && twoInterfaces();
}

using Field = SettingsField<Controller>;
using Tx = Controller::TxDestination;

constexpr int kMaxPort = 65535;

// The editable rows of one interface's multicast destination: its switch first. An emptied
// address is no change, and only a port the user typed is judged: the module's own value, even
// one out of range (a port 0 it reports, a hidden interface's port), never blocks the user's
// other edits.
const SettingsFields<Controller> &destinationFields(int iface)
{
    const auto fields = [](int n,
                           int autoconfRow,
                           const std::string &autoconf,
                           int mcAddrRow,
                           const std::string &mcAddr,
                           int mcPortRow,
                           const std::string &mcPort) -> SettingsFields<Controller> {
        return {
            Field::flag(autoconfRow,
                        autoconf,
                        at(&Controller::txDestination, n, &Tx::autoconf),
                        at(&Controller::setAutoconfOu, n)),
            Field::text(mcAddrRow,
                        mcAddr,
                        at(&Controller::txDestination, n, &Tx::mcAddr),
                        at(&Controller::setMcAddrOu, n))
                .comparedAsShown()
                .unchangedWhenEmpty(),
            Field::number(mcPortRow,
                          mcPort,
                          at(&Controller::txDestination, n, &Tx::mcPort),
                          at(&Controller::setMcPortOu, n),
                          1,
                          kMaxPort)
                .comparedAsShown(),
        };
    };
    static const SettingsFields<Controller> destinations[Controller::InterfaceCount] = {
        fields(0,
               kRowOutputAutoconf1,
               kRavennaKeyRavAutoconfOu,
               kRowOutputMcAddr1,
               kRavennaKeyRavMcAddrOu,
               kRowOutputMcPort1,
               kRavennaKeyRavMcPortOu),
        fields(1,
               kRowOutputAutoconf2,
               kRavennaKeyRavAutoconfOu1,
               kRowOutputMcAddr2,
               kRavennaKeyRavMcAddrOu1,
               kRowOutputMcPort2,
               kRavennaKeyRavMcPortOu1),
    };
    return destinations[iface & 1];
}

// The rows every output page has, in the order the page reads their keys: the stream's name
// (an emptied name is no change), its state and the first interface's destination.
const SettingsFields<Controller> &outputFields()
{
    static const SettingsFields<Controller> fields = [] {
        SettingsFields<Controller> rows = {
            Field::text(kRowOutputStreamName,
                        kRavennaKeyRavNameOu,
                        &Controller::nameOu,
                        &Controller::setNameOu)
                .comparedAsShown()
                .unchangedWhenEmpty(),
            Field::flag(kRowOutputTransmit,
                        kRavennaKeyRavModeOu,
                        &Controller::modeOu,
                        &Controller::setModeOu),
        };
        for (const Field &field : destinationFields(0))
            rows.push_back(field);
        return rows;
    }();
    return fields;
}

// The rows of the second interface (outputInterfaceRows()): the interfaces the stream goes out
// on and the second destination.
const SettingsFields<Controller> &interfaceFields()
{
    static const SettingsFields<Controller> fields = [] {
        SettingsFields<Controller> rows = {
            Field::choice(kRowOutputInterfaces,
                          kRavennaKeyRavNetifOu,
                          &Controller::netifOu,
                          &Controller::setNetifOu),
        };
        for (const Field &field : destinationFields(1))
            rows.push_back(field);
        return rows;
    }();
    return fields;
}

} // namespace

// --- Output stream (148) -------------------------------------------------------------------------

void QVantelSettingsPage::createRavennaOutputPage()
{
    auto *page = new QVantelMenuItems(kPageRavennaOutput, this);
    const bool interfaceRows = outputInterfaceRows();
    addSettingsRow(page, kRowOutputStreamName, QVantelMenuItem::TextEntry, tr("Stream ID"));
    addSettingsRow(page, kRowOutputTransmit, QVantelMenuItem::Switch, tr("State"));
    if (interfaceRows) {
        QVantelMenuItem *row = addSettingsRow(
            page, kRowOutputInterfaces, QVantelMenuItem::Choice, tr("Output Interface(s)"));
        row->addValue(0, tr("Interface 1"));
        row->addValue(1, tr("Interface 2"));
        row->addValue(2, tr("Interfaces 1&2"));
        addSettingsRow(
            page, kRowOutputInterface1Caption, QVantelMenuItem::Caption, tr("Interface 1"));
    }
    addSettingsRow(page, kRowOutputAutoconf1, QVantelMenuItem::Switch, tr("Auto Configuration"));
    addSettingsRow(page, kRowOutputMcAddr1, QVantelMenuItem::NumericEntry, tr("Multicast Address"));
    addSettingsRow(page, kRowOutputMcPort1, QVantelMenuItem::NumericEntry, tr("Multicast Port"));
    if (interfaceRows) {
        addSettingsRow(
            page, kRowOutputInterface2Caption, QVantelMenuItem::Caption, tr("Interface 2"));
        addSettingsRow(page,
                       kRowOutputAutoconf2,
                       QVantelMenuItem::Switch,
                       tr("Auto Configuration"),
                       kIndentedLeft);
        addSettingsRow(page,
                       kRowOutputMcAddr2,
                       QVantelMenuItem::NumericEntry,
                       tr("Multicast Address"),
                       kIndentedLeft);
        addSettingsRow(page,
                       kRowOutputMcPort2,
                       QVantelMenuItem::NumericEntry,
                       tr("Multicast Port"),
                       kIndentedLeft);
    }
    addSettingsRow(page, kRowOutputChannelCount, QVantelMenuItem::NumericEntry, tr("Channel Count"))
        ->setReadOnly(true);
    addSettingsRow(page, kRowOutputPacketTime, QVantelMenuItem::NumericEntry, tr("Packet Time"))
        ->setReadOnly(true);
    refreshRavennaOutputPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaOutputPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const bool locked = pageLocked();
    const bool interfaceRows = outputInterfaceRows();
    bool unread = false;
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        std::vector<std::string> keys;
        for (const Field &field : outputFields())
            keys.push_back(*field.key);
        keys.push_back(kRavennaKeyRavChCountOu);
        keys.push_back(kRavennaKeyRavPtimeOu);
        if (interfaceRows) {
            for (const Field &field : interfaceFields())
                keys.push_back(*field.key);
        }
        unread = !c->read(keys);
        if (!guard)
            return;
    }
    const bool both = c->netifOu() == 2;

    for (const SettingsFields<Controller> *fields : {&outputFields(), &interfaceFields()}) {
        for (const Field &field : *fields) {
            showRowByKey(page, field.row, *field.key);
            if (QVantelMenuItem *row = page->findItem(field.row); row && c->isKnown(*field.key)) {
                showField(row, field, *c);
                row->setReadOnly(locked);
            }
        }
    }
    // Only an Administrator renames the stream, and a destination's address and port follow its
    // switch: the module picks them while it is on.
    // A row the module did not send stays locked, and a destination whose switch it did not send
    // leaves open whether the module picks it: it is locked too.
    setRowReadOnly(page,
                   kRowOutputStreamName,
                   locked || accessLevel != AccessLevel::Administrator
                       || !c->isKnown(kRavennaKeyRavNameOu));
    for (int iface = 0; iface < Controller::InterfaceCount; ++iface) {
        const SettingsFields<Controller> &fields = destinationFields(iface);
        const bool fixed
            = locked || c->txDestination(iface).autoconf || !c->isKnown(*fields.front().key);
        for (auto field = fields.begin() + 1; field != fields.end(); ++field)
            setRowReadOnly(page, field->row, fixed || !c->isKnown(*field->key));
    }
    for (const int id : {kRowOutputInterface1Caption,
                         kRowOutputInterface2Caption,
                         kRowOutputAutoconf2,
                         kRowOutputMcAddr2,
                         kRowOutputMcPort2}) {
        if (QVantelMenuItem *row = page->findItem(id))
            row->setVisible(both);
    }
    for (const int id : {kRowOutputAutoconf1, kRowOutputMcAddr1, kRowOutputMcPort1}) {
        if (QVantelMenuItem *row = page->findItem(id))
            row->grid()->setContentsMargins(both ? kIndentedLeft : 10, 0, 10, 0);
    }
    setRowText(page, kRowOutputChannelCount, QString::number(c->chCountOu()));
    setRowText(page, kRowOutputPacketTime, tr("%1 ms").arg(double(c->ptimeOu()), 0, 'f', 3));
    if (unread)
        showPageUnread(page);
}

bool QVantelSettingsPage::ravennaOutputHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    const Controller &c = *module();
    // A typed port that is no port counts too, so that Apply runs and refuses it.
    return fieldsDiffer(page, c, outputFields()) || fieldsDiffer(page, c, interfaceFields());
}

bool QVantelSettingsPage::applyRavennaOutputPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller &c = *module();
    // A port outside 1 to 65535 is no port: refused before anything is staged.
    if (!changedNumbersInRange(page, c, outputFields())
        || !changedNumbersInRange(page, c, interfaceFields())) {
        showMessage(failureText(), 0);
        return false;
    }
    StagedChanges staged;
    stageChangedFields(page, c, outputFields(), staged);
    stageChangedFields(page, c, interfaceFields(), staged);
    return writeStaged(this, c, staged);
}

void QVantelSettingsPage::commitRavennaOutputItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    for (int iface = 0; iface < Controller::InterfaceCount; ++iface) {
        const SettingsFields<Controller> &fields = destinationFields(iface);
        if (item->id() != fields.front().row)
            continue;
        const bool fixed = pageLocked() || item->isChecked();
        for (const Field &field : fields) {
            if (field.row != item->id())
                setRowReadOnly(page, field.row, fixed || !module()->isKnown(*field.key));
        }
    }
}
