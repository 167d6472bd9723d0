#include "pages/pageregistration.h"

#include "frontpanel/qvantelwindow.h"
#include "pages/qvantelaudioauxiliarypage.h"
#include "pages/qvantelaudioinputpage.h"
#include "pages/qvantelaudiooutputpage.h"
#include "pages/qvantelaudiopage.h"

void registerAudioPages()
{
    QVantelWindow::registerPage<QVantelAudioPage>(QVantel::AudioPage);
    QVantelWindow::registerPage<QVantelAudioInputPage>(QVantel::AudioInputPage);
    QVantelWindow::registerPage<QVantelAudioAuxiliaryPage>(QVantel::AudioAuxiliaryPage);
    QVantelWindow::registerPage<QVantelAudioOutputPage>(QVantel::AudioOutputPage);
}
