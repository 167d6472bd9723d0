#pragma once

// The call and AoIP status pages of the settings menu's Status section, during a demo call:
//     settings-status-connections.png (link 1 in an Ethernet call with its quality, link 2
//         ringing), settings-status-statistics.png (link 1's call statistics),
//     settings-status-aoip.png (the AoIP controller against the demo unit's SIP side)

#include "link/ccom.h"
#include "link/comclient.h"
#include "model/accesslevel.h"
#include "model/comaoipcontroller.h"
#include "model/comdevice.h"
#include "settings/qvantelsettingspage.h"
#include "settings/settingsids.h"
#include "tests/gallery/gallerydemo.h"
#include "tests/gallery/settingsgallery.h"
#include "tests/support/demoarea.h"
#include "tests/support/fakequorix.h"
#include "widgets/qvantelmenuitem.h"
#include "widgets/qvantelmenuitems.h"

#include <initializer_list>

namespace statusgallery {

// Opens the Status section as its entry does, then taps the rows in turn, each on the page the
// tap before opened, so that the titles read as they do in the window.
inline void openPages(QVantelSettingsPage &menu, std::initializer_list<int> rows)
{
    menu.showEntry(kPageStatus, 0);
    for (const int id : rows) {
        QVantelMenuItems *page = menu.currentPage();
        if (QVantelMenuItem *row = page ? page->findItem(id) : nullptr)
            menu.itemClicked(row);
    }
}

inline void feed(const char *pairs)
{
    ksm::CMsg msg;
    if (ksm::CMsg::parse(std::string("EVENT;") + pairs, msg) == 0)
        (void)comDevice()->handleEvent(msg);
}

inline bool statusPages(const QString &folder)
{
    FakeQuorix fake;
    if (!fake.listen())
        return false;
    installDemoSip(*new DemoUnit(fake));
    bool ok = gallerydemo::connectClient(fake)
              // As the device model's refresh attaches it after a login.
              && comDevice()->aoipController()->setNetwork("aoip", 0, false);

    // Link 1 in a synchronised two-stream call with reports; link 2 ringing.
    const char *link1 = "id:1;network:eth.0;comm_link:audio;";
    for (const std::string pairs :
         {"event_type:1000-call active;codec_tx:OPUS/48000/stereo/64000;"
          "remote_addr:studio@sip.demo.invalid;stream_id:1;",
          "event_type:dsp_status;state:sync;",
          "event_type:tx-quality-report;net-quality:87;duration:3725;pkts-total:186250;"
          "pkts-lost:532;jtr-avg:3;jtr-max:14;",
          "event_type:tx-quality-report;stream_id:2;net-quality:80;duration:3725;"
          "pkts-total:186250;pkts-lost:745;jtr-avg:4;jtr-max:17;",
          "event_type:rx-quality-report;net-quality:91;duration:3725;pkts-total:185505;"
          "pkts-lost:745;pkts-discarded:338;pkts-duplicated:12;pkts-reorderd:219;jtr-avg:4;"
          "jtr-max:21;jb-curr:60;jb-mark:40;"})
        feed((pairs + link1).c_str());
    feed("event_type:0600-call received;id:2;network:wifi.0;comm_link:audio2;"
         "remote_addr:+44 20 7946 0000;");

    const struct
    {
        const char *name;
        std::initializer_list<int> rows;
    } sheets[] = {{"settings-status-connections.png", {kPageConnections}},
                  {"settings-status-statistics.png", {kPageConnections, kRowDetailedStatistics}},
                  {"settings-status-aoip.png", {kPageAoipStatus}}};
    for (const auto &sheet : sheets) {
        if (!ok)
            break;
        ok = settingsgallery::writeMenu(folder,
                                        QString::fromLatin1(sheet.name),
                                        AccessLevel::Expert,
                                        [&sheet](QVantelSettingsPage &menu) {
                                            // The copies a running window would have taken.
                                            menu.audioCallStatisticChanged(
                                                comDevice()->audioConnection(1));
                                            openPages(menu, sheet.rows);
                                        });
    }
    comDevice()->removeAllConnections();
    comClient()->disconnect();
    comDevice()->aoipController()->reset();
    return ok;
}

} // namespace statusgallery
