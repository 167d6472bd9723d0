// The main page's soft keys, its info and contact labels, the relay lamps and the remote
// numbers the dial pads start with.

#include "demoarea.h"

void installDemoSoftKeys(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString general = QStringLiteral("general");
    // "CccFffBbb": category, function and behaviour, two hexadecimal digits each.
    const char *const keys[] = {
        "C00F01B01", // cough 1, while held
        "C04F01B02", // contact 1, toggled
        "C04F02B02", // contact 2, toggled
        "C05F01B02", // info 1, toggled
        "C06F02B00", // shortcut to the mixing page
        "C06F09B00", // shortcut to the status page
        "CFFF00B00", // none
    };
    int number = 1;
    for (const char *key : keys)
        fake.setValue(QStringLiteral("softkey%1").arg(number++), QLatin1String(key), general);

    fake.setValue(QStringLiteral("info_label1"), QStringLiteral("On Air"), general);
    fake.setValue(QStringLiteral("info_label2"), QStringLiteral("Studio B"), general);
    fake.setValue(QStringLiteral("contact_label1"), QStringLiteral("Door"), general);
    fake.setValue(QStringLiteral("contact_label2"), QStringLiteral("Talkback"), general);

    const QString ui = QStringLiteral("ui");
    fake.setValue(QStringLiteral("relay1_in"), QStringLiteral("on"), ui);
    fake.setValue(QStringLiteral("relay2_in"), QStringLiteral("off"), ui);
    fake.setValue(QStringLiteral("relay1_out"), QStringLiteral("off"), ui);
    fake.setValue(QStringLiteral("relay2_out"), QStringLiteral("on"), ui);

    fake.setValue(QStringLiteral("remote_aoip1"), QStringLiteral("studio-b.demo"), ui);
    fake.setValue(QStringLiteral("remote_aoip2"), QString(), ui);
    fake.setValue(QStringLiteral("remote_isdn1"), QString(), ui);
    fake.setValue(QStringLiteral("remote_isdn2"), QString(), ui);
    fake.setValue(QStringLiteral("remote_voice"), QString(), ui);
}
