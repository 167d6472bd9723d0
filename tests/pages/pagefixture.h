#pragma once

#include "link/ccom.h"
#include "link/comclient.h"
#include "link/sharedobjects.h"
#include "model/audiosettings.h"
#include "model/comdevice.h"
#include "model/firmwareversion.h"
#include "model/matrixsettings.h"
#include "tests/support/fakequorix.h"

#include <QStringList>
#include <QTest>

#include <map>
#include <memory>
#include <set>
#include <string>

// The shared protocol client connected to a fake unit on loopback, so that the model's writes
// succeed and the test can read exactly what reached the unit. The device's option words and
// operation mode are set through the model as a refresh would set them; the controllers are
// declared ready by hand.
struct PageFixture
{
    std::unique_ptr<FakeQuorix> fake;

    [[nodiscard]] bool start(quint32 firmware = 0x20007)
    {
        firmwareVersion = firmware;
        fake = std::make_unique<FakeQuorix>();
        if (!fake->listen())
            return false;
        if (!comClient()->connect(QStringLiteral("127.0.0.1"), fake->port(), 0))
            return false;
        return QTest::qWaitFor([] { return comClient()->state() == RpcConnection::Connected; },
                               15000);
    }

    void stop()
    {
        destroySharedObjects();
        fake.reset();
        firmwareVersion = kFirmwareVersionUnknown;
    }

    // The option words of "device_opts" ("ravenna", "hardware_2", ...), read into the model.
    [[nodiscard]] bool setDeviceOptions(const QStringList &words)
    {
        fake->setList(QStringLiteral("device_opts"), words, QStringLiteral("general"));
        return comDevice()->readDeviceOptions();
    }

    // Sets the mode without writing it; the device reports the change.
    static void setOperationMode(int mode) { comDevice()->setOperationMode(mode, false); }

    // A completed refresh of a device in this operation mode.
    static void refreshed(int mode)
    {
        setOperationMode(mode);
        emit comDevice()->deviceStateChanged(TComDevice::DeviceStateAll);
    }

    static void audioReady()
    {
        audioSettings()->setState(TComController::StateUnknown);
        audioSettings()->setState(TComController::StateReady);
    }

    // Hands the matrix its own rows as the unit's, so that they are known and the pages' writes
    // of them go out; the model is left as it is. The keys of unsent are left out.
    static void matrixRowsReported(const std::set<std::string> &unsent = {})
    {
        TMatrixSettings *matrix = matrixSettings();
        const auto hex = [](unsigned value, int digits) {
            return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
        };
        std::map<std::string, std::string> rows;
        const auto report = [&](const std::string &key, const QString &text) {
            if (unsent.count(key) == 0)
                rows[key] = text.toStdString();
        };
        for (int input = 0; input < TMatrixSettings::InputRowCount; ++input) {
            const TMatrixSettings::InputRow row = matrix->inputRow(input);
            report("matrix_in" + std::to_string(input + 1),
                   hex(row.word, 4) + QLatin1Char(',')
                       + QString::fromLatin1(row.name.data(), qsizetype(row.name.size())));
        }
        for (int output = 10; output <= 14; ++output)
            report("matrix_ou" + std::to_string(output + 1), hex(matrix->outputRow(output), 2));
        for (int h = 0; h < TMatrixSettings::HeadphoneCount; ++h) {
            const std::string number = std::to_string(h + 1);
            QString mix;
            for (int input = 0; input <= 24; ++input) {
                if (TMatrixSettings::isMixInput(h, input, 24))
                    mix += hex(matrix->headphoneMix(h)[size_t(input)], 2);
            }
            report("matrix_hp" + number, mix);
            QString balance;
            for (int input : {12, 13, 19, 20, 21, 24})
                balance += hex(matrix->headphoneBalance(h)[size_t(input)], 2);
            report("matrix_bal" + number, balance);
            QString config;
            for (quint8 byte : matrix->audioConfig(h))
                config += hex(byte, 2);
            report("matrix_po" + number, config);
        }
        report("matrix_opt", hex(matrix->options(), 8));
        report("matrix_mgn", hex(matrix->masterGain(), 8));
        // The volume word's text starts with its lowest byte (headphone 1's).
        const quint32 volume = matrix->volume();
        QString volumeText;
        for (int h = 0; h < TMatrixSettings::HeadphoneCount; ++h)
            volumeText += hex((volume >> (8 * h)) & 0xFFU, 2);
        report("matrix_vol", volumeText);
        matrix->applyParams(rows);
    }

    // The PARAM writes of key the unit received, as their values, in order.
    [[nodiscard]] QStringList writesOf(const QString &key) const
    {
        QStringList values;
        for (const FakeRequest &request : fake->requests()) {
            if (request.isSetOf(key))
                values << request.value(key);
        }
        return values;
    }
};
