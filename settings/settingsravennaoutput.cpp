// The module's output stream page (148): the stream's name and state and, per interface, its
// multicast destination, staged and written together on Apply.

#include "settings/qvantelsettingspage.h"
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

#include <optional>
#include <string>
#include <vector>

using namespace RavennaFields;

namespace {

// The output page's rows for the second interface: a two-interface "Merging" module.
bool outputInterfaceRows()
{
    return moduleMaker() == Maker::Merging && twoInterfaces();
}

// A port is a number from 1 to 65535; any other text is not one.
bool portNumber(const QString &text, int *value)
{
    int number = 0;
    if (!decimal(text, &number) || number < 1 || number > 65535)
        return false;
    *value = number;
    return true;
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
        std::vector<std::string> keys = {kRavennaKeyRavNameOu,
                                         kRavennaKeyRavModeOu,
                                         kRavennaKeyRavAutoconfOu,
                                         kRavennaKeyRavMcAddrOu,
                                         kRavennaKeyRavMcPortOu,
                                         kRavennaKeyRavChCountOu,
                                         kRavennaKeyRavPtimeOu};
        if (interfaceRows) {
            keys.push_back(kRavennaKeyRavNetifOu);
            keys.push_back(kRavennaKeyRavAutoconfOu1);
            keys.push_back(kRavennaKeyRavMcAddrOu1);
            keys.push_back(kRavennaKeyRavMcPortOu1);
        }
        unread = !c->read(keys);
        if (!guard)
            return;
    }
    const bool both = c->netifOu() == 2;

    if (QVantelMenuItem *row = page->findItem(kRowOutputStreamName)) {
        row->setValueText(toQString(c->nameOu()));
        row->setReadOnly(locked || accessLevel != AccessLevel::Administrator);
    }
    if (QVantelMenuItem *row = page->findItem(kRowOutputTransmit)) {
        row->setChecked(c->modeOu());
        row->setReadOnly(locked);
    }
    if (QVantelMenuItem *row = page->findItem(kRowOutputInterfaces)) {
        row->selectValue(c->netifOu(), true, false);
        row->setReadOnly(locked);
    }
    for (int iface = 0; iface < 2; ++iface) {
        const Controller::TxDestination &destination = c->txDestination(iface);
        const int autoconfRow = iface == 0 ? kRowOutputAutoconf1 : kRowOutputAutoconf2;
        if (QVantelMenuItem *row = page->findItem(autoconfRow)) {
            row->setChecked(destination.autoconf);
            row->setReadOnly(locked);
        }
        const bool fixed = locked || destination.autoconf;
        if (QVantelMenuItem *row = page->findItem(autoconfRow + 1)) {
            row->setValueText(toQString(destination.mcAddr));
            row->setReadOnly(fixed);
        }
        if (QVantelMenuItem *row = page->findItem(autoconfRow + 2)) {
            row->setValueText(QString::number(destination.mcPort));
            row->setReadOnly(fixed);
        }
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

namespace {

// One interface's editable rows of the output page, and what differs from the module's values.
struct OutputEdits
{
    std::optional<bool> autoconf;
    std::optional<std::string> mcAddr;
    std::optional<int> mcPort;
    bool badPort = false;
};

OutputEdits outputEdits(const QVantelMenuItems *page, int iface)
{
    const Controller::TxDestination &destination = module()->txDestination(iface);
    const int autoconfRow = iface == 0 ? kRowOutputAutoconf1 : kRowOutputAutoconf2;
    OutputEdits edits;
    if (QVantelMenuItem *row = editableRow(page, autoconfRow);
        row && row->isChecked() != destination.autoconf)
        edits.autoconf = row->isChecked();
    if (QVantelMenuItem *row = editableRow(page, autoconfRow + 1)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(destination.mcAddr))
            edits.mcAddr = toStdString(text);
    }
    // Only a port the user typed is judged: the module's own value, even one out of range (a
    // port 0 it reports, a hidden interface's port), never blocks the user's other edits.
    if (QVantelMenuItem *row = editableRow(page, autoconfRow + 2);
        row && row->valueText() != QString::number(destination.mcPort)) {
        int port = 0;
        if (!portNumber(row->valueText(), &port))
            edits.badPort = true;
        else if (port != destination.mcPort)
            edits.mcPort = port;
    }
    return edits;
}

} // namespace

bool QVantelSettingsPage::ravennaOutputHasChanges(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller *c = module();
    if (QVantelMenuItem *row = editableRow(page, kRowOutputStreamName)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(c->nameOu()))
            return true;
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputTransmit);
        row && row->isChecked() != c->modeOu())
        return true;
    if (QVantelMenuItem *row = editableRow(page, kRowOutputInterfaces)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->value != c->netifOu())
            return true;
    }
    for (int iface = 0; iface < 2; ++iface) {
        const OutputEdits edits = outputEdits(page, iface);
        // A typed port that is no port counts too, so that Apply runs and refuses it.
        if (edits.autoconf || edits.mcAddr || edits.mcPort || edits.badPort)
            return true;
    }
    return false;
}

