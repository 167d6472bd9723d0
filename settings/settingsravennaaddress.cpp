// The module's addressing pages (129, 130), one per interface: DHCP and the static addresses,
// staged and written together on Apply.

#include "settings/qvantelsettingspage.h"
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
#include <utility>
#include <vector>

using namespace RavennaFields;

namespace {

int addressInterface(const QVantelMenuItems *page)
{
    return page->id() - kPageRavennaAddress1;
}

// The keys of one interface of the addressing pages.
struct AddressKeys
{
    const std::string &dhcp;
    const std::string &ipAddr;
    const std::string &subnet;
    const std::string &gateway;
    const std::string &hwAddr;
    const std::string &vlanId;
};

AddressKeys addressKeys(int iface)
{
    if (iface == 0) {
        return {kRavennaKeyRavDhcp,
                kRavennaKeyRavIpAddr,
                kRavennaKeyRavSubnet,
                kRavennaKeyRavGateway,
                kRavennaKeyRavHwAddr,
                kRavennaKeyRavVlanId};
    }
    return {kRavennaKeyRavDhcp1,
            kRavennaKeyRavIpAddr1,
            kRavennaKeyRavSubnet1,
            kRavennaKeyRavGateway1,
            kRavennaKeyRavHwAddr1,
            kRavennaKeyRavVlanId1};
}

// Puts an interface's addressing back as it was before Apply staged it. The mode goes back
// through the module's own word, so a ZeroConf interface stays ZeroConf.
void restoreAddressing(int iface, const Controller::NetInterface &before)
{
    Controller *c = module();
    const AddressKeys keys = addressKeys(iface);
    std::string mode = "off";
    if (before.dhcp == Controller::DhcpOn)
        mode = "on";
    else if (before.dhcp == Controller::DhcpZeroconf)
        mode = "zeroconf";
    (void)c->applyParams({{keys.dhcp, mode}});
    (void)c->setIpAddr(iface, before.ipAddr, false);
    (void)c->setSubnet(iface, before.subnet, false);
    (void)c->setGateway(iface, before.gateway, false);
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
    bool unread = false;
    if (!locked) {
        const QPointer<QVantelMenuItems> guard = page;
        const AddressKeys keys = addressKeys(iface);
        std::vector<std::string> read
            = {keys.dhcp, keys.ipAddr, keys.subnet, keys.gateway, keys.hwAddr};
        if (moduleMaker() == Maker::Merging && twoInterfaces())
            read.push_back(keys.vlanId);
        unread = !c->read(read);
        if (!guard)
            return;
    }
    // The address rows follow the mode just read, so they are locked exactly when the switch
    // shows DHCP or ZeroConf.
    const Controller::NetInterface &net = c->netInterface(iface);
    const bool addressLocked = locked || net.dhcp != Controller::DhcpOff;
    if (QVantelMenuItem *row = page->findItem(kRowRavennaDhcp)) {
        row->setChecked(net.dhcp != Controller::DhcpOff);
        row->setReadOnly(locked);
    }
    const std::pair<int, const std::string *> texts[] = {{kRowRavennaIpAddress, &net.ipAddr},
                                                         {kRowRavennaSubnet, &net.subnet},
                                                         {kRowRavennaGateway, &net.gateway}};
    for (const auto &[id, text] : texts) {
        if (QVantelMenuItem *row = page->findItem(id)) {
            row->setValueText(toQString(*text));
            row->setReadOnly(addressLocked);
        }
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
    const Controller::NetInterface &net = module()->netInterface(addressInterface(page));
    if (dhcp->isChecked() != (net.dhcp != Controller::DhcpOff))
        return true;
    if (dhcp->isChecked())
        return false;
    const std::pair<int, const std::string *> texts[] = {{kRowRavennaIpAddress, &net.ipAddr},
                                                         {kRowRavennaSubnet, &net.subnet},
                                                         {kRowRavennaGateway, &net.gateway}};
    for (const auto &[id, text] : texts) {
        QVantelMenuItem *row = editableRow(page, id);
        if (row && row->valueText() != toQString(*text))
            return true;
    }
    return false;
}

bool QVantelSettingsPage::applyRavennaAddressPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    QVantelMenuItem *dhcp = editableRow(page, kRowRavennaDhcp);
    if (!dhcp)
        return true;
    Controller *c = module();
    const int iface = addressInterface(page);
    const AddressKeys keys = addressKeys(iface);
    const Controller::NetInterface before = c->netInterface(iface);

    std::vector<std::string> changed;
    const bool on = dhcp->isChecked();
    if (on != (before.dhcp != Controller::DhcpOff)) {
        (void)c->setDhcp(iface, on, false);
        changed.push_back(keys.dhcp);
    }
    if (!on) {
        using Setter = bool (Controller::*)(int, const std::string &, bool);
        const struct
        {
            int row;
            const std::string &value;
            Setter setter;
            const std::string &key;
        } fields[] = {{kRowRavennaIpAddress, before.ipAddr, &Controller::setIpAddr, keys.ipAddr},
                      {kRowRavennaSubnet, before.subnet, &Controller::setSubnet, keys.subnet},
                      {kRowRavennaGateway, before.gateway, &Controller::setGateway, keys.gateway}};
        for (const auto &field : fields) {
            QVantelMenuItem *row = editableRow(page, field.row);
            if (!row || row->valueText() == toQString(field.value))
                continue;
            (void)(c->*field.setter)(iface, toStdString(row->valueText()), false);
            changed.push_back(field.key);
        }
    }
    if (changed.empty())
        return true;

    showMessage(applyingText(), kApplyingMs);
    if (!c->write(changed)) {
        restoreAddressing(iface, before);
        showMessage(failureText(), 0);
        return false;
    }
    showMessage(powerCycleText(), 0);
    return true;
}

void QVantelSettingsPage::commitRavennaAddressItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    if (item->id() != kRowRavennaDhcp)
        return;
    const bool on = item->isChecked();
    for (const int row : {kRowRavennaIpAddress, kRowRavennaSubnet, kRowRavennaGateway})
        setRowReadOnly(page, row, on);
}
