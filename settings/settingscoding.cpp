// The Coding section: the coding page (2), the codec pages (98, 99) and automatic bit rate (100).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createCodingMenu() {}

void QVantelSettingsPage::updateCodingEntries(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createCodecPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::createAutoBitRatePage() {}

bool QVantelSettingsPage::codecPageHasChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::applyCodecPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitCodingItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}
