// The Status section: the Status page (6), audio connections (259), call statistics (270, 271),
// the AoIP controller (279) and the mobile interfaces (289-292).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createStatusMenu() {}

void QVantelSettingsPage::refreshStatusMenu(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::refreshEthernetStatusRow(QVantelMenuItems *page, int rowId)
{
    Q_UNUSED(page)
    Q_UNUSED(rowId)
}

void QVantelSettingsPage::createConnectionStatusPage() {}

void QVantelSettingsPage::refreshConnectionLink(QVantelMenuItems *page, int link)
{
    Q_UNUSED(page)
    Q_UNUSED(link)
}

void QVantelSettingsPage::showAudioConnection(QVantelMenuItems *page,
                                              TComAudioConnection *connection)
{
    Q_UNUSED(page)
    Q_UNUSED(connection)
}

void QVantelSettingsPage::createCallStatisticsPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::refreshCallStatisticsPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createAoipStatusPage() {}

void QVantelSettingsPage::refreshAoipStatusPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createMobileStatusPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::refreshMobileStatus(QVantelMenuItems *page, int pageId)
{
    Q_UNUSED(page)
    Q_UNUSED(pageId)
}
