#include "walkmenu.h"
#include "walkdriver.h"

#include "tests/support/demoarea.h"
#include "widgets/qvantelpage.h"

namespace {

using Row = WalkDriver::Row;
using RowKind = WalkDriver::RowKind;
using PopupKind = WalkDriver::PopupKind;

// How the crawl treats a page's rows.
enum class Pass {
    // Opens pages and looks; every popup is cancelled, actions are left alone.
    Look,
    // Changes every row, applies, and confirms what the program asks.
    Edit,
    // Changes every row and leaves the page without Apply, then opens it again.
    Discard,
};

constexpr int kMaxDepth = 6;
constexpr int kMaxPopups = 6;

QString rowName(const Row &row)
{
    QString name = QLatin1Char('"') + row.title + QLatin1Char('"');
    if (row.occurrence > 0)
        name += QStringLiteral(" (#%1)").arg(row.occurrence + 1);
    return name;
}

bool isEditor(RowKind kind)
{
    switch (kind) {
    case RowKind::Switch:
    case RowKind::Text:
    case RowKind::Number:
    case RowKind::Choice:
    case RowKind::Wheel:
        return true;
    default:
        return false;
    }
}

// Every page of a section, row by row, in one of the passes.
class MenuCrawl
{
public:
    MenuCrawl(WalkDriver &walk, Pass pass)
        : w(walk)
        , m_pass(pass)
    {}

    void section(const QString &title)
    {
        w.step(QStringLiteral("section \"%1\"").arg(title), [&] { w.tapSection(title); });
        answerPopups();
        if (w.menuDepth() > 0)
            page(0, nullptr);
    }

private:
    // Answers what the program opened: a keyboard gets another value, a choice popup the next
    // entry, a question OK (in the Look and Discard passes every popup is cancelled).
    void answerPopups()
    {
        for (int i = 0; i < kMaxPopups; ++i) {
            switch (w.popup()) {
            case PopupKind::Keyboard:
                if (m_pass == Pass::Look) {
                    w.step(QStringLiteral("keyboard: Cancel"), [&] { w.cancelKeyboard(); });
                } else {
                    w.typeOtherValue(m_salt);
                }
                break;
            case PopupKind::Choices:
                if (m_pass == Pass::Look)
                    w.step(QStringLiteral("choices: Cancel"), [&] { w.cancelChoices(); });
                else
                    w.step(QStringLiteral("choices: the next, OK"), [&] { w.chooseNext(); });
                break;
            case PopupKind::Question: {
                const bool ok = m_pass == Pass::Edit;
                w.step(ok ? QStringLiteral("question: OK") : QStringLiteral("question: Cancel"),
                       [&] { w.answer(ok); });
                break;
            }
            case PopupKind::None:
            case PopupKind::Notice:
                return;
            default:
                w.step(QStringLiteral("close the popup"), [&] { w.closePopup(); });
                break;
            }
        }
    }

    // The row is looked at as it is now: a change above it may have unlocked it, or moved its
    // wheel.
    void edit(const Row &planned)
    {
        const std::optional<Row> now = w.row(planned.title, planned.occurrence);
        if (!now || now->locked || now->kind != planned.kind)
            return;
        const Row &row = *now;
        switch (row.kind) {
        case RowKind::Switch:
            w.step(QStringLiteral("switch ") + rowName(row),
                   [&] { w.flipSwitch(row.title, row.occurrence); });
            break;
        case RowKind::Wheel: {
            // Up, or down from the top.
            const int steps = row.atTop ? -1 : 1;
            w.step(QStringLiteral("wheel ") + rowName(row)
                       + (steps > 0 ? QStringLiteral(" one step up")
                                    : QStringLiteral(" one step down")),
                   [&] { w.turnWheel(row.title, row.occurrence, steps); });
            break;
        }
        default:
            w.step(QStringLiteral("tap ") + rowName(row),
                   [&] { w.tapRow(row.title, row.occurrence); });
            break;
        }
        answerPopups();
    }

