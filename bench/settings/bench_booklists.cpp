// The Book's stored-item lists and the choice popup with 50 and with 5,000 entries, each pair in
// one run, so that every figure comes with its ratio (5,000 against 50).
//
// The settings page, shown offscreen at the front panel's size for an Administrator and
// connected to the demo unit on loopback (FAKE_QUORIX_BOOK_ITEMS), opens a list and leaves the
// Book. A pause is the longest stretch the window's thread spends without coming back to its
// event loop (a request that waits for the unit runs the loop, so the waiting is no pause), from
// the tap until the window has nothing left to do, layout and painting included. Reported per
// kind: the pause of opening the list, of leaving the Book from it, and of opening an item and
// going Back inside the list. The choice popup opens over a page, is scrolled to its end and
// closes. Memory is the peak resident size of a fresh process of this program that opens each
// of the four lists and a popup of that many entries. For the call profiles, the requests the
// list's opening sends are counted, and the "open" requests among them.

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
#include "widgets/qvantelbutton.h"
#include "widgets/qvantelmenuentries.h"
#include "widgets/qvantelmenuentry.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"
#include "widgets/qvantelmenuselect.h"
#include "widgets/qvantelmenuwidget.h"

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFew = 50;
constexpr int kMany = 5000;
// Each pause is taken this many times; the median is reported.
constexpr int kRepeats = 5;
// The demo unit gives the added items ids from 20 on.
constexpr int kFirstAddedId = 20;

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

