// TMatrixSettings: which rows and words the unit has sent, which the firmware reads, the changes
// refused because they would write a row that was not read, and the re-reading of missing rows.

#include "model/matrixsettings.h"

#include "model/firmwareversion.h"
#include "model/matrixlayout.h"
#include "model/modelkeys.h"

#include <algorithm>

using namespace MatrixLayout;

const bool *TMatrixSettings::knownFlag(Row row, int index) const
{
    const auto flag = [index](const auto &flags, int first) -> const bool * {
        const int at = index - first;
        return at >= 0 && at < int(flags.size()) ? &flags[std::size_t(at)] : nullptr;
    };
    switch (row) {
    case Row::Input:
        return hasInputRow(index) ? flag(m_inputRowKnown, 0) : nullptr;
    case Row::Output:
        return flag(m_outputRowKnown, kFirstOutputRow);
    case Row::Mix:
        return flag(m_mixKnown, 0);
    case Row::Balance:
        return flag(m_balanceKnown, 0);
    case Row::Position:
        return flag(m_positionKnown, 0);
    case Row::Options:
        return index == 0 ? &m_optionsKnown : nullptr;
    case Row::MasterGain:
        return index == 0 ? &m_masterGainKnown : nullptr;
    case Row::Volume:
        return index == 0 ? &m_volumeKnown : nullptr;
    }
    return nullptr;
}

bool TMatrixSettings::isRowKnown(Row row, int index) const
{
    const bool *flag = knownFlag(row, index);
    return flag && *flag;
}

void TMatrixSettings::markKnown(Row row, int index)
{
    // The flag is one of this object's own members.
    auto *flag = const_cast<bool *>(knownFlag(row, index));
    if (!flag || *flag)
        return;
    *flag = true;
    Q_EMIT rowReceived(row, index);
}

void TMatrixSettings::forgetUnitRows()
{
    m_inputRowKnown.fill(false);
    m_outputRowKnown.fill(false);
    m_mixKnown.fill(false);
    m_balanceKnown.fill(false);
    m_positionKnown.fill(false);
    m_optionsKnown = false;
    m_masterGainKnown = false;
    m_volumeKnown = false;
}

int TMatrixSettings::lastInputRow()
{
    if (firmwareAtLeast(kFirmware1_13))
        return 18;
    return firmwareAtLeast(kFirmware1_7) ? 17 : 10;
}

bool TMatrixSettings::firmwareReadsRow(Row row, int index)
{
    switch (row) {
    case Row::Input:
        return hasInputRow(index) && index <= lastInputRow();
    case Row::Output:
        return index >= kFirstOutputRow
               && (index < kLastOutputRow
                   || (index == kLastOutputRow && firmwareAtLeast(kFirmware1_7)));
    case Row::Mix:
    case Row::Position:
        return index >= 0 && index < HeadphoneCount;
    case Row::Balance:
        return index >= 0 && index < HeadphoneCount && firmwareAtLeast(kFirmware2_0);
    case Row::Options:
        return index == 0;
    case Row::MasterGain:
        return index == 0 && firmwareAtLeast(kFirmware1_6);
    case Row::Volume:
        return index == 0 && firmwareAtLeast(kFirmware1_8);
    }
    return false;
}

bool TMatrixSettings::isKeptBeyondFirmware(Row row)
{
    return row == Row::Input || row == Row::Output;
}

bool TMatrixSettings::isRowMissing(Row row, int index) const
{
    if (!(isReady() || m_readFailed) || isRowKnown(row, index) || !knownFlag(row, index))
        return false;
    // A balance row or word the firmware does not have is never read: it stays missing, so that
    // nothing the unit never sent is written as if it had been. Input and output rows beyond the
    // firmware's are kept here and never sent.
    return firmwareReadsRow(row, index) || !isKeptBeyondFirmware(row);
}