    void page(int depth, const Row *openedBy)
    {
        const QString path = w.menuPath();
        const int level = w.menuDepth();
        const QList<Row> rows = w.rows();
        const auto stillHere = [&] { return w.menuPath() == path && w.menuDepth() == level; };

        if (m_pass != Pass::Look) {
            for (int i = 0; i < rows.size(); ++i) {
                if (!stillHere())
                    return;
                m_salt = i + 1;
                if (isEditor(rows.at(i).kind))
                    edit(rows.at(i));
            }
            if (!stillHere())
                return;
            if (w.applyOffered()) {
                if (m_pass == Pass::Discard && openedBy) {
                    // Left without Apply and opened again: the page shows the unit's values.
                    w.step(QStringLiteral("Back without Apply"), [&] { w.tapBack(); });
                    answerPopups();
                    w.step(QStringLiteral("tap ") + rowName(*openedBy) + QStringLiteral(" again"),
                           [&] { w.tapRow(openedBy->title, openedBy->occurrence); });
                    answerPopups();
                    if (w.menuDepth() != level)
                        return;
                } else {
                    w.step(QStringLiteral("Apply"), [&] { w.tapApply(); });
                    answerPopups();
                }
            }
        }
        if (m_pass != Pass::Discard && stillHere() && w.refreshOffered()) {
            w.step(QStringLiteral("Refresh"), [&] { w.tapRefresh(); });
            answerPopups();
        }

        for (const Row &row : rows) {
            if (!stillHere())
                return;
            if (isEditor(row.kind) || row.kind == RowKind::Caption)
                continue;
            if (row.kind == RowKind::Action && m_pass != Pass::Edit)
                continue;
            if (!w.hasRow(row.title, row.occurrence))
                continue;
            w.step(QStringLiteral("tap ") + rowName(row),
                   [&] { w.tapRow(row.title, row.occurrence); });
            if (w.menuDepth() > level) {
                if (depth < kMaxDepth)
                    page(depth + 1, &row);
                while (w.menuDepth() > level && w.backOffered())
                    w.step(QStringLiteral("Back"), [&] { w.tapBack(); });
            }
            answerPopups();
        }
    }

    WalkDriver &w;
    Pass m_pass;
    // The place on its page of the row being changed, which makes each row's new value its own.
    int m_salt = 1;
};

void crawl(WalkDriver &walk, Pass pass, const QString &name)
{
    walk.note(QStringLiteral("--- every section, %1").arg(name));
    walk.step(QStringLiteral("panel: main"), [&] { walk.showPanelPage(QVantel::MainPage); });
    walk.step(QStringLiteral("press settingsButton"),
              [&] { walk.pressButton(QStringLiteral("settingsButton")); });
    MenuCrawl crawl(walk, pass);
    for (const QString &title : walk.sectionTitles()) {
        if (title != QLatin1String("Exit"))
            crawl.section(title);
    }
}

// The steps of the walk's own scenes, by the rows' visible titles: a title names the first row
// that has it, else the first row whose title starts with it (titles that carry a state, as
// "Codec 1 [ Ethernet ]").
class Scene
{
public:
    explicit Scene(WalkDriver &walk)
        : w(walk)
    {}

    // Opens a section from wherever the panel is: from the main page when the menu is not
    // shown.
    void section(const QString &title)
    {
        if (w.shownPanelPage() != QVantel::SettingsPage) {
            w.step(QStringLiteral("panel: main"), [&] { w.showPanelPage(QVantel::MainPage); });
            w.step(QStringLiteral("press settingsButton"),
                   [&] { w.pressButton(QStringLiteral("settingsButton")); });
        }
        w.step(QStringLiteral("section \"%1\"").arg(title), [&] { w.tapSection(title); });
    }

    void tap(const QString &title, int occurrence = 0)
    {
        w.step(
            QStringLiteral("tap \"%1\"%2")
                .arg(title, occurrence ? QStringLiteral(" (#%1)").arg(occurrence + 1) : QString()),
            [&] { w.tapRow(w.titleLike(title, occurrence), occurrence); });
    }

