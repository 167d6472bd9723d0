#include "frontpanel/qvantelwindow.h"
#include "pages/pageregistration.h"
#include "pages/qvantelheadphone1page.h"
#include "pages/qvantelheadphone2page.h"
#include "pages/qvantelheadphone3page.h"
#include "pages/qvantelheadphone4page.h"

void registerHeadphonePages()
{
    QVantelWindow::registerHeadphonePage<QVantelHeadphone1Page>(QVantel::Headphone1Page);
    QVantelWindow::registerHeadphonePage<QVantelHeadphone2Page>(QVantel::Headphone2Page);
    QVantelWindow::registerPage<QVantelHeadphone3Page>(QVantel::Headphone3Page);
    QVantelWindow::registerPage<QVantelHeadphone4Page>(QVantel::Headphone4Page);
}
