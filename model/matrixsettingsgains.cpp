// TMatrixSettings: the gain of each cell from its routing, balance, priority and copies.

#include "model/matrixsettings.h"

#include "model/matrixlayout.h"

#include <algorithm>
#include <cmath>

using namespace MatrixLayout;

namespace {

// The balance table in dB, indexed by the cell balance 0 to 12. Column A serves the programme
// and coordination sends, column B their returns.
constexpr std::array<double, 13> kBalanceA
    = {-70, -30, -24, -18, -14, -10, -6, -5, -4, -3, -2, -1, 0};
constexpr std::array<double, 13> kBalanceB
    = {0, -1, -2, -3, -4, -5, -6, -10, -14, -18, -24, -30, -70};
constexpr int kBalanceMax = 12;

constexpr double kPriorityDuckingDb = -12.0;
} // namespace

// Gain computation.

double TMatrixSettings::balanceOffset(int input, int output) const
{
    if (!isExtendedMode() || !isHeadphoneOutput(output) || !validInput(input))
        return 0.0;
    // Balance bytes come from the device unchecked: keep the lookup inside the table.
    const std::size_t row = std::size_t(std::clamp(node(input, output).balance, 0, kBalanceMax));
    switch (input) {
    case QVantel::InputProgram:
    case QVantel::InputCoord:
    case QVantel::InputProgramRight:
        return kBalanceA[row];
    case QVantel::InputProgramReturn:
    case QVantel::InputCoordReturn:
    case QVantel::InputProgramReturnRight:
        return kBalanceB[row];
    default:
        return 0.0;
    }
}

void TMatrixSettings::recomputeNode(int input, int output, bool emitChange)
{
    if (m_constructed == 0 || !validInput(input) || !validOutput(output))
        return;
    Node &n = cell(input, output);
    const quint32 copy = m_copyState[std::size_t(output)];
    const bool followsCopy = (copy & CopyTarget) != 0 && (n.flags & NodeFollowsCopy) != 0;
    if (!followsCopy) {
        const double inputDb = m_inputGain[std::size_t(input)];
        const double sum = inputDb + double(n.gain);
        double total = sum + balanceOffset(input, output);
        bool priorityInput = false;
        const quint32 mask = m_priorityMask[std::size_t(output)];
        if ((mask & 0xFFFFFU) != 0) {
            if ((mask & (1U << input)) != 0) {
                // A priority input keeps its boosts and ignores attenuation and balance.
                total = n.gain > 0.0F ? sum : inputDb;
                priorityInput = true;
            } else {
                total
                    = (m_options & OptionPriorityMutes) != 0 ? kOffDb : total + kPriorityDuckingDb;
            }
        }
        float factor = 0.0F;
        if (n.isOn() || priorityInput)
            factor = float(std::exp(total / 20.0));
        if (factor != n.linear) {
            n.linear = factor;
            if ((copy & CopySource) != 0)
                passOnFactor(input, output, factor);
        }
    }
    if (emitChange)
        Q_EMIT nodeChanged(QVantel::Inputs(input), QVantel::Outputs(output));
}

void TMatrixSettings::passOnFactor(int input, int output, float factor)
{
    const quint32 copy = m_copyState[std::size_t(output)];
    for (int target = 0; target < OutputCount; ++target) {
        if (target == output || !isCopyOutput(target) || (copy & (1U << target)) == 0)
            continue;
        Node &n = cell(input, target);
        if ((n.flags & (NodeFollowsCopy | NodeSilencedByCopy)) == NodeFollowsCopy
            && n.linear != factor) {
            n.linear = factor;
        }
    }
}

void TMatrixSettings::recomputeInput(int input)
{
    if (m_constructed == 0 || !validInput(input))
        return;
    for (int output = 0; output < OutputCount; ++output)
        recomputeNode(input, output, false);
    Q_EMIT inputGainChanged(QVantel::Inputs(input));
}

void TMatrixSettings::setPriorityInput(int input, int output)
{
    if (!validInput(input) || !validOutput(output))
        return;
    quint32 &mask = m_priorityMask[std::size_t(output)];
    if ((mask & (1U << input)) != 0)
        return;
    mask |= 1U << input;
    for (int i = 0; i < InputCount; ++i)
        recomputeNode(i, output, false);
}

void TMatrixSettings::clearPriorityInput(int input, int output)
{
    if (!validInput(input) || !validOutput(output))
        return;
    quint32 &mask = m_priorityMask[std::size_t(output)];
    if ((mask & (1U << input)) == 0)
        return;
    mask &= ~(1U << input);
    for (int i = 0; i < InputCount; ++i)
        recomputeNode(i, output, false);
}