    void type(const QString &title, const QString &text, int occurrence = 0)
    {
        tap(title, occurrence);
        w.step(QStringLiteral("keyboard: type \"%1\", OK").arg(text), [&] { w.typeText(text); });
    }

    void choose(const QString &title, const QString &choice)
    {
        tap(title);
        w.step(QStringLiteral("choices: \"%1\", OK").arg(choice), [&] { w.chooseText(choice); });
    }

    void flip(const QString &title)
    {
        w.step(QStringLiteral("switch \"%1\"").arg(title),
               [&] { w.flipSwitch(w.titleLike(title)); });
    }

    void apply()
    {
        w.step(QStringLiteral("Apply"), [&] { w.tapApply(); });
    }
    void refresh()
    {
        w.step(QStringLiteral("Refresh"), [&] { w.tapRefresh(); });
    }
    void back()
    {
        w.step(QStringLiteral("Back"), [&] { w.tapBack(); });
    }
    void answer(bool ok)
    {
        w.step(ok ? QStringLiteral("question: OK") : QStringLiteral("question: Cancel"),
               [&] { w.answer(ok); });
    }

    // A change on the unit's side, which the program learns only when it asks.
    void unit(const QString &label, const std::function<void(FakeQuorix &)> &change)
    {
        w.step(QStringLiteral("unit: ") + label, [&] { change(w.unit()); });
    }

    void panel(int page, const QString &name)
    {
        w.step(QStringLiteral("panel: ") + name, [&] { w.showPanelPage(page); });
    }

