// The module's addressing pages (129, 130), one per interface: DHCP and the static addresses,
// staged and written together on Apply.

#include "settings/qvantelsettingspage.h"
#include "settings/settingsfields.h"
#include "settings/settingsids.h"
#include "settings/settingsravennafields.h"
#include "settings/settingsrows.h"

#include "model/comravennacontroller.h"
#include "model/modelkeys.h"
#include "model/textconversions.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <QPointer>

#include <string>
#include <vector>

using namespace RavennaFields;

namespace {

int addressInterface(const QVantelMenuItems *page)
{
    return page->id() - kPageRavennaAddress1;
}

using Field = SettingsField<Controller>;
using Net = Controller::NetInterface;

// The DHCP switch: on for DHCP and ZeroConf. It is staged as the interface's mode itself, so
// that a refused Apply puts a ZeroConf interface back as ZeroConf.
Field dhcpField(int iface, const std::string &key)
{
    return Field::choice(kRowRavennaDhcp,
                         key,
                         at(&Controller::netInterface, iface, &Net::dhcp),
                         at(&Controller::setDhcpMode, iface))
        .comparedBy([iface](const Controller &c, const QVantelMenuItem *row, FieldValue &value) {
            value.number = row->isChecked() ? Controller::DhcpOn : Controller::DhcpOff;
            return row->isChecked() != (c.netInterface(iface).dhcp != Controller::DhcpOff);
        });
}

// The rows of an addressing page over one interface of the module, and the keys the page reads
// besides theirs.
struct AddressFields
{
    Field dhcp;
    // They count only while the switch is off.
    SettingsFields<Controller> addresses;
    // The interface's hardware address, which the page only shows.
    const std::string &hwAddr;
    // Read too with a Merging module of two interfaces.
    const std::string &vlanId;
};

const AddressFields &addressFields(int iface)
{
    const auto fields = [](int n,
                           const std::string &dhcp,
                           const std::string &ipAddr,
                           const std::string &subnet,
                           const std::string &gateway,
                           const std::string &hwAddr,
                           const std::string &vlanId) -> AddressFields {
        return {dhcpField(n, dhcp),
                {Field::text(kRowRavennaIpAddress,
                             ipAddr,
                             at(&Controller::netInterface, n, &Net::ipAddr),
                             at(&Controller::setIpAddr, n))
                     .comparedAsShown(),
                 Field::text(kRowRavennaSubnet,
                             subnet,
                             at(&Controller::netInterface, n, &Net::subnet),
                             at(&Controller::setSubnet, n))
                     .comparedAsShown(),
                 Field::text(kRowRavennaGateway,
                             gateway,
                             at(&Controller::netInterface, n, &Net::gateway),
                             at(&Controller::setGateway, n))
                     .comparedAsShown()},
                hwAddr,
                vlanId};
    };
    static const AddressFields interfaces[Controller::InterfaceCount] = {
        fields(0,
               kRavennaKeyRavDhcp,
               kRavennaKeyRavIpAddr,
               kRavennaKeyRavSubnet,
               kRavennaKeyRavGateway,
               kRavennaKeyRavHwAddr,
               kRavennaKeyRavVlanId),
        fields(1,
               kRavennaKeyRavDhcp1,
               kRavennaKeyRavIpAddr1,
               kRavennaKeyRavSubnet1,
               kRavennaKeyRavGateway1,
               kRavennaKeyRavHwAddr1,
               kRavennaKeyRavVlanId1),
    };
    return interfaces[iface & 1];
}

} // namespace

// --- Addressing pages (129, 130) ---------------------------------------------------------------

