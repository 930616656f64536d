#include "WaveFile.h"

#include "IniDocument.h"
#include "Profile.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace tracelens {

namespace {

constexpr const char* kChannelKey[kChannels] = {"CHA", "CHB", "CHC", "CHD"};
constexpr std::string_view kStartMarker = "Sample start";
// Settings block words of channel c (6 per channel) and of the time base.
constexpr int kBlockCode = 2;
constexpr int kBlockDivSel = 4;
constexpr int kBlockTimeBase = 30;
constexpr int kBlockHighSample = 32;

// A profile value as the private-profile integer reader converts it.
long ProfileInt(const toolbelt::IniDocument& doc, const char* section, const char* key,
                long fallback) {
    const std::string* value = doc.Find(section, key);
    if (value == nullptr || value->empty())
        return fallback;
    return static_cast<int>(ProfileIntFromText(value->substr(0, 63).c_str()));
}

// Splits off one line (without its line end) from `text`.
std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// One whole number as "%d" reads it: blanks, an optional sign, digits, and
// nothing beyond the 32-bit range.
bool ReadNumber(std::string_view& text, long& value) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || magnitude < 0 || end == text.data())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return false;
    value = static_cast<long>(signedValue);
    return true;
}

// "%d,%d,%d,%d,%d": the index, then channels A to D.
bool ReadRecord(std::string_view line, SampleRow& row) {
    long index = 0;
    if (!ReadNumber(line, index))
        return false;
    for (long& value : row) {
        if (line.empty() || line.front() != ',')
            return false;
        line.remove_prefix(1);
        if (!ReadNumber(line, value))
            return false;
    }
    return true;
}

std::string Key(int channel, const char* suffix) {
    return std::string(kChannelKey[channel]) + suffix;
}

} // namespace

WaveSetup SetupFromBlock(const ScopeSettingsBlock& block) {
    WaveSetup setup;
    setup.timeBase = block[kBlockTimeBase];
    setup.highSample = block[kBlockHighSample];
    for (int ch = 0; ch < kChannels; ++ch) {
        setup.code[ch] = block[6 * ch + kBlockCode];
        setup.divSel[ch] = block[6 * ch + kBlockDivSel];
    }
    return setup;
}

void SetupIntoBlock(const WaveSetup& setup, ScopeSettingsBlock& block) {
    block[kBlockTimeBase] = setup.timeBase;
    block[kBlockHighSample] = setup.highSample;
    for (int ch = 0; ch < kChannels; ++ch) {
        block[6 * ch + kBlockCode] = setup.code[ch];
        block[6 * ch + kBlockDivSel] = setup.divSel[ch];
    }
}

std::string FormatWaveFile(const std::vector<SampleRow>& rows, const WaveSetup& setup,
                           const WaveIdentity& identity, const std::string& date) {
    std::string body = "Sample size," + std::to_string(rows.size()) + "\n";
    body += "Sample start, CHA, CHB, CHC, CHD\n";
    char line[96];
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::snprintf(line, sizeof line, "%zu,%ld,%ld,%ld,%ld\n", i, rows[i][0], rows[i][1],
                      rows[i][2], rows[i][3]);
        body += line;
    }
    body += "Sample end\n";

    toolbelt::IniDocument doc = toolbelt::IniDocument::Parse(body);
    const auto number = [](long value) { return std::to_string(value); };
    doc.Set("Info", "Date", date);
    doc.Set("Info", "Size", number(static_cast<long>(rows.size())));
    doc.Set("Setup", "FileVersion", "0.0.1");
    doc.Set("Setup", "TypeCap", identity.typeCap);
    doc.Set("Setup", "DrvVer1", identity.drvVer1);
    doc.Set("Setup", "DrvVer2", identity.drvVer2);
    doc.Set("Setup", "MID", identity.mid);
    doc.Set("Setup", "EncVer", identity.encVer);
    doc.Set("Setup", "TimeBase_ms_Div", number(setup.timeBase));
    doc.Set("Setup", "TimeBase_EnHiSamp", number(setup.highSample));
    for (int ch = 0; ch < kChannels; ++ch)
        doc.Set("Setup", Key(ch, "_ID"), number(setup.code[ch]));
    for (int ch = 0; ch < kChannels; ++ch)
        doc.Set("Setup", Key(ch, "_DivSel"), number(setup.divSel[ch]));
    return doc.Serialize();
}

std::string WaveDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[80];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return date;
}

WaveHeader ReadWaveHeader(std::string_view text) {
    const toolbelt::IniDocument doc = toolbelt::IniDocument::Parse(text);
    WaveHeader header;
    WaveSetup& setup = header.setup;
    header.size = ProfileInt(doc, "Info", "Size", 1);
    setup.timeBase = static_cast<int>(ProfileInt(doc, "Setup", "TimeBase_ms_Div", 300));
    setup.highSample = static_cast<int>(ProfileInt(doc, "Setup", "TimeBase_EnHiSamp", 0));
    for (int ch = 0; ch < kChannels; ++ch) {
        setup.code[ch] = static_cast<int>(
            ProfileInt(doc, "Setup", Key(ch, "_ID").c_str(), WaveSetup{}.code[ch]));
        setup.divSel[ch] = static_cast<int>(
            ProfileInt(doc, "Setup", Key(ch, "_DivSel").c_str(), WaveSetup{}.divSel[ch]));
    }
    return header;
}

WaveBody ReadWaveSamples(std::string_view text, long wanted, std::vector<SampleRow>& rows) {
    bool started = false;
    while (!text.empty() && !started) {
        const std::string_view line = NextLine(text);
        started = line.substr(0, line.find(',')) == kStartMarker;
    }
    if (!started)
        return WaveBody::NoStart;
    long count = 0;
    SampleRow row{};
    while (count < wanted && !text.empty() && ReadRecord(NextLine(text), row)) {
        rows.push_back(row);
        ++count;
    }
    return count == wanted ? WaveBody::Complete : WaveBody::Short;
}

} // namespace tracelens