    WalkDriver &w;
};

const QString kAudio = QStringLiteral("audio");
const QString kNetwork = QStringLiteral("network");

// The events of a call the unit reports on link 1 or 2 (as "audio2" names it), from its
// proceeding to its synchronisation.
void callComesUp(Scene &s, int id, int link, const QString &network)
{
    const FakePairs ids{{QStringLiteral("id"), QString::number(id)},
                        {QStringLiteral("network"), network},
                        {QStringLiteral("comm_link"),
                         link == 2 ? QStringLiteral("audio2") : QStringLiteral("audio1")}};
    const QString codec = QStringLiteral("OPUS/48000/stereo/64000");
    s.w.unitEvent(QStringLiteral("0100-call proceeding"), ids);
    s.w.unitEvent(QStringLiteral("1000-call active"),
                  ids
                      + FakePairs{{QStringLiteral("codec_rx"), codec},
                                  {QStringLiteral("codec_tx"), codec},
                                  {QStringLiteral("remote_addr"), QStringLiteral("far.demo")}});
    s.w.unitEvent(QStringLiteral("dsp_status"),
                  ids + FakePairs{{QStringLiteral("state"), QStringLiteral("sync")}});
}

void qualityReports(Scene &s, int id, const QString &network, int seconds)
{
    const FakePairs ids{{QStringLiteral("id"), QString::number(id)},
                        {QStringLiteral("network"), network}};
    s.w.unitEvent(QStringLiteral("tx-quality-report"),
                  ids + demoQualityFigures(true, seconds, 90 - seconds));
    s.w.unitEvent(QStringLiteral("rx-quality-report"),
                  ids + demoQualityFigures(false, seconds, 87 - seconds));
}

void callEnds(Scene &s, int id, const QString &network)
{
    s.w.unitEvent(QStringLiteral("1900-call released"),
                  {{QStringLiteral("id"), QString::number(id)},
                   {QStringLiteral("network"), network},
                   {QStringLiteral("cause"), QStringLiteral("normal clearing")}});
}

// What the unit reports of its own accord, on the pages that follow it.
void notifications(Scene &s)
{
    WalkDriver &w = s.w;
    w.note(QStringLiteral("--- the unit's notifications"));
    const auto defaultCodec = [](const QString &operation, bool dual) {
        FakePairs pairs{{QStringLiteral("operation_mode"), operation},
                        {QStringLiteral("type"), QStringLiteral("ip")}};
        if (dual) {
            pairs << qMakePair(QStringLiteral("codec_mode"), QStringLiteral("cmode_double"))
                  << qMakePair(QStringLiteral("dcodec_1"), QStringLiteral("OPUS/48000/mono/48000"))
                  << qMakePair(QStringLiteral("dcodec_2"), QStringLiteral("G722/16000/mono/64000"));
        } else {
            pairs << qMakePair(QStringLiteral("codec_mode"), QStringLiteral("cmode_normal"))
                  << qMakePair(QStringLiteral("codec"), QStringLiteral("OPUS/48000/stereo/96000"))
                  << qMakePair(QStringLiteral("coord_mode"), QStringLiteral("disabled"))
                  << qMakePair(QStringLiteral("dstream_mode"), QStringLiteral("enabled"));
        }
        return pairs;
    };
    const auto network = [](const QString &name) {
        return FakePairs{{QStringLiteral("network"), name}};
    };

    s.section(QStringLiteral("Network"));
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("eth.1")));
    w.unitEvent(QStringLiteral("secondary_network"), network(QStringLiteral("mobile.0")));
    w.unitEvent(QStringLiteral("codec_change"),
                {{QStringLiteral("type"), QStringLiteral("ip")},
                 {QStringLiteral("codec_mode"), QStringLiteral("cmode_normal")},
                 {QStringLiteral("dstream_mode"), QStringLiteral("enabled")}});
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), true));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), false));
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("eth.0")));
    s.tap(QStringLiteral("LAN1 settings"));
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("eth.0")},
                 {QStringLiteral("mode"), QStringLiteral("manual")},
                 {QStringLiteral("local_addr"), QStringLiteral("192.168.1.77")},
                 {QStringLiteral("gateway"), QStringLiteral("192.168.1.254")}});
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("eth.1")},
                 {QStringLiteral("local_addr"), QStringLiteral("10.0.0.77")}});
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("mobile.0")},
                 {QStringLiteral("registration_state"), QStringLiteral("searching")}});
    s.back();

    s.section(QStringLiteral("Coding"));
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("isdn.0")));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), true));
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("eth.0")));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), false));

    s.section(QStringLiteral("Audio"));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("extended"), false));
    w.unitInfo(QStringLiteral("audio_changeset"),
               {{QStringLiteral("info_source"), QStringLiteral("aic")},
                {QStringLiteral("limiter_threshold"), QStringLiteral("-6")}});
    w.unitInfo(QStringLiteral("audio_changeset"),
               {{QStringLiteral("info_source"), QStringLiteral("aic")},
                {QStringLiteral("drc_state"), QStringLiteral("on")},
                {QStringLiteral("drc_lim_threshold"), QStringLiteral("-5")},
                {QStringLiteral("drc_threshold_cmp"), QStringLiteral("-12")},
                {QStringLiteral("drc_ratio_cmp"), QStringLiteral("3.0")},
                {QStringLiteral("drc_attack"), QStringLiteral("2")}});
    w.unitInfo(QStringLiteral("audio_changeset"),
               {{QStringLiteral("info_source"), QStringLiteral("aic")},
                {QStringLiteral("input1_gain"), QStringLiteral("40")}});
    w.unitInfo(QStringLiteral("audio_changeset"),
               {{QStringLiteral("info_source"), QStringLiteral("core")},
                {QStringLiteral("aes67_reset"), QStringLiteral("off")}});
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), false));
    // The unit's settings of the module change behind the page's back; a report of the module
    // that it restarted makes the page read them again.
    s.tap(QStringLiteral("RAVENNA"));
    s.unit(QStringLiteral("the module is renamed"), [](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("rav_device_name"), QStringLiteral("Renamed"), kAudio);
    });
    w.unitInfo(QStringLiteral("audio_changeset"),
               {{QStringLiteral("info_source"), QStringLiteral("zman.0")},
                {QStringLiteral("system_status"), QStringLiteral("0")}});
    s.refresh();
    s.back();
    w.setupPass();
    s.tap(QStringLiteral("RAVENNA"));
    s.back();

    s.section(QStringLiteral("Status"));
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("eth.1")));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), true));
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("eth.0")},
                 {QStringLiteral("cable"), QStringLiteral("unplugged")}});
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("eth.1")},
                 {QStringLiteral("local_addr"), QStringLiteral("10.0.0.78")}});
    w.unitEvent(QStringLiteral("default_network"), network(QStringLiteral("eth.0")));
    w.unitEvent(QStringLiteral("default_codec"), defaultCodec(QStringLiteral("standard"), false));
    w.unitEvent(QStringLiteral("config info"),
                {{QStringLiteral("network"), QStringLiteral("eth.0")},
                 {QStringLiteral("cable"), QStringLiteral("plugged")}});
    s.unit(QStringLiteral("the second SIP account registers"), [](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("sip_state2"), QStringLiteral("registered"), kNetwork);
    });
    s.refresh();
    s.tap(QStringLiteral("AoIP Controller"));
    s.refresh();
    s.back();

    // The messages the window shows over every page.
    w.unitEvent(QStringLiteral("display"),
                {{QStringLiteral("message"), QStringLiteral("Hello from the unit")}});
    w.unitEvent(QStringLiteral("rebooting"), {});
}