// The longest stretch without a pass of the event loop, nested loops included, while action
// runs and the window settles afterwards.
double longestPauseMs(const std::function<void()> &action)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    const auto pass = [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    };
    QObject context;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &context, pass);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context, pass);
    clock.start();
    action();
    settle();
    pass();
    return double(longest) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ratio(double many, double few)
{
    return few > 0.0 ? many / few : 0.0;
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

struct ListFigures
{
    double listMs = 0.0;
    double leaveMs = 0.0;
    double openMs = 0.0;
    double backMs = 0.0;
    int requests = 0;
    int openRequests = 0;
};

// Opens the list with items added to the demo unit's own, opens items spread over it and goes
// Back, and leaves the Book; false when a step did not happen.
bool measureList(int listId, int items, ListFigures &figures)
{
    Rig rig;
    if (!rig.start(items))
        return false;
    std::vector<double> list;
    std::vector<double> leave;
    std::vector<double> open;
    std::vector<double> back;
    for (int round = 0; round < kRepeats; ++round) {
        rig.openSection(kPageBook);
        settle();
        const int before = rig.fake.requestCount();
        list.push_back(longestPauseMs([&] { rig.tap(listId); }));
        const QList<FakeRequest> sent = rig.fake.requests().mid(before);
        figures.requests = int(sent.size());
        figures.openRequests = int(std::count_if(sent.cbegin(), sent.cend(), [](const auto &r) {
            return r.isCommand(QStringLiteral("open"));
        }));
        QVantelMenuItems *shown = rig.page->currentPage();
        if (!shown || shown->id() != listId)
            return false;
        // Items spread over the list, so that the rows tapped are not all at its top.
        for (int k = 0; k < 3; ++k) {
            const int rowId = kFirstStoredRow + kFirstAddedId + ((round * 3 + k) * 7919) % items;
            open.push_back(longestPauseMs([&] { rig.tap(rowId, listId); }));
            if (rig.page->currentPage() == shown)
                return false;
            back.push_back(longestPauseMs([&] { rig.page->backClicked(); }));
            if (rig.page->currentPage() != shown)
                return false;
        }
        leave.push_back(longestPauseMs([&] { rig.openSection(kPageNetwork); }));
    }
    figures.listMs = median(list);
    figures.leaveMs = median(leave);
    figures.openMs = median(open);
    figures.backMs = median(back);
    return true;
}

void runList(benchmark::State &state, int listId)
{
    ListFigures few;
    ListFigures many;
    for (auto _ : state) {
        if (!measureList(listId, kFew, few) || !measureList(listId, kMany, many)) {
            state.SkipWithError("the list did not open, or an item in it");
            return;
        }
    }
    state.counters["list_50_ms"] = few.listMs;
    state.counters["list_5000_ms"] = many.listMs;
    state.counters["list_ratio"] = ratio(many.listMs, few.listMs);
    state.counters["leave_50_ms"] = few.leaveMs;
    state.counters["leave_5000_ms"] = many.leaveMs;
    state.counters["leave_ratio"] = ratio(many.leaveMs, few.leaveMs);
    state.counters["open_5000_ms"] = many.openMs;
    state.counters["back_5000_ms"] = many.backMs;
    if (listId == kPageCallProfiles) {
        state.counters["requests_5000"] = many.requests;
        state.counters["open_requests_5000"] = many.openRequests;
    }
}

// Registered in main(), one benchmark per kind.
struct ListBenchmark
{
    const char *name;
    int listId;
};
const ListBenchmark kListBenchmarks[] = {
    {"BM_PresetList", kPagePresets},
    {"BM_SipProfileList", kPageSipProfiles},
    {"BM_SnapshotList", kPageSnapshots},
    {"BM_CallProfileList", kPageCallProfiles},
};

// A menu with one page whose choice row offers entries values, the current one in the middle.
struct PopupRig
{
    std::unique_ptr<QVantelMenuWidget> menu = std::make_unique<QVantelMenuWidget>();
    QVantelMenuItems *page = nullptr;
    QVantelMenuItem *row = nullptr;

    explicit PopupRig(int entries)
    {
        page = new QVantelMenuItems(1, menu.get());
        row = new QVantelMenuItem(1, QVantelMenuItem::Choice, page);
        row->titleLabel()->setText(QStringLiteral("Algorithm"));
        for (int i = 0; i < entries; ++i)
            row->addValue(i, QStringLiteral("Algorithm %1").arg(i + 1));
        row->selectValue(entries / 2, true, false);
        page->addItem(row);
        menu->pushPage(page);
        menu->resize(800, 480);
        menu->show();
        settle();
    }

    // Opens the popup, scrolls it from its top to its end a view at a time, and cancels it.
    double openScrollClose()
    {
        double longest = 0.0;
        QVantelMenuSelect *select = nullptr;
        longest = std::max(longest, longestPauseMs([&] {
                               page->childClicked(row->titleLabel());
                               select = page->findChild<QVantelMenuSelect *>();
                           }));
        if (!select)
            return -1.0;
        QScrollBar *bar = select->list()->verticalScrollBar();
        const int step = select->list()->viewport()->height();
        longest = std::max(longest, longestPauseMs([&] { bar->setValue(0); }));
        for (int value = step; value < bar->maximum() && value < 40 * step; value += step)
            longest = std::max(longest, longestPauseMs([&] { bar->setValue(value); }));
        longest = std::max(longest, longestPauseMs([&] { bar->setValue(bar->maximum()); }));
        for (int i = 0; i < 40; ++i)
            longest
                = std::max(longest, longestPauseMs([&] { bar->setValue(bar->value() - step); }));
        longest = std::max(longest, longestPauseMs([&] { select->cancelButton()->click(); }));
        return longest;
    }
};

double measurePopup(int entries)
{
    PopupRig rig(entries);
    std::vector<double> pauses;
    for (int round = 0; round < kRepeats; ++round) {
        const double pause = rig.openScrollClose();
        if (pause < 0.0)
            return -1.0;
        pauses.push_back(pause);
    }
    return median(pauses);
}

// Measures with 50 and with 5,000 entries; reports both, as <name>_50_<unit> and
// <name>_5000_<unit>, and their ratio. A measure of 0 or less is a failure.
void runPair(benchmark::State &state,
             const std::string &name,
             const std::string &unit,
             double (*measure)(int),
             const char *failure)
{
    double few = 0.0;
    double many = 0.0;
    for (auto _ : state) {
        few = measure(kFew);
        many = measure(kMany);
        if (few <= 0.0 || many <= 0.0) {
            state.SkipWithError(failure);
            return;
        }
    }
    state.counters[name + "_50_" + unit] = few;
    state.counters[name + "_5000_" + unit] = many;
    state.counters[name + "_ratio"] = ratio(many, few);
}

void BM_ChoicePopup(benchmark::State &state)
{
    runPair(state, "popup", "ms", measurePopup, "the popup did not open");
}
BENCHMARK(BM_ChoicePopup)->Iterations(1)->Unit(benchmark::kMillisecond);

// The peak resident size, in MB, of a fresh process that walks the lists with items each.
double walkMemoryMb(int items)
{
    QProcess walk;
    walk.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--walk-lists"), QString::number(items)});
    if (!walk.waitForFinished(600000) || walk.exitCode() != 0)
        return -1.0;
    return walk.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

void BM_Memory(benchmark::State &state)
{
    runPair(state, "peak", "MB", walkMemoryMb, "the walk through the lists failed");
}
BENCHMARK(BM_Memory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The peak resident size in kB, from the kernel's account of this process.
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The walk of a fresh process: each of the four lists opened and left, then a choice popup of
// that many entries opened, scrolled and closed; prints the peak resident size in kB.
int walkLists(int items)
{
    {
        Rig rig;
        if (!rig.start(items))
            return 1;
        for (const int listId :
             {kPagePresets, kPageSipProfiles, kPageSnapshots, kPageCallProfiles}) {
            rig.openSection(kPageBook);
            settle();
            rig.tap(listId);
            settle();
            if (!rig.page->currentPage() || rig.page->currentPage()->id() != listId)
                return 1;
            rig.openSection(kPageNetwork);
            settle();
        }
    }
    {
        PopupRig rig(items);
        if (rig.openScrollClose() < 0.0)
            return 1;
    }
    std::printf("%ld\n", peakResidentKb());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    setLogDebugWritten(false);
    if (argc == 3 && qstrcmp(argv[1], "--walk-lists") == 0) {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return walkLists(QByteArray(argv[2]).toInt());
    }
    for (const ListBenchmark &list : kListBenchmarks) {
        const int listId = list.listId;
        benchmark::RegisterBenchmark(list.name,
                                     [listId](benchmark::State &state) { runList(state, listId); })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return BenchQt::runBenchmarks<QApplication>(argc, argv);
}
