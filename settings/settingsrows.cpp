#include "settings/settingsrows.h"

#include "settings/settingsfields.h"

#include "link/codecconfig.h"
#include "model/comcontroller.h"
#include "model/comdevice.h"
#include "model/writereport.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuwidget.h"
#include "widgets/qvantelswitch.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QVariant>

namespace {

const char kUnitWordProperty[] = "unitWord";

} // namespace

QString settingsText(const char *text)
{
    return QCoreApplication::translate("QVantelSettingsPage", text);
}

QVantelMenuItem *addSettingsRow(
    QVantelMenuItems *page, int id, int kind, const QString &title, int left, int top, int right)
{
    auto *row = new QVantelMenuItem(id, kind, page);
    if (id >= 0)
        row->setObjectName(QStringLiteral("item%1").arg(id));
    row->grid()->setContentsMargins(left, top, right, 0);
    if (!title.isEmpty())
        row->titleLabel()->setText(title);
    page->addItem(row);
    return row;
}

QVantelMenuItem *editableRow(const QVantelMenuItems *page, int id)
{
    QVantelMenuItem *row = page ? page->findItem(id) : nullptr;
    return row && !row->isReadOnly() ? row : nullptr;
}

int fillChoiceRow(QVantelMenuItem *row,
                  const std::vector<int> &values,
                  const std::function<QString(int)> &text,
                  int value)
{
    row->clearValues();
    for (const int entry : values)
        row->addValue(entry, text(entry));
    if (!values.empty() && row->findValue(value, true) < 0)
        value = values.front();
    row->selectValue(value, true, false);
    // Nothing listed: the text of what the row showed before would pass for the unit's value.
    if (values.empty())
        row->setValueText(QString());
    row->setReadOnly(values.size() < 2);
    return value;
}

int fillChoiceRow(QVantelMenuItem *row, const QMap<int, QString> &entries, int value)
{
    const QList<int> keys = entries.keys();
    return fillChoiceRow(
        row,
        std::vector<int>(keys.cbegin(), keys.cend()),
        [&entries](int key) { return entries.value(key); },
        value);
}

void rememberUnitWord(QVantelMenuItem *row, const std::string &word)
{
    if (row)
        row->setProperty(kUnitWordProperty, QByteArray::fromStdString(word));
}

bool unitHolds(const QVantelMenuItem *row, const std::string &word)
{
    if (!row)
        return false;
    const QVariant held = row->property(kUnitWordProperty);
    return held.isValid() && held.toByteArray().toStdString() == word;
}

std::string unitWord(const QVantelMenuItem *row)
{
    return row ? row->property(kUnitWordProperty).toByteArray().toStdString() : std::string();
}

int telephoneBandRate(int algorithm)
{
    if (algorithm >= 0 && algorithm <= 2)
        return 8000;
    if (algorithm >= 3 && algorithm <= 6)
        return 16000;
    return 0;
}

void showUnread(QVantelMenuItem *row)
{
    if (!row)
        return;
    const QString unknown = settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Unknown"));
    switch (row->kind()) {
    case QVantelMenuItem::Switch:
        // Both positions read "Unknown", and the switch that would show one is hidden.
        row->clearValues();
        row->addValue(0, unknown);
        row->addValue(1, unknown);
        row->setChecked(false);
        if (QVantelSwitch *control = row->switchButton())
            control->hide();
        break;
    case QVantelMenuItem::Choice:
    case QVantelMenuItem::WheelOnRelease:
    case QVantelMenuItem::WheelOnStep:
        row->clearValues();
        row->addValue(-1, unknown);
        row->selectValue(-1, true, false);
        break;
    default:
        row->setValueText(QString());
        break;
    }
    row->setReadOnly(true);
}

void showUnreadKeepingChoices(QVantelMenuItem *row)
{
    if (!row || row->kind() != QVantelMenuItem::Choice) {
        showUnread(row);
        return;
    }
    row->setValueText(settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Unknown")), true);
    row->setReadOnly(true);
}

bool showsUnreadChoice(const QVantelMenuItem *row)
{
    return row && row->values().size() == 1 && row->values().first().value == -1;
}

void showWriteFailed(QVantelMenuWidget *menu,
                     QVantelMenuItem *row,
                     const WriteWatch &watch,
                     const std::function<void(QVantelMenuItem *)> &putBack)
{
    if (row && watch.leftUnknown())
        showUnread(row);
    else if (row)
        putBack(row);
    menu->showMessage(
        settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to apply changes!")), 0);
}

void showSwitchRead(QVantelMenuItem *row)
{
    if (!row || row->kind() != QVantelMenuItem::Switch)
        return;
    row->clearValues();
    if (QVantelSwitch *control = row->switchButton())
        control->show();
}

bool writeStaged(QVantelMenuWidget *menu, TComController &target, StagedChanges &staged)
{
    if (staged.isEmpty())
        return true;
    menu->showMessage(settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Applying changes...")),
                      kApplyingMs);
    if (target.write(staged.keys())) {
        staged.written();
        return true;
    }
    staged.undo();
    menu->showMessage(
        settingsText(QT_TRANSLATE_NOOP("QVantelSettingsPage", "Failed to apply changes!")), 0);
    return false;
}