// Calls on both links: the connections page follows them, and no page whose interface or link
// carries a call applies anything until they end.
void calls(Scene &s)
{
    WalkDriver &w = s.w;
    w.note(QStringLiteral("--- calls on both links"));
    const QString first = QStringLiteral("eth.0");
    const QString second = QStringLiteral("eth.1");
    s.section(QStringLiteral("Status"));
    s.tap(QStringLiteral("Audio Connections"));
    callComesUp(s, 41, 1, first);
    qualityReports(s, 41, first, 5);
    callComesUp(s, 42, 2, second);
    qualityReports(s, 42, second, 9);
    s.refresh();
    s.tap(QStringLiteral("Detailed Statistics"));
    qualityReports(s, 41, first, 6);
    s.back();
    s.tap(QStringLiteral("Detailed Statistics"), 1);
    qualityReports(s, 42, second, 10);
    s.back();
    s.tap(QStringLiteral("Latest AoIP Statistics"));
    s.back();
    s.back();

    // The panel's shortcuts to a busy link's codec and profiles stay shut.
    for (const auto &[page, name] :
         {std::pair{QVantel::SettingsCodingLink1, "settings: codec of link 1"},
          std::pair{QVantel::SettingsCodingLink2, "settings: codec of link 2"},
          std::pair{QVantel::SettingsBookLink1, "settings: profiles of link 1"},
          std::pair{QVantel::SettingsBookLink2, "settings: profiles of link 2"}}) {
        s.panel(QVantel::MainPage, QStringLiteral("main"));
        s.panel(page, QString::fromLatin1(name));
    }

    s.section(QStringLiteral("Network"));
    s.tap(QStringLiteral("LAN1 settings"));
    s.flip(QStringLiteral("DHCP"));
    s.apply();
    s.back();
    s.tap(QStringLiteral("LAN2 settings"));
    s.type(QStringLiteral("Auxiliary DNS"), QStringLiteral("10.0.0.3"));
    s.apply();
    s.back();
    s.tap(QStringLiteral("ISDN settings"));
    s.type(QStringLiteral("Local Number 1"), QStringLiteral("5550199"));
    s.apply();
    s.back();
    s.section(QStringLiteral("Coding"));
    s.tap(QStringLiteral("Codec 1"));
    s.choose(QStringLiteral("Bit Rate"), QStringLiteral("128 kbit/s"));
    s.apply();
    s.back();

    callEnds(s, 41, first);
    s.tap(QStringLiteral("Codec 1"));
    s.choose(QStringLiteral("Bit Rate"), QStringLiteral("128 kbit/s"));
    s.apply();
    s.back();
    callEnds(s, 42, second);
    s.section(QStringLiteral("Network"));
    s.tap(QStringLiteral("LAN2 settings"));
    s.type(QStringLiteral("Auxiliary DNS"), QStringLiteral("10.0.0.3"));
    s.apply();
    s.back();
    s.section(QStringLiteral("Status"));
    s.tap(QStringLiteral("Audio Connections"));
    s.back();
}

