// The device itself: identity, firmware, options, the browser tab name and the front panel's
// access-level passwords.

#include "demoarea.h"

#include "link/passwordcipher.h"

#include <cstdlib>

namespace {

// The passwords stored on the demo unit; the README names them.
struct DemoPassword
{
    const char *key;
    const char *text;
};
constexpr DemoPassword kPasswords[] = {
    {"password_al", "admin"},
    {"password_el", "expert"},
    {"password_ol", "operator"},
};

// A unit keeps its passwords enciphered; an empty text when the cipher fails.
QString enciphered(const QByteArray &text)
{
    char *cipher = nullptr;
    const int length = encryptString(text.constData(), int(text.size()), &cipher);
    if (length < 0)
        return {};
    const QString result = QString::fromLatin1(cipher, length);
    std::free(cipher);
    return result;
}

} // namespace

void installDemoDevice(DemoUnit &demo)
{
    FakeQuorix &fake = demo.fake();
    const QString general = QStringLiteral("general");
    fake.setValue(QStringLiteral("device"), QStringLiteral("vantel"), general);
    // FAKE_QUORIX_FIRMWARE plays another firmware, for example an older one ("1.13.9"): the
    // program gates rows, keys and pages on it.
    const QString firmware = QString::fromLocal8Bit(qgetenv("FAKE_QUORIX_FIRMWARE")).trimmed();
    fake.setValue(QStringLiteral("version"),
                  firmware.isEmpty() ? QStringLiteral("2.00.7") : firmware,
                  general);
    fake.setValue(QStringLiteral("builddate"), QStringLiteral("2026-01-15"), general);
    fake.setValue(QStringLiteral("serialno"), QStringLiteral("100042"), general);
    // "ravenna" opens the audio-over-IP module pages (the module is in demoravenna.cpp).
    // FAKE_QUORIX_OPTIONS, a "," list, replaces these: without "ravenna" the unit has no
    // audio-over-IP module.
    QStringList options
        = {QStringLiteral("ip_dcodec"), QStringLiteral("record_1"), QStringLiteral("ravenna")};
    if (!qEnvironmentVariableIsEmpty("FAKE_QUORIX_OPTIONS")) {
        options = QString::fromLocal8Bit(qgetenv("FAKE_QUORIX_OPTIONS"))
                      .split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (QString &option : options)
            option = option.trimmed();
    }
    // FAKE_QUORIX_HARDWARE=1 to 4 names the hardware variant: on 1, 3 and 4 AUX 2 and the AES
    // inputs share one connection (the input source chooses), 2 is the compact unit.
    const QByteArray hardware = qgetenv("FAKE_QUORIX_HARDWARE").trimmed();
    if (hardware.size() == 1 && hardware[0] >= '1' && hardware[0] <= '4')
        options << QStringLiteral("hardware_") + QLatin1String(hardware);
    fake.setList(QStringLiteral("device_opts"), options, general);
    // The recorder option ("record_1") has the program ask what the recorder is doing.
    fake.setValue(QStringLiteral("rec_status"), QStringLiteral("stop"), QStringLiteral("audio"));
    fake.setValue(QStringLiteral("tabname"),
                  QStringLiteral("Demo Quorix"),
                  QStringLiteral("db"),
                  QStringLiteral("web"));

    for (const DemoPassword &password : kPasswords) {
        fake.setValue(QLatin1String(password.key),
                      enciphered(QByteArray(password.text)),
                      QStringLiteral("db"),
                      QStringLiteral("vn_frontpanel"));
    }
}
