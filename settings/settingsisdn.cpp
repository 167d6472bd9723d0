// The ISDN interface page (11) of the Network section.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsnetworkfields.h"
#include "settings/settingsrows.h"

#include "link/protocolkeys.h"
#include "model/comdevice.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QPointer>

#include <string>
#include <vector>

using namespace NetworkFields;

namespace {

// The capability bit of an entry shown only while it is the unit's own value: no unit offers it.
constexpr quint32 kShownWhileHeld = 1;

const std::vector<Choice> kIsdnProtocols = {
    {TComIsdnController::ProtocolUdss1, QT_TRANSLATE_NOOP("QVantelSettingsPage", "Euro ISDN")},
    {TComIsdnController::ProtocolNi2, QT_TRANSLATE_NOOP("QVantelSettingsPage", "NI-1 / NI-2")},
    {TComIsdnController::ProtocolNtt, QT_TRANSLATE_NOOP("QVantelSettingsPage", "NTT")},
    // Shown only while it is the unit's protocol, so that it reads as what it is; it is not
    // offered as a protocol to change to.
    {TComIsdnController::ProtocolNi1,
     QT_TRANSLATE_NOOP("QVantelSettingsPage", "NI-1"),
     kShownWhileHeld},
};

// The protocol row as the edit copy holds it, whenever the page is built or applied: NI-1 is
// offered only while it is the unit's protocol, and a protocol never read shows "Unknown",
// locked, never the copy's default in its place.
void showIsdnProtocol(QVantelMenuItem *row, const TComIsdnController &copy, bool readOnly)
{
    row->clearValues();
    if (!copy.isKnown(kIsdnKeyProtocol)) {
        showUnread(row);
        return;
    }
    const int protocol = copy.protocol();
    fillChoice(row,
               kIsdnProtocols,
               protocol,
               readOnly,
               QString(),
               protocol == TComIsdnController::ProtocolNi1 ? ~quint32(0) : ~kShownWhileHeld);
}

bool isSpidProtocol(int protocol)
{
    return protocol == TComIsdnController::ProtocolNi2
           || protocol == TComIsdnController::ProtocolNi1;
}

// --- Field tables: the editable rows over the edit copy, in the order their keys are written.

using Isdn = TComIsdnController;

const SettingsFields<Isdn> &isdnFields()
{
    using Field = SettingsField<Isdn>;
    static const SettingsFields<Isdn> fields = {
        Field::flag(kRowIsdn5as, kIsdnKey5as, &Isdn::fiveAs, &Isdn::set5as),
        Field::choice(kRowIsdnProtocol, kIsdnKeyProtocol, &Isdn::protocol, &Isdn::setProtocol),
        Field::text(
            kRowIsdnLocalNumber1, kIsdnKeyAddrSb0Ch0, &Isdn::localNumber1, &Isdn::setLocalNumber1),
        Field::text(
            kRowIsdnLocalNumber2, kIsdnKeyAddrSb0Ch1, &Isdn::localNumber2, &Isdn::setLocalNumber2),
        Field::text(
            kRowIsdnSubAddress1, kIsdnKeySubaddrSb0Ch0, &Isdn::subAddress1, &Isdn::setSubAddress1),
        Field::text(
            kRowIsdnSubAddress2, kIsdnKeySubaddrSb0Ch1, &Isdn::subAddress2, &Isdn::setSubAddress2),
        Field::text(kRowIsdnSpid, kIsdnKeySpid, &Isdn::spid, &Isdn::setSpid),
    };
    return fields;
}

} // namespace

// --- ISDN page --------------------------------------------------------------------------------

void QVantelSettingsPage::createIsdnPage()
{
    auto *page = new QVantelMenuItems(kPageIsdn, this);
    editIsdn.setNetwork(interfaceNetwork(kPageIsdn), TComNetworkController::ReadAllFlag, false);
    const TComIsdnController &copy = editIsdn;
    // The switch and the interface's settings are read apart: each row shows what its own read
    // brought, and a row whose read failed is locked and shows no default in its place.
    const bool protocolRead = copy.isKnown(kIsdnKeyProtocol);
    const bool spid = isSpidProtocol(copy.protocol());
    using Entry = QVantelMenuItem;

    addSwitchRow(
        page, kRowIsdn5as, QStringLiteral("5AS"), copy.fiveAs(), !copy.isKnown(kIsdnKey5as));
    showIsdnProtocol(
        addSettingsRow(page, kRowIsdnProtocol, Entry::Choice, tr("Protocol")), copy, false);
    const auto numberRow = [&](int id, const QString &label, const std::string &value, bool lock) {
        addTextRow(page, id, Entry::NumericEntry, label, value, lock || !protocolRead);
    };
    numberRow(kRowIsdnLocalNumber1, tr("Local Number 1"), copy.localNumber1(), spid);
    numberRow(kRowIsdnLocalNumber2, tr("Local Number 2"), copy.localNumber2(), spid);
    numberRow(kRowIsdnSubAddress1, tr("Sub-Address 1"), copy.subAddress1(), spid);
    numberRow(kRowIsdnSubAddress2, tr("Sub-Address 2"), copy.subAddress2(), spid);
    numberRow(kRowIsdnSpid, QStringLiteral("SPID"), copy.spid(), !spid);
    for (const auto &field : isdnFields()) {
        if (!copy.isKnown(*field.key))
            showUnread(page->findItem(field.row));
    }
    pushPage(page);
}

bool QVantelSettingsPage::hasIsdnChanges(QVantelMenuItems *page)
{
    return page && fieldsDiffer(page, editIsdn, isdnFields());
}

bool QVantelSettingsPage::applyIsdnPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    StagedChanges staged;
    stageChangedFields(page, editIsdn, isdnFields(), staged);
    QPointer<QVantelMenuItems> guard = page;
    if (!writeStaged(this, editIsdn, staged))
        return false;
    // NI-1 stays offered only while the unit holds it.
    if (QVantelMenuItem *protocol = guard ? guard->findItem(kRowIsdnProtocol) : nullptr)
        showIsdnProtocol(protocol, editIsdn, protocol->isReadOnly());
    return true;
}

void QVantelSettingsPage::commitIsdnItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowIsdnProtocol || !item->currentValue())
        return;
    const bool spid = isSpidProtocol(item->currentValue()->value);
    // A row whose value was not read stays locked whatever the protocol.
    for (const auto &field : isdnFields()) {
        QVantelMenuItem *row = page->findItem(field.row);
        if (!row || field.row == kRowIsdn5as || field.row == kRowIsdnProtocol)
            continue;
        const bool numbered = field.row != kRowIsdnSpid;
        row->setReadOnly(numbered == spid || !editIsdn.isKnown(*field.key));
    }
}