// The unit takes double or single codec mode, as though someone set it at the unit, and reports
// it with its codecs; back in single codec mode, with double streaming on, as the unit's
// notifications left it (double codec mode turns it off).
void unitCodecMode(Scene &s, bool dual)
{
    FakeQuorix &unit = s.w.unit();
    const QString mode = dual ? QStringLiteral("cmode_double") : QStringLiteral("cmode_normal");
    s.unit(QStringLiteral("takes ") + mode,
           [&](FakeQuorix &fake) { fake.setValue(QStringLiteral("codec_mode"), mode, kAudio); });
    FakePairs pairs{
        {QStringLiteral("operation_mode"), unit.value(QStringLiteral("operation_mode"), kAudio)},
        {QStringLiteral("type"), QStringLiteral("ip")},
        {QStringLiteral("codec_mode"), mode}};
    const QStringList codecs
        = dual ? QStringList{QStringLiteral("dcodec_1"), QStringLiteral("dcodec_2")}
               : QStringList{QStringLiteral("codec"), QStringLiteral("coord_mode")};
    for (const QString &name : codecs)
        pairs << qMakePair(name, unit.value(name, kAudio));
    if (!dual)
        pairs << qMakePair(QStringLiteral("dstream_mode"), QStringLiteral("enabled"));
    s.w.unitEvent(QStringLiteral("default_codec"), pairs);
}

// The panel's ways into the menu: each opens its section (and a link's codec page).
void shortcuts(Scene &s)
{
    s.w.note(QStringLiteral("--- the panel's shortcuts into the menu"));
    const std::pair<int, const char *> targets[] = {
        {QVantel::SettingsNetwork, "settings: network"},
        {QVantel::SettingsCoding, "settings: coding"},
        {QVantel::SettingsCodingLink1, "settings: codec of link 1"},
        {QVantel::SettingsCodingLink2, "settings: codec of link 2"},
        {QVantel::SettingsAudio, "settings: audio"},
        {QVantel::SettingsTools, "settings: tools"},
        {QVantel::SettingsBook, "settings: book"},
        {QVantel::SettingsBookLink1, "settings: profiles of link 1"},
        {QVantel::SettingsBookLink2, "settings: profiles of link 2"},
        {QVantel::SettingsStatus, "settings: status"},
        {QVantel::SettingsPage, "settings: the last section"},
    };
    for (const auto &[page, name] : targets) {
        s.panel(QVantel::MainPage, QStringLiteral("main"));
        s.panel(page, QString::fromLatin1(name));
    }
    // The link panels' own buttons, on the connection page opened from the main page: each
    // opens its link's codec page or profiles in the menu, no call running. Link 2's panel has
    // them in double codec mode only, which the unit takes meanwhile.
    for (const int link : {1, 2}) {
        if (link == 2)
            unitCodecMode(s, true);
        for (const char *button : {"codingButton", "bookButton"}) {
            const QString path = QStringLiteral("connPanel%1/").arg(link) + QLatin1String(button);
            s.panel(QVantel::MainPage, QStringLiteral("main"));
            s.panel(QVantel::ConnectionPage, QStringLiteral("connection"));
            s.w.step(QStringLiteral("press ") + path, [&] { s.w.pressButton(path); });
        }
    }
    unitCodecMode(s, false);
    s.panel(QVantel::MainPage, QStringLiteral("main"));
    s.w.step(QStringLiteral("press statusButton"),
             [&] { s.w.pressButton(QStringLiteral("statusButton")); });
    s.section(QStringLiteral("Exit"));
}

