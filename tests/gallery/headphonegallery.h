#pragma once

// The headphone pages and their popups for the front-panel gallery:
//     headphone1-fresh.png, headphone1-sidetone.png, headphone2-scrolled.png,
//     headphone3-standard.png, headphone4-extended.png, headphone2-unsent-mix.png,
//     headphone-popups.png

#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/qvantelheadphone1page.h"
#include "pages/qvantelheadphone2page.h"
#include "pages/qvantelheadphone3page.h"
#include "pages/qvantelheadphone4page.h"
#include "pages/qvantelheadphoneaudio.h"
#include "pages/qvantelheadphoneselect.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/pages/pagefixture.h"
#include "widgets/qvantelaudiobutton.h"
#include "widgets/qvantelaudioinput.h"
#include "widgets/qvantelswitch.h"

#include <QApplication>
#include <QKeyEvent>

#include <functional>

namespace headphonegallery {

template<typename Page>
bool writeHeadphonePage(const QString &folder,
                        const QString &name,
                        const std::function<void(Page &)> &prepare)
{
    QWidget host;
    styleFrontPanel(&host);
    auto *page = new Page(&host);
    page->setGeometry(0, 0, 800, 480);
    page->resetView();
    prepare(*page);
    return writeSheet(folder, name, host);
}

// Side tone on: the grid scrolls and the side-tone strip leads it.
inline void sideToneOn()
{
    matrixSettings()->setMatrixOptions(TMatrixSettings::OptionSideTone, false);
}

inline void sideToneOff()
{
    matrixSettings()->setMatrixOptions(0, false);
}

inline bool popups(const QString &folder)
{
    QWidget host;
    styleFrontPanel(&host, QSize(640, 280));
    auto *select = new QVantelHeadphoneSelect(&host);
    select->setWindowFlags(Qt::Widget);
    select->addItem(8, QStringLiteral("USB"));
    select->addItem(4, QStringLiteral("AUX 1\nStudio"));
    select->setCurrent(4);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    select->move(10, 10);
    auto *audio = new QVantelHeadphoneAudio(&host);
    audio->setWindowFlags(Qt::Widget);
    // A position's gain popup names its source as the position does: the unit's name under it.
    audio->strip()->setInput(QVantel::Inputs(1));
    audio->strip()->setName(QStringLiteral("G\u00e4st"), false);
    audio->strip()->setGain(-6);
    audio->strip()->setPanning(QVantel::PanLeft);
    audio->move(330, 10);
    select->show();
    audio->show();
    QCoreApplication::sendEvent(select, &enter);
    return writeSheet(folder, QStringLiteral("headphone-popups.png"), host);
}

inline bool headphonePages(const QString &folder)
{
    bool ok = writeHeadphonePage<QVantelHeadphone1Page>(
        folder, QStringLiteral("headphone1-fresh.png"), [](QVantelHeadphone1Page &) {});

    sideToneOn();
    ok = writeHeadphonePage<QVantelHeadphone1Page>(folder,
                                                   QStringLiteral("headphone1-sidetone.png"),
                                                   [](QVantelHeadphone1Page &page) {
                                                       page.matrixOptionsChanged(0);
                                                       page.positionButton(2)->setGain(-4);
                                                       page.positionButton(2)->setPanning(
                                                           QVantel::PanLeft);
                                                       page.positionButton(3)->setSelected(true);
                                                       page.strip(8)->setGain(3);
                                                       page.strip(5)->setState(1);
                                                       page.strip(6)->setState(2);
                                                   })
         && ok;
    ok = writeHeadphonePage<QVantelHeadphone2Page>(folder,
                                                   QStringLiteral("headphone2-scrolled.png"),
                                                   [](QVantelHeadphone2Page &page) {
                                                       page.matrixOptionsChanged(0);
                                                       QMouseEvent press(QEvent::MouseButtonPress,
                                                                         QPointF(400, 300),
                                                                         QPointF(400, 300),
                                                                         Qt::LeftButton,
                                                                         Qt::LeftButton,
                                                                         Qt::NoModifier);
                                                       QMouseEvent move(QEvent::MouseMove,
                                                                        QPointF(400, 200),
                                                                        QPointF(400, 200),
                                                                        Qt::LeftButton,
                                                                        Qt::LeftButton,
                                                                        Qt::NoModifier);
                                                       QCoreApplication::sendEvent(&page, &press);
                                                       QCoreApplication::sendEvent(&page, &move);
                                                   })
         && ok;
    sideToneOff();

    ok = writeHeadphonePage<QVantelHeadphone3Page>(folder,
                                                   QStringLiteral("headphone3-standard.png"),
                                                   [](QVantelHeadphone3Page &page) {
                                                       page.deviceStateChanged(
                                                           TComDevice::DeviceStateAll);
                                                       page.followSwitch(1)->setChecked(true);
                                                       page.strip(0)->setGain(-10);
                                                       page.strip(1)->setState(1);
                                                   })
         && ok;
    comDevice()->setOperationMode(1, false);
    ok = writeHeadphonePage<QVantelHeadphone4Page>(
             folder,
             QStringLiteral("headphone4-extended.png"),
             [](QVantelHeadphone4Page &page) {
                 page.QVantelHeadphoneWidget::deviceStateChanged(TComDevice::OperationModeState);
                 page.deviceStateChanged(TComDevice::OperationModeState);
                 page.strip(20)->setGain(2);
                 page.strip(20)->setPanning(QVantel::PanStereo);
             })
         && ok;
    comDevice()->setOperationMode(0, false);

    // A unit that did not send headphone 2's mix: the page shows none of it as the unit's,
    // holds every control that would write it, and says so.
    ok = writeHeadphonePage<QVantelHeadphone2Page>(
             folder,
             QStringLiteral("headphone2-unsent-mix.png"),
             [](QVantelHeadphone2Page &) {
                 PageFixture::matrixRowsReported({"matrix_hp2"});
                 matrixSettings()->setState(TComController::StateReady);
             })
         && ok;
    matrixSettings()->reset();
    return popups(folder) && ok;
}

} // namespace headphonegallery
