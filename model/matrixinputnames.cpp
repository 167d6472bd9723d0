#include "model/matrixinputnames.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("QVantelLocalize", text);
}

// Position of each audio-over-IP input among the module's six channels, 0 when not one.
int aoipChannel(int input)
{
    switch (input) {
    case 9:
        return 1;
    case 10:
        return 2;
    case 14:
        return 3;
    case 15:
        return 4;
    case 16:
        return 5;
    case 18:
        return 6;
    default:
        return 0;
    }
}

} // namespace

QString matrixInputName(int input, quint32 deviceOptions)
{
    if (const int channel = aoipChannel(input); channel > 0) {
        const bool dante = (deviceOptions & kDeviceOptionDante) != 0;
        return (dante ? tr("DNT. %1") : tr("RAV. %1")).arg(channel);
    }
    switch (input) {
    case 0:
        return tr("INPUT 1");
    case 1:
        return tr("INPUT 2");
    case 2:
        return tr("INPUT 3");
    case 3:
        return tr("INPUT 4");
    case 4:
        return tr("AUX 1");
    case 5:
        return tr("AUX 2");
    case 6:
        return tr("AES 1");
    case 7:
        return tr("AES 2");
    case 8:
        return tr("USB");
    case 11:
        return tr("MOBILE");
    case 12:
    case 19:
        return tr("PROGRAM\nRETURN");
    case 13:
        return tr("COORD\nRETURN");
    case 20:
    case 24:
        return tr("PROGRAM");
    case 21:
        return tr("COORD");
    case 26:
    case 27:
    case 28:
    case 29:
        return tr("SIDE\nTONE");
    default:
        return tr("Invalid");
    }
}