// The mobile modem's SIM: a wrong PIN, then the right one, which opens its settings.
void mobilePin(Scene &s)
{
    s.w.note(QStringLiteral("--- the SIM's PIN"));
    s.section(QStringLiteral("Network"));
    s.tap(QStringLiteral("Mobile settings"));
    s.type(QStringLiteral("PIN Code"), QStringLiteral("0000"));
    s.apply();
    s.type(QStringLiteral("PIN Code"), QStringLiteral("1234"));
    s.apply();
    s.tap(QStringLiteral("Mobile settings"));
    s.choose(QStringLiteral("Preferred Radio Access Technology"), QStringLiteral("4G/LTE"));
    s.tap(QStringLiteral("Preferred Network Operator"));
    s.answer(true);
    s.w.step(QStringLiteral("choices: \"Example Mobile\", OK"),
             [&] { s.w.chooseText(QStringLiteral("Example Mobile")); });
    s.type(QStringLiteral("Access Point Name"), QStringLiteral("walk.demo"));
    s.apply();
    s.back();
    s.section(QStringLiteral("Status"));
    s.tap(QStringLiteral("Mobile"));
    s.refresh();
    s.back();
}

// Writes the unit refuses: the page says so and shows what the unit holds.
void refusals(Scene &s)
{
    s.w.note(QStringLiteral("--- refused writes"));
    const QStringList refused = {QStringLiteral("local_addr"),
                                 QStringLiteral("ntp_addr_custom"),
                                 QStringLiteral("limiter_threshold"),
                                 QStringLiteral("sip_user"),
                                 QStringLiteral("softkey3"),
                                 QStringLiteral("rav_device_name")};
    s.unit(QStringLiteral("refuses writes of ") + refused.join(QStringLiteral(", ")),
           [&](FakeQuorix &) { s.w.refuseWrites(refused); });
    s.section(QStringLiteral("Network"));
    s.tap(QStringLiteral("LAN2 settings"));
    s.type(QStringLiteral("IP Address"), QStringLiteral("10.0.0.99"));
    s.apply();
    s.apply();
    s.back();
    s.tap(QStringLiteral("AoIP settings"));
    s.tap(QStringLiteral("Account 1"));
    s.type(QStringLiteral("User Name"), QStringLiteral("refused"));
    s.apply();
    s.back();
    s.back();
    s.section(QStringLiteral("Audio"));
    s.choose(QStringLiteral("Input Limiters Threshold"), QStringLiteral("-3 dBFS"));
    s.unit(QStringLiteral("has a custom time server"), [](FakeQuorix &fake) {
        fake.setValue(QStringLiteral("ntp_addr_custom"),
                      QStringLiteral("ntp.custom.demo"),
                      QStringLiteral("general"));
    });
    s.section(QStringLiteral("Tools"));
    s.tap(QStringLiteral("Miscellaneous"));
    s.choose(QStringLiteral("NTP Server"), QStringLiteral("Custom"));
    s.type(QStringLiteral("Custom Server"), QStringLiteral("ntp.walk.demo"));
    s.back();
    s.section(QStringLiteral("Audio"));
    s.tap(QStringLiteral("RAVENNA"));
    s.type(QStringLiteral("Device Name"), QStringLiteral("Refused Name"));
    s.back();
    s.section(QStringLiteral("Tools"));
    s.tap(QStringLiteral("Softkeys"));
    s.tap(QStringLiteral("Programmable Key 3"));
    s.choose(QStringLiteral("Category"), QStringLiteral("None"));
    s.back();
    s.back();
    s.unit(QStringLiteral("takes them again"), [&](FakeQuorix &) { s.w.refuseWrites({}); });
}

} // namespace

void walkSettingsMenu(WalkDriver &walk)
{
    crawl(walk, Pass::Look, QStringLiteral("looked at"));
    Scene scene(walk);
    notifications(scene);
    mobilePin(scene);
    calls(scene);
    refusals(scene);
    shortcuts(scene);
    crawl(walk, Pass::Edit, QStringLiteral("every row changed and applied"));
    crawl(walk, Pass::Discard, QStringLiteral("every row changed and left without Apply"));
    walk.step(QStringLiteral("section \"Exit\""), [&] { walk.tapSection(QStringLiteral("Exit")); });
    // The unit starts over: the window reads it all again.
    walk.unitEvent(QStringLiteral("reinit"), {});
    walk.setupPass();
}