bool QVantelSettingsPage::applyRavennaOutputPage(QVantelMenuItems *page)
{
    if (!page)
        return false;
    Controller *c = module();
    const OutputEdits edits[2] = {outputEdits(page, 0), outputEdits(page, 1)};
    // A port outside 1 to 65535 is no port: refused before anything is staged.
    if (edits[0].badPort || edits[1].badPort) {
        showMessage(failureText(), 0);
        return false;
    }

    const std::string nameBefore = c->nameOu();
    const bool modeBefore = c->modeOu();
    const int netifBefore = c->netifOu();
    const Controller::TxDestination destinationsBefore[2]
        = {c->txDestination(0), c->txDestination(1)};
    std::vector<std::string> changed;
    if (QVantelMenuItem *row = editableRow(page, kRowOutputStreamName)) {
        const QString text = row->valueText();
        if (!text.isEmpty() && text != toQString(nameBefore)) {
            (void)c->setNameOu(toStdString(text), false);
            changed.push_back(kRavennaKeyRavNameOu);
        }
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputTransmit);
        row && row->isChecked() != modeBefore) {
        (void)c->setModeOu(row->isChecked(), false);
        changed.push_back(kRavennaKeyRavModeOu);
    }
    if (QVantelMenuItem *row = editableRow(page, kRowOutputInterfaces)) {
        const QVantelMenuItem::Value *value = row->currentValue();
        if (value && value->value != netifBefore) {
            (void)c->setNetifOu(value->value, false);
            changed.push_back(kRavennaKeyRavNetifOu);
        }
    }
    const std::string *keys[2][3]
        = {{&kRavennaKeyRavAutoconfOu, &kRavennaKeyRavMcAddrOu, &kRavennaKeyRavMcPortOu},
           {&kRavennaKeyRavAutoconfOu1, &kRavennaKeyRavMcAddrOu1, &kRavennaKeyRavMcPortOu1}};
    for (int iface = 0; iface < 2; ++iface) {
        if (edits[iface].autoconf) {
            (void)c->setAutoconfOu(iface, *edits[iface].autoconf, false);
            changed.push_back(*keys[iface][0]);
        }
        if (edits[iface].mcAddr) {
            (void)c->setMcAddrOu(iface, *edits[iface].mcAddr, false);
            changed.push_back(*keys[iface][1]);
        }
        if (edits[iface].mcPort) {
            (void)c->setMcPortOu(iface, *edits[iface].mcPort, false);
            changed.push_back(*keys[iface][2]);
        }
    }
    if (changed.empty())
        return true;

    showMessage(applyingText(), kApplyingMs);
    if (!c->write(changed)) {
        (void)c->setNameOu(nameBefore, false);
        (void)c->setModeOu(modeBefore, false);
        (void)c->setNetifOu(netifBefore, false);
        for (int iface = 0; iface < 2; ++iface) {
            (void)c->setAutoconfOu(iface, destinationsBefore[iface].autoconf, false);
            (void)c->setMcAddrOu(iface, destinationsBefore[iface].mcAddr, false);
            (void)c->setMcPortOu(iface, destinationsBefore[iface].mcPort, false);
        }
        showMessage(failureText(), 0);
        return false;
    }
    return true;
}

void QVantelSettingsPage::commitRavennaOutputItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    const int id = item->id();
    if (id == kRowOutputAutoconf1 || id == kRowOutputAutoconf2) {
        const bool fixed = pageLocked() || item->isChecked();
        setRowReadOnly(page, id + 1, fixed);
        setRowReadOnly(page, id + 2, fixed);
    }
}
