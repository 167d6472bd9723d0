// The SIP pages of the Network section: SIP settings (10) and the two SIP accounts (76, 77).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::buildSipPage() {}

void QVantelSettingsPage::buildSipAccountPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::updateDefaultAccountRow(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

bool QVantelSettingsPage::hasSipChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::hasSipAccountChanges(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return false;
}

bool QVantelSettingsPage::applySipPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applySipAccountPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitSipItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}