void QVantelSettingsPage::createRavennaAddressPage(int pageId)
{
    auto *page = new QVantelMenuItems(pageId, this);
    addSettingsRow(page, kRowRavennaDhcp, QVantelMenuItem::Switch, tr("DHCP"));
    addSettingsRow(page, kRowRavennaIpAddress, QVantelMenuItem::NumericEntry, tr("IP Address"));
    addSettingsRow(page, kRowRavennaSubnet, QVantelMenuItem::NumericEntry, tr("Subnet Mask"));
    addSettingsRow(page, kRowRavennaGateway, QVantelMenuItem::NumericEntry, tr("Default Gateway"));
    addSettingsRow(page, kRowRavennaMacAddress, QVantelMenuItem::NumericEntry, tr("MAC Address"))
        ->setReadOnly(true);
    refreshRavennaAddressPage(page);
    pushPage(page);
}

void QVantelSettingsPage::refreshRavennaAddressPage(QVantelMenuItems *page)
{
    if (!page)
        return;
    Controller *c = module();
    const int iface = addressInterface(page);
    const bool locked = pageLocked();
    const AddressFields &fields = addressFields(iface);
    bool unread = false;
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        std::vector<std::string> read = {*fields.dhcp.key};
        for (const Field &field : fields.addresses)
            read.push_back(*field.key);
        read.push_back(fields.hwAddr);
        if (moduleMaker() == Maker::Merging && twoInterfaces())
            read.push_back(fields.vlanId);
        unread = !c->read(read);
        if (!guard)
            return;
    }
    // The address rows follow the mode just read, so they are locked exactly when the switch
    // shows DHCP or ZeroConf; a mode the module did not send leaves that open, and they are
    // locked too.
    const Net &net = c->netInterface(iface);
    const bool addressLocked
        = locked || net.dhcp != Controller::DhcpOff || !c->isKnown(*fields.dhcp.key);
    showRowByKey(page, kRowRavennaDhcp, *fields.dhcp.key);
    if (QVantelMenuItem *row = page->findItem(kRowRavennaDhcp);
        row && c->isKnown(*fields.dhcp.key)) {
        row->setChecked(net.dhcp != Controller::DhcpOff);
        row->setReadOnly(locked);
    }
    for (const Field &field : fields.addresses) {
        if (QVantelMenuItem *row = page->findItem(field.row); row && c->isKnown(*field.key)) {
            row->setValueText(toQString(field.getText(*c)));
            row->setReadOnly(addressLocked);
        }
        showRowByKey(page, field.row, *field.key);
    }
    setRowText(page, kRowRavennaMacAddress, toQString(net.hwAddr));
    if (unread)
        showPageUnread(page);
}

bool QVantelSettingsPage::ravennaAddressHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    QVantelMenuItem *dhcp = editableRow(page, kRowRavennaDhcp);
    if (!dhcp)
        return false;
    const Controller &c = *module();
    const AddressFields &fields = addressFields(addressInterface(page));
    FieldValue value;
    if (fieldDiffers(c, fields.dhcp, dhcp, value))
        return true;
    return !dhcp->isChecked() && fieldsDiffer(page, c, fields.addresses);
}

bool QVantelSettingsPage::applyRavennaAddressPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    QVantelMenuItem *dhcp = editableRow(page, kRowRavennaDhcp);
    if (!dhcp)
        return true;
    Controller &c = *module();
    const AddressFields &fields = addressFields(addressInterface(page));
    StagedChanges staged;
    FieldValue value;
    if (fieldDiffers(c, fields.dhcp, dhcp, value))
        stageField(c, fields.dhcp, value, staged);
    if (!dhcp->isChecked())
        stageChangedFields(page, c, fields.addresses, staged);
    if (staged.isEmpty())
        return true;
    if (!writeStaged(this, c, staged))
        return false;
    showMessage(powerCycleText(), 0);
    return true;
}

void QVantelSettingsPage::commitRavennaAddressItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowRavennaDhcp)
        return;
    // An address the module did not send stays locked.
    for (const Field &field : addressFields(addressInterface(page)).addresses)
        setRowReadOnly(page, field.row, item->isChecked() || !module()->isKnown(*field.key));
}