bool TMatrixSettings::refusesRow(Row row, int index) const
{
    if (!isRowMissing(row, index))
        return false;
    // A row's guard is held while a received row or a reset sets the cells it holds; those
    // changes are the unit's or the defaults' and write nothing. A headphone edit holds the mix
    // guard too, but its changes are the operator's.
    switch (row) {
    case Row::Input:
        return !m_inputRowGuard;
    case Row::Output:
        return !m_outputRowGuard;
    case Row::Mix:
        return !m_mixGuard || m_editOpen;
    case Row::Balance:
        return !m_balanceGuard;
    case Row::Volume:
        return !m_volumeGuard;
    case Row::Position:
    case Row::Options:
    case Row::MasterGain:
        // Asked only for the operator's writes; what is received is applied without sending.
        return true;
    }
    return true;
}

bool TMatrixSettings::refusesCell(int input, int output, bool routing) const
{
    if (routing) {
        if ((output == QVantel::OutputProgram || output == QVantel::OutputCoord
             || output == QVantel::OutputProgramRight)
            && refusesRow(Row::Input, input)) {
            return true;
        }
        const bool outputRowInput
            = std::find(kOutputRowInputs.begin(), kOutputRowInputs.end(), input)
              != kOutputRowInputs.end();
        if (outputRowInput && refusesRow(Row::Output, output))
            return true;
    }
    if (!isHeadphoneOutput(output))
        return false;
    const int headphone = (output - 2) / 2;
    // The level of the headphone's own microphone travels in the volume word; its routing in no
    // row at all.
    if (input == headphone)
        return !routing && refusesRow(Row::Volume, 0);
    return isMixInput(headphone, input, QVantel::LastMixInput) && refusesRow(Row::Mix, headphone);
}

std::string TMatrixSettings::rowKey(Row row, int index)
{
    switch (row) {
    case Row::Input:
        return numberedKey(kAudioKeyMatrixIn, index + 1);
    case Row::Output:
        return numberedKey(kAudioKeyMatrixOu, index + 1);
    case Row::Mix:
        return numberedKey(kAudioKeyMatrixHp, index + 1);
    case Row::Balance:
        return numberedKey(kAudioKeyMatrixBal, index + 1);
    case Row::Position:
        return numberedKey(kAudioKeyMatrixPo, index + 1);
    case Row::Options:
        return kAudioKeyMatrixOpt;
    case Row::MasterGain:
        return kAudioKeyMatrixMgn;
    case Row::Volume:
        return kAudioKeyMatrixVol;
    }
    return {};
}

bool TMatrixSettings::readMissingRows(const std::vector<RowId> &rows)
{
    const auto noneMissing = [this, &rows] {
        return std::none_of(rows.begin(), rows.end(), [this](const RowId &id) {
            return isRowMissing(id.row, id.index);
        });
    };
    // Without a start no row of a read would be written: the next start reads them all.
    if (!isReady())
        return noneMissing();
    std::vector<std::string> keys;
    const qint64 now = m_clock.elapsed();
    for (const RowId &id : rows) {
        // A row the firmware does not have is not asked for: the unit never sends it.
        if (!isRowMissing(id.row, id.index) || !firmwareReadsRow(id.row, id.index))
            continue;
        const std::string key = rowKey(id.row, id.index);
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            continue;
        // Several pages ask for the same rows, and a unit that leaves a row out (sends it in a
        // form that is not read, or fails the read) does so again: one read without it per
        // interval is enough.
        const auto leftOut = m_leftOutAt.find(key);
        if (leftOut != m_leftOutAt.end() && now - leftOut->second < kRereadIntervalMs)
            continue;
        keys.push_back(key);
    }
    if (keys.empty())
        return noneMissing();
    read(keys);
    // A read the busy client never sent holds nothing back: it is asked again the next time.
    if (m_request.lastCallResult() != -1) {
        const qint64 answered = m_clock.elapsed();
        for (const RowId &id : rows) {
            const std::string key = rowKey(id.row, id.index);
            if (isRowMissing(id.row, id.index)
                && std::find(keys.begin(), keys.end(), key) != keys.end()) {
                m_leftOutAt[key] = answered;
            }
        }
    }
    return noneMissing();
}
