#include "demounit.h"

#include "demoarea.h"
#include "demoaudio.h"
#include "fakematrixdemo.h"

DemoUnit::DemoUnit(FakeQuorix &fake)
    : QObject(&fake)
    , m_fake(fake)
{
    m_fake.setReplyHook([this](const FakeRequest &request) { return answer(request); });
}

void DemoUnit::addHandler(FakeReplyHook handler)
{
    m_handlers.push_back(std::move(handler));
}

void DemoUnit::addFirstHandler(FakeReplyHook handler)
{
    m_handlers.insert(m_handlers.begin(), std::move(handler));
}

void DemoUnit::addFilter(FakeReplyFilter filter)
{
    m_filters.push_back(std::move(filter));
}

std::optional<QList<FakeReply>> DemoUnit::answer(const FakeRequest &request)
{
    std::optional<QList<FakeReply>> replies;
    for (const FakeReplyHook &handler : m_handlers) {
        if ((replies = handler(request)))
            break;
    }
    if (m_filters.empty())
        return replies;
    if (!replies)
        replies = m_fake.defaultReplies(request);
    for (const FakeReplyFilter &filter : m_filters)
        filter(request, *replies);
    return replies;
}

void installDemoUnit(FakeQuorix &fake)
{
    auto *demo = new DemoUnit(fake);
    // One line per area.
    installDemoDevice(*demo);
    installDemoNetworks(*demo);
    installDemoCoding(*demo);
    installDemoCodingOptions(*demo);
    installDemoCalls(*demo);
    installDemoLevels(*demo);
    installDemoSoftKeys(*demo);
    installDemoRavenna(*demo);
    installDemoTools(*demo);
    installDemoBook(*demo);
    installDemoSip(*demo);
    installDemoTroubleshooting(*demo);
    installDemoStatus(*demo);
    // The routing matrix the headphone pages read, and the audio page's settings.
    fillMatrixDemoValues(fake);
    fillAudioDemoValues(fake);
    installDemoSwitches(*demo);
}
