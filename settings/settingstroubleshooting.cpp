// Troubleshooting (241) and remote assistance (245) of the Tools section.

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createTroubleshootingPage() {}

void QVantelSettingsPage::createRemoteAssistancePage() {}

bool QVantelSettingsPage::applyRemoteAssistancePage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitTroubleshootingItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::tapTroubleshootingItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::selectTroubleshootingItem(QVantelMenuItems *page,
                                                    QVantelMenuItem *item,
                                                    QVantelMenuSelect *select)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
    Q_UNUSED(select)
}
