// The audio-over-IP module pages of the Audio section (123, 129, 130, 137, 138-143, 148).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createRavennaPage() {}

void QVantelSettingsPage::refreshRavennaPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createRavennaAddressPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::createRavennaInputsPage() {}

void QVantelSettingsPage::refreshRavennaInputsPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createRavennaStreamPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::refreshRavennaStreamPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createRavennaOutputPage() {}

void QVantelSettingsPage::refreshRavennaOutputPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

bool QVantelSettingsPage::applyRavennaAddressPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applyRavennaStreamPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

bool QVantelSettingsPage::applyRavennaOutputPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitRavennaItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}
