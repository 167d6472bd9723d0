// The Tools section: the Tools page (5), sound ID (195), soft keys (198-205), labels (209),
// miscellaneous settings (229) and passwords (252).

#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::createToolsMenu() {}

void QVantelSettingsPage::updateToolsAccess(QVantelMenuItems *page)
{
    Q_UNUSED(page)
    updateAudioEntry();
}

void QVantelSettingsPage::createSoundIdPage() {}

void QVantelSettingsPage::createSoftkeysPage() {}

void QVantelSettingsPage::refreshSoftkeysPage(QVantelMenuItems *page)
{
    Q_UNUSED(page)
}

void QVantelSettingsPage::createSoftkeyPage(int pageId)
{
    Q_UNUSED(pageId)
}

void QVantelSettingsPage::createLabelsPage() {}

void QVantelSettingsPage::createMiscellaneousPage() {}

void QVantelSettingsPage::createPasswordsPage() {}

void QVantelSettingsPage::commitToolsItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}

void QVantelSettingsPage::tapToolsItem(QVantelMenuItems *page, QVantelMenuItem *item)
{
    Q_UNUSED(page)
    Q_UNUSED(item)
}
