#include "demoaudio.h"

#include "fakequorix.h"

#include <cmath>
#include <utility>

void fillAudioDemoValues(FakeQuorix &fake)
{
    const QString audio = QStringLiteral("audio");
    const std::pair<const char *, const char *> values[] = {
        {"auxiliary_board", "yes"}, {"audio_profile", "default"}, {"input_source", "analog"},
        {"input1_gain", "32"},      {"input1_power", "48V"},      {"input1_limiter", "on"},
        {"input2_gain", "28"},      {"input2_power", "off"},      {"input2_limiter", "on"},
        {"input2_pair", "off"},     {"input3_gain", "20"},        {"input3_power", "off"},
        {"input3_level", "-6"},     {"input3_limiter", "off"},    {"input3_filter", "on"},
        {"input3_pad", "off"},      {"input4_gain", "20"},        {"input4_level", "4"},
        {"input4_limiter", "off"},  {"input4_filter", "off"},     {"input4_pad", "on"},
        {"input4_pair", "off"},     {"line_output_level", "16"},  {"line_output2_level", "16"},
        {"line_pair", "off"},       {"aux_pair", "off"},          {"aes_pair", "off"},
        {"rav_in_pair", "off"},     {"rav_ou_pair", "off"},       {"limiter_threshold", "-9"},
        {"drc_state", "off"},       {"drc_lim_threshold", "-2"},  {"drc_threshold_cmp", "-3"},
        {"drc_ratio_cmp", "2.0"},   {"drc_attack", "0"},          {"wave_file", ""},
        {"wave_scut", "off"},
    };
    for (const auto &[key, value] : values)
        fake.setValue(QLatin1String(key), QLatin1String(value), audio);
}

QString demoInputLevel(int input, int tick)
{
    const double phase = tick / (4.0 + input) + input;
    return QString::number(std::lround(15.0 + 15.0 * std::sin(phase)));
}
