#include "settings/qvantelsettingspage.h"

void QVantelSettingsPage::backClicked()
{
    QVantelMenuWidget::backClicked();
    networkPageShown(currentPage());
}

void QVantelSettingsPage::applyClicked()
{
    const std::optional<bool> applied = applyNetworkPage(currentPage());
    if (!applied || *applied)
        QVantelMenuWidget::applyClicked();
}

void QVantelSettingsPage::itemClicked(QVantelMenuItem *item)
{
    QVantelMenuWidget::itemClicked(item);
    networkItemClicked(item);
}

void QVantelSettingsPage::itemCommitted(QVantelMenuItem *item)
{
    networkItemCommitted(item);
}

void QVantelSettingsPage::selectionAccepted(QVantelMenuItem *item, QVantelMenuSelect *select)
{
    networkSelectionAccepted(item, select);
}
