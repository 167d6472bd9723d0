#include "tests/gallery/audiopagesgallery.h"

#include "frontpanel/ivantelmeterpage.h"
#include "frontpanel/qvantelwindow.h"
#include "link/sharedobjects.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/matrixsettings.h"
#include "pages/pageregistration.h"
#include "tests/gallery/gallerysheet.h"
#include "tests/pages/pagefixture.h"
#include "widgets/ivantelstatuspanel.h"

namespace {

// The audio settings and the matrix as a unit with an auxiliary board reports them.
void fillModel()
{
    TAudioSettings *audio = audioSettings();
    audio->applyParams({{"auxiliary_board", "yes"}});
    audio->setInput1Gain(32, false);
    audio->setInput1Power(true, false);
    audio->setInput1Limiter(true, false);
    audio->setInput2Gain(28, false);
    audio->setInput3Gain(20, false);
    audio->setInput3Filter(true, false);
    audio->setInput4Level(4, false);
    audio->setInput4Pad(true, false);
    audio->setLineOutputLevel(18, false);
    TMatrixSettings *matrix = matrixSettings();
    const std::pair<int, float> gains[] = {{8, -6.0F}, {4, 3.0F}, {5, -12.0F}, {9, 0.0F}};
    for (const auto &[input, gain] : gains)
        matrix->setInputGain(input, gain);
    const std::pair<int, int> nodes[]
        = {{0, 0}, {1, 0}, {2, 1}, {4, 0}, {8, 1}, {20, 10}, {21, 11}, {12, 12}, {22, 10}};
    for (const auto &[input, output] : nodes)
        matrix->setNodeOn(input, output, true);
}

void session(IVantelStatusPanel *status)
{
    status->setBatteryLevel(80);
    status->setNetworkType(0x100, 0);
    status->setCodecMode(1, 0);
    status->setLinkState(1, 4);
    status->setAudioLevels(6, 14, 9, 18, 7, 11, true);
}

} // namespace

bool audioPages(const QString &folder)
{
    registerAudioPages();
    bool ok = true;
    {
        QWidget host;
        styleFrontPanel(&host);
        auto *window = new QVantelWindow(&host);
        host.show();
        window->completeLogin();
        fillModel();
        PageFixture::matrixRowsReported();
        audioSettings()->setState(TComController::StateReady);
        matrixSettings()->setState(TComController::StateReady);
        emit comDevice()->deviceStateChanged(TComDevice::DeviceStateAll);

        QWidget *audioPage = window->page(QVantel::AudioPage);
        session(dynamic_cast<IVantelStatusPanel *>(audioPage));
        const int levels[] = {4, 9, 14, 30, 6, 20, 30, 30, 12, 30, 30};
        window->pushCachedLevels(QVantel::AudioPage, true);
        if (auto *meters = dynamic_cast<IVantelMeterPage *>(audioPage))
            meters->setMeterLevels(levels, 11, true);
        ok = writePage(folder, QStringLiteral("audiopage-standard.png"), audioPage) && ok;
        audioPage->hide();

        comDevice()->setOperationMode(1, false);
        audioSettings()->setInput2Pair(true, false);
        audioPage->show();
        if (auto *meters = dynamic_cast<IVantelMeterPage *>(audioPage))
            meters->setMeterLevels(levels, 11, true);
        ok = writePage(folder, QStringLiteral("audiopage-extended.png"), audioPage) && ok;
        audioPage->hide();

        const std::pair<QVantel::Page, const char *> pages[] = {
            {QVantel::AudioInputPage, "audioinputpage-extended.png"},
            {QVantel::AudioAuxiliaryPage, "audioauxiliarypage-extended.png"},
            {QVantel::AudioOutputPage, "audiooutputpage-extended.png"},
        };
        for (const auto &[slot, name] : pages) {
            QWidget *page = window->page(slot);
            session(dynamic_cast<IVantelStatusPanel *>(page));
            ok = writePage(folder, QLatin1String(name), page) && ok;
            page->hide();
        }

        comDevice()->setOperationMode(0, false);
        QWidget *inputPage = window->page(QVantel::AudioInputPage);
        ok = writePage(folder, QStringLiteral("audioinputpage-standard.png"), inputPage) && ok;

        // A unit that did not send the rows of INPUT 1 and INPUT 3: their names and routing
        // are locked, and the page says so.
        TMatrixSettings *matrix = matrixSettings();
        matrix->reset();
        fillModel();
        PageFixture::matrixRowsReported({"matrix_in1", "matrix_in3"});
        matrix->setState(TComController::StateReady);
        ok = writePage(folder, QStringLiteral("audioinputpage-unsent-rows.png"), inputPage) && ok;

        // A unit that did not send its master gains: the PROGRAM and COORD knobs are locked.
        matrix->reset();
        fillModel();
        PageFixture::matrixRowsReported({"matrix_mgn"});
        matrix->setState(TComController::StateReady);
        ok = writePage(folder, QStringLiteral("audiopage-unsent-master-gains.png"), audioPage)
             && ok;
    }
    for (int page = QVantel::AudioPage; page <= QVantel::AudioOutputPage; ++page)
        QVantelWindow::setPageFactory(QVantel::Page(page), nullptr);
    // The next sheets start from a fresh model.
    destroySharedObjects();
    return ok;
}
