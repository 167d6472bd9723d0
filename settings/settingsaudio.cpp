// The Audio section: the audio page (3) and the monitoring options (114).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createAudioMenu() {}

void QVantelSettingsPage::refreshAudioPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createMonitoringPage() {}

bool QVantelSettingsPage::applyMonitoringPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitAudioItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}
