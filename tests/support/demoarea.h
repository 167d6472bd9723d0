#pragma once

#include "fakequorix.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

// Changes the frames answering a request in place.
using FakeReplyFilter = std::function<void(const FakeRequest &, QList<FakeReply> &)>;

// What an area of the demo unit works with: the fake to fill, and a chain of request handlers
// that the fake's one reply hook tries in order. A handler returns std::nullopt to pass the
// request on; the fake's default answer follows when no handler answers. Filters then see every
// answer, a handler's or the default one, and may change it before it is written (with a filter
// in place a scripted error code of the fake no longer applies). Owned by the fake.
class DemoUnit : public QObject
{
    Q_OBJECT

public:
    explicit DemoUnit(FakeQuorix &fake);
    Q_DISABLE_COPY_MOVE(DemoUnit)

    FakeQuorix &fake() const { return m_fake; }
    void addHandler(FakeReplyHook handler);
    // A handler tried before every other, for behaviours that override the areas' answers.
    void addFirstHandler(FakeReplyHook handler);
    void addFilter(FakeReplyFilter filter);

private:
    std::optional<QList<FakeReply>> answer(const FakeRequest &request);

    FakeQuorix &m_fake;
    std::vector<FakeReplyHook> m_handlers;
    std::vector<FakeReplyFilter> m_filters;
};

// The areas, each in its own demo<area>.cpp, installed in this order by installDemoUnit. A page
// whose keys the demo does not answer yet gets an area of its own: a new demo<area>.cpp, its
// function declared here, one call in installDemoUnit and the file in CMakeLists.txt.
void installDemoDevice(DemoUnit &demo);
void installDemoNetworks(DemoUnit &demo);
void installDemoCoding(DemoUnit &demo);
void installDemoCodingOptions(DemoUnit &demo);
void installDemoCalls(DemoUnit &demo);
void installDemoLevels(DemoUnit &demo);
void installDemoSoftKeys(DemoUnit &demo);
void installDemoRavenna(DemoUnit &demo);
void installDemoTools(DemoUnit &demo);
void installDemoBook(DemoUnit &demo);
void installDemoSip(DemoUnit &demo);
void installDemoTroubleshooting(DemoUnit &demo);
void installDemoStatus(DemoUnit &demo);
// The environment switches that change what the areas report and how the unit answers
// (demoswitches.cpp); installed last.
void installDemoSwitches(DemoUnit &demo);
// The figures of a demo call's "tx-quality-report" (transmit) or "rx-quality-report" after
// seconds of running at a net quality (democonnections.cpp); the call's id and network are not
// among them.
FakePairs demoQualityFigures(bool transmit, int seconds, int quality);
// A filter that leaves keys out of every answer to a read, as a unit that does not know them.
FakeReplyFilter leaveOutKeys(const QStringList &keys);
// A handler that answers every read from the unit's values, leaving keys out.
FakeReplyHook missKeys(FakeQuorix &fake, const QStringList &keys);
// A handler that fails every read or list asking for one of keys (an error reply instead of
// values).
FakeReplyHook failReadOf(const QStringList &keys);
// A filter that gives every key of values its value wherever an answer carries that key, in
// every scope and in list answers too, as a unit that reports values out of their range. An
// answer takes at most 12 MiB of such values, so that it stays within a frame.
FakeReplyFilter overrideValues(const QHash<QString, QString> &values);
// A handler that lets writes of keys through and fails every later read asking for a key that
// was written, as a unit whose read-back after a write fails.
FakeReplyHook failReadBackOf(const QStringList &keys);
