// The Book section: the Book page (4), the stored-item lists (173-176) and item pages (178).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createBookMenu() {}

void QVantelSettingsPage::createCallProfileList() {}

void QVantelSettingsPage::createPresetList() {}

void QVantelSettingsPage::createSipProfileList() {}

void QVantelSettingsPage::createSnapshotList() {}

bool QVantelSettingsPage::applyCallProfile(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    return true;
}

void QVantelSettingsPage::commitBookItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::tapBookItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::keyboardBookItem(QVantelMenuItems *page,
                                           QVantelMenuItem *item,
                                           QVantelVirtual *keyboard)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
    Q_UNUSED(keyboard)
}

void QVantelSettingsPage::selectBookItem(QVantelMenuItems *page,
                                         QVantelMenuItem *item,
                                         QVantelMenuSelect *select)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
    Q_UNUSED(select)
}
