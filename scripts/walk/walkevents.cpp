#include "walkdriver.h"
#include "walkmenu.h"

#include "widgets/qvantelpage.h"

namespace {

const QString kNetwork = QStringLiteral("network");
const QString kLan2 = QStringLiteral("eth.1");

// The unit takes changes of LAN2's settings, as though someone set them at the unit; the
// "config info" event that reports LAN2 as it then is.
FakePairs lan2Takes(WalkDriver &walk, const FakePairs &changes)
{
    FakeQuorix &unit = walk.unit();
    for (const auto &[name, value] : changes)
        unit.setValue(name, value, kNetwork, kLan2);
    FakePairs pairs = {{kNetwork, kLan2}};
    for (const char *name : {"mode", "local_addr", "subnet", "gateway", "dns1", "dns2", "cable"})
        pairs.append({QLatin1String(name), unit.value(QLatin1String(name), kNetwork, kLan2)});
    return pairs;
}

void type(WalkDriver &walk, const QString &title, const QString &text)
{
    walk.step(QStringLiteral("tap \"%1\"").arg(title), [&] { walk.tapRow(title); });
    walk.step(QStringLiteral("keyboard: type \"%1\", OK").arg(text), [&] { walk.typeText(text); });
}

} // namespace

void walkEditsAndEvents(WalkDriver &walk)
{
    walk.note(QStringLiteral("-- edits while the unit reports its configuration"));
    const QString gateway = QStringLiteral("Default Gateway");
    walk.step(QStringLiteral("unit: LAN2 on manual addresses"), [&] {
        (void)lan2Takes(walk, {{QStringLiteral("mode"), QStringLiteral("manual")}});
    });
    walk.step(QStringLiteral("panel: main"), [&] { walk.showPanelPage(QVantel::MainPage); });
    walk.step(QStringLiteral("press settingsButton"),
              [&] { walk.pressButton(QStringLiteral("settingsButton")); });
    walk.step(QStringLiteral("section \"Network\""),
              [&] { walk.tapSection(QStringLiteral("Network")); });
    walk.step(QStringLiteral("tap \"LAN2 settings\""),
              [&] { walk.tapRow(walk.titleLike(QStringLiteral("LAN2 settings"))); });

    // An event for the row being edited and for one left alone: the edit stays, the other row
    // follows, and Apply writes the edit.
    type(walk, gateway, QStringLiteral("10.0.0.77"));
    walk.unitEvent(QStringLiteral("config info"),
                   lan2Takes(walk,
                             {{QStringLiteral("gateway"), QStringLiteral("10.0.0.99")},
                              {QStringLiteral("dns2"), QStringLiteral("10.0.0.98")}}));
    walk.step(QStringLiteral("Apply"), [&] { walk.tapApply(); });

    // An event that brings the edit itself: nothing is left to apply.
    type(walk, QStringLiteral("Preferred DNS"), QStringLiteral("10.0.0.53"));
    walk.unitEvent(QStringLiteral("config info"),
                   lan2Takes(walk, {{QStringLiteral("dns1"), QStringLiteral("10.0.0.53")}}));

    // Apply tapped while the program waits for the unit, the unit's event arriving meanwhile:
    // the tap is carried out after the wait, and writes the edit.
    type(walk, gateway, QStringLiteral("10.0.0.78"));
    walk.step(QStringLiteral("a read of the unit while its event comes and Apply is tapped"), [&] {
        walk.unitReadWhile([&] {
            (void)walk.unit().pushEvent(
                QStringLiteral("config info"),
                lan2Takes(walk, {{QStringLiteral("gateway"), QStringLiteral("10.0.0.99")}}));
            walk.tapApplyOnScreen();
        });
    });

    walk.step(QStringLiteral("Back"), [&] { walk.tapBack(); });
}
