// The Book's stored-item lists with 50 and with 5,000 items of each kind. The settings page,
// shown offscreen at the front panel's size for an Administrator and connected to the demo unit
// on loopback (FAKE_QUORIX_BOOK_ITEMS), opens the preset list or the call profile list, then
// opens items from it and goes Back, again and again. A pause is the wall time from the tap
// until the window has nothing left to do, layout and painting included. Reported: the longest
// pause of an open and of a Back, the list's own opening, and leaving the Book afterwards.

#include "bench/benchqt.h"
#include "link/ccom.h"
#include "link/comclient.h"
#include "link/logtext.h"
#include "link/sharedobjects.h"
#include "model/accesslevel.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/support/demounit.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Runs the event loop until it has nothing left to do (deferred deletes and paints included).
void settle()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (int i = 0; i < 1000; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}

double pauseMs(const std::function<void()> &action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    settle();
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Rig
{
    FakeQuorix fake;
    std::unique_ptr<QVantelSettingsPage> page;

    bool start(int items)
    {
        accessLevel = AccessLevel::Administrator;
        firmwareVersion = 0x20007;
        qputenv("FAKE_QUORIX_BOOK_ITEMS", QByteArray::number(items));
        installDemoUnit(fake);
        qunsetenv("FAKE_QUORIX_BOOK_ITEMS");
        if (!fake.listen() || comClient()->initialize("ui", "vn_frontpanel") != 0
            || !comClient()->connect(QStringLiteral("127.0.0.1"), fake.port(), 0)
            || !BenchQt::spinUntil([] { return comClient()->state() == RpcConnection::Connected; })
            || !comDevice()->refresh()) {
            return false;
        }
        page = std::make_unique<QVantelSettingsPage>();
        page->resize(800, 480);
        page->show();
        settle();
        return true;
    }

    ~Rig()
    {
        page.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        destroySharedObjects();
        accessLevel = AccessLevel::Operator;
        firmwareVersion = kFirmwareVersionUnknown;
    }

    void openSection(int id)
    {
        QVantelMenuEntries *entries = page->entries();
        entries->childClicked(entries->findEntry(id)->titleLabel());
    }

    // Taps a row of the current page.
    void tap(int rowId, int data = -1)
    {
        QVantelMenuItems *current = page->currentPage();
        QVantelMenuItem *row = data < 0 ? current->findItem(rowId) : current->findItem(rowId, data);
        if (row)
            current->childClicked(row->titleLabel());
    }
};

void runList(benchmark::State &state, int listId)
{
    const int items = int(state.range(0));
    Rig rig;
    if (!rig.start(items)) {
        state.SkipWithError("no settings page connected to the demo unit");
        return;
    }
    rig.openSection(QVantelSettingsPage::BookSection);
    settle();
    const double listMs = pauseMs([&] { rig.tap(listId); });
    QVantelMenuItems *list = rig.page->currentPage();
    if (!list || list->id() != listId) {
        state.SkipWithError("the list did not open");
        return;
    }
    // The demo's own items and the added ones, in the list's order.
    std::vector<int> rows;
    for (QVantelMenuItem *row : list->items()) {
        if (row->id() >= kFirstStoredRow)
            rows.push_back(row->id());
    }
    if (rows.empty()) {
        state.SkipWithError("the list has no items");
        return;
    }

    double openMs = 0.0;
    double backMs = 0.0;
    size_t next = 0;
    for (auto _ : state) {
        // Items spread over the list, so that the rows tapped are not all at its top.
        const int rowId = rows[(next * 7919) % rows.size()];
        ++next;
        openMs = std::max(openMs, pauseMs([&] { rig.tap(rowId, listId); }));
        if (rig.page->currentPage() == list) {
            state.SkipWithError("the item did not open");
            return;
        }
        backMs = std::max(backMs, pauseMs([&] { rig.page->backClicked(); }));
        if (rig.page->currentPage() != list) {
            state.SkipWithError("Back did not return to the list");
            return;
        }
    }
    const double leaveMs = pauseMs([&] { rig.openSection(QVantelSettingsPage::NetworkSection); });
    state.counters["open_max_ms"] = openMs;
    state.counters["back_max_ms"] = backMs;
    state.counters["list_ms"] = listMs;
    state.counters["leave_ms"] = leaveMs;
}

void BM_PresetList(benchmark::State &state)
{
    runList(state, kPagePresets);
}
BENCHMARK(BM_PresetList)->Arg(50)->Arg(5000)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_CallProfileList(benchmark::State &state)
{
    runList(state, kPageCallProfiles);
}
BENCHMARK(BM_CallProfileList)->Arg(50)->Arg(5000)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setLogDebugWritten(false);
    return BenchQt::runBenchmarks<QApplication>(argc, argv);
}
