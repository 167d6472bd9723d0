#include "walkdriver.h"
#include "walkmenu.h"

#include "widgets/qvantelpage.h"

namespace {

// Later than the program waits (5 seconds) for any read, lists included.
constexpr int kLateMs = 5600;

// The on-screen keyboard's first key ("q", or "1" on the digits) and its OK.
constexpr int kFirstKey = 0;
constexpr int kOkKey = 31;

} // namespace

void walkSlowUnit(WalkDriver &walk)
{
    walk.note(QStringLiteral("-- a unit that answers after the program has given up"));
    walk.showPanelPage(QVantel::SettingsPage);

    // Typing into a keyboard while another read waits: every key typed and tapped is kept, in
    // order.
    walk.step(QStringLiteral("section \"Tools\""),
              [&] { walk.tapSection(QStringLiteral("Tools")); });
    walk.step(QStringLiteral("row \"Labels\""), [&] { walk.tapRow(QStringLiteral("Labels")); });
    walk.step(QStringLiteral("row \"Info 1 Label\""),
              [&] { walk.tapRow(QStringLiteral("Info 1 Label")); });
    walk.slowUnit(kLateMs);
    walk.step(QStringLiteral("a read of the unit while the operator types and taps a key"), [&] {
        walk.unitReadWhile([&] {
            walk.typeOnScreen(QStringLiteral(" on"));
            walk.tapKeyOnScreen(kFirstKey);
            walk.typeOnScreen(QStringLiteral("air"));
        });
    });
    walk.step(QStringLiteral("keyboard: OK"), [&] { walk.tapKeyOnScreen(kOkKey); });

    // The AoIP settings, read while the unit is prompt.
    walk.slowUnit(0);
    walk.step(QStringLiteral("section \"Network\""),
              [&] { walk.tapSection(QStringLiteral("Network")); });
    walk.step(QStringLiteral("row \"AoIP settings\""),
              [&] { walk.tapRow(QStringLiteral("AoIP settings")); });
    walk.slowUnit(kLateMs);

    // Back, tapped while the page the operator opened is read, ends that read after the one in
    // flight: the page is not shown, and Back goes back from the page the tap was made on.
    walk.step(QStringLiteral("row \"Account 1\", Back tapped while it is read"), [&] {
        walk.duringNextRequest([&] { walk.tapBackOnScreen(); });
        walk.tapRow(QStringLiteral("Account 1"));
    });

    // A page left while it is read reads no more: the panel's main page is asked for (as the
    // phone key below the panel does) during the first read of the Status section.
    walk.step(QStringLiteral("section \"Status\", the main page asked for during its first read"),
              [&] {
                  walk.duringNextRequest([&] { walk.showPanelPage(QVantel::MainPage); });
                  walk.tapSection(QStringLiteral("Status"));
              });

    // Two page buttons tapped in one wait, while the unit is slow to answer a read: on the main
    // page Status, then Settings; on the connection page Network, then Home.
    walk.step(QStringLiteral("panel: main"), [&] { walk.showPanelPage(QVantel::MainPage); });
    walk.step(QStringLiteral("a read of the unit while Status and then Settings are tapped"), [&] {
        walk.unitReadWhile([&] {
            walk.tapButtonOnScreen(QStringLiteral("statusButton"));
            walk.tapButtonOnScreen(QStringLiteral("settingsButton"));
        });
    });
    walk.step(QStringLiteral("panel: connection"),
              [&] { walk.showPanelPage(QVantel::ConnectionPage); });
    walk.step(QStringLiteral("a read of the unit while Network and then Home are tapped"), [&] {
        walk.unitReadWhile([&] {
            walk.tapButtonOnScreen(QStringLiteral("networkButton"));
            walk.tapButtonOnScreen(QStringLiteral("homeButton"));
        });
    });
    walk.slowUnit(0);
}
