// The Network section: the network page (1) and the ISDN, Ethernet, mobile and Wi-Fi interface
// pages (11-23).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createNetworkMenu() {}

void QVantelSettingsPage::createIsdnPage() {}

void QVantelSettingsPage::createEthernetPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::createMobilePage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::createWifiPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::refreshNetworkRow(QVantelMenuItem *item)
{
    Q_UNUSED(item)
}

void QVantelSettingsPage::refreshEthernetRows(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

bool QVantelSettingsPage::hasIsdnChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::hasEthernetChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::hasMobileChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::hasWifiChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::applyIsdnPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applyEthernetPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applyMobilePage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applyWifiPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitNetworkItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::commitInterfaceItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::tapInterfaceItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::selectInterfaceItem(QVantelMenuItems *page,
                                              QVantelMenuItem *item,
                                              QVantelMenuSelect *select)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
    Q_UNUSED(select)
}
