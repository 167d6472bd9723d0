#include "fakematrixdemo.h"

#include "fakequorix.h"

#include <QString>

#include <vector>

namespace {

// The inputs of headphone h's mix row, in the row's order.
std::vector<int> mixInputs(int headphone)
{
    std::vector<int> inputs;
    for (int input = 0; input <= 24; ++input) {
        if (input != 11 && input != 22 && input != 23 && input != headphone)
            inputs.push_back(input);
    }
    return inputs;
}

// One byte of a headphone mix row: bit 6 left on, bit 7 right on, the low six bits the gain
// plus 32 (0 means off).
QString mixByte(bool left, bool right, int gain)
{
    const int bits = (left ? 0x40 : 0) | (right ? 0x80 : 0) | (gain <= -32 ? 0 : gain + 32);
    return QStringLiteral("%1").arg(bits, 2, 16, QLatin1Char('0')).toUpper();
}

// The mix row of headphone h: one byte per input 0 to 24, except 11, 22, 23 and the headphone's
// own microphone (input h), whose level travels in the volume word.
QString mixRow(int headphone)
{
    QString row;
    for (int input : mixInputs(headphone)) {
        // The microphones and the programme return are audible at first; the rest is off.
        // Headphone 1 also hears the coordination return, a little lower, on the left ear.
        const bool audible = input <= 3 || input == 12;
        if (headphone == 0 && input == 13)
            row += mixByte(true, false, -3);
        else
            row += mixByte(true, true, audible ? -6 : -160);
    }
    return row;
}

} // namespace

void fillMatrixDemoValues(FakeQuorix &fake)
{
    const QString audio = QStringLiteral("audio");
    // Input rows: the word (0x20: gain 0 dB, no routing to outputs 0, 1, 18), a comma and the
    // name the unit's user gave the input.
    const QString word = qgetenv("FAKE_QUORIX_INPUT_WORD").trimmed() == "2"
                             ? QStringLiteral("20")
                             : QStringLiteral("0020");
    const auto inputRow = [&](int n, const QString &name) {
        fake.setValue(QStringLiteral("matrix_in%1").arg(n), word + QLatin1Char(',') + name, audio);
    };
    for (int n = 1; n <= 19; ++n)
        inputRow(n, QString());
    inputRow(2, QStringLiteral("G\u00e4st"));
    inputRow(5, QStringLiteral("Studio"));
    inputRow(9, QStringLiteral("Laptop"));
    for (int n = 11; n <= 15; ++n)
        fake.setValue(QStringLiteral("matrix_ou%1").arg(n), QStringLiteral("00"), audio);
    for (int h = 0; h < 4; ++h) {
        fake.setValue(QStringLiteral("matrix_hp%1").arg(h + 1), mixRow(h), audio);
        // Balance of inputs 12, 13, 19, 20, 21, 24: centred.
        fake.setValue(
            QStringLiteral("matrix_bal%1").arg(h + 1), QStringLiteral("060606060606"), audio);
    }
    // Positions of headphones 1 and 2 (input + 1 each); headphone 3 has its own mix, headphone
    // 4 follows headphone 1 (first byte 1).
    fake.setValue(QStringLiteral("matrix_po1"), QStringLiteral("0203040E"), audio);
    fake.setValue(QStringLiteral("matrix_po2"), QStringLiteral("0103040E"), audio);
    fake.setValue(QStringLiteral("matrix_po3"), QStringLiteral("00000000"), audio);
    fake.setValue(QStringLiteral("matrix_po4"), QStringLiteral("01000000"), audio);
    // The options word and the operation mode belong to the coding side (democodingoptions.cpp,
    // democoding.cpp). The master gains: programme and coordination at 0 dB (each byte the gain
    // + 128), the low half as the unit keeps it. The volume word holds each headphone's
    // own-microphone level.
    fake.setValue(QStringLiteral("matrix_mgn"), QStringLiteral("80800000"), audio);
    fake.setValue(QStringLiteral("matrix_vol"), QStringLiteral("E0E0E0E0"), audio);
}

std::set<int> changedMixInputs(int headphone, const QString &before, const QString &after)
{
    std::set<int> changed;
    int at = 0;
    for (int input : mixInputs(headphone)) {
        if (at + 2 > before.size() || at + 2 > after.size())
            break;
        if (before.mid(at, 2) != after.mid(at, 2))
            changed.insert(input);
        at += 2;
    }
    return changed;
}
