#include "RtpxFile.h"

#include "AtomicFile.h"
#include "IniDocument.h"
#include "SectionFile.h"

#include <cstdio>
#include <vector>

namespace routeplan {
namespace {

constexpr const char* kSetup = "RTP Setup";
constexpr const char* kPointParm2 = "RTP Point Parm2";
constexpr const char* kHomingParm = "RTP Homing Parm";
constexpr const char* kAuxParm = "RTP Auxiliary Parm";
constexpr const char* kDigitalIo = "Digital I/O Parm";

std::string PointSection(int index) {
    return "RTP Point" + std::to_string(index);
}

// One numeric key of the file and the value it holds.
struct NumberKey {
    const char* section;
    const char* key;
    std::int32_t RouteplanValues::*field;
};

const std::vector<NumberKey>& NumberKeys() {
    using V = RouteplanValues;
    static const std::vector<NumberKey> keys = {
        {kPointParm2, "PointAcc_ms", &V::pointAcc},
        {kPointParm2, "PointDec_ms", &V::pointDec},
        {kHomingParm, "Mode", &V::homingMode},
        {kHomingParm, "Offset_pulse", &V::homingOffset},
        {kHomingParm, "Speed_rpm", &V::homingSpeed},
        {kHomingParm, "CreepSpeed_rpm", &V::creepSpeed},
        {kHomingParm, "Acc_ms", &V::homingAcc},
        {kHomingParm, "Dec_ms", &V::homingDec},
        {kHomingParm, "BumpTrq", &V::bumpTorque},
        {kHomingParm, "BumpTime_ms", &V::bumpTime},
        {kHomingParm, "bOffsetSkipGearRatio", &V::offsetSkipGear},
        {kHomingParm, "DI_CombInputDelayTime_ms", &V::diCombineDelay},
        {kAuxParm, "JogSpeed_rpm", &V::jogSpeed},
        {kAuxParm, "JogAcc_ms", &V::jogAcc},
        {kAuxParm, "JogDec_ms", &V::jogDec},
        {kAuxParm, "OnPosDelay_ms", &V::onPosDelay},
        {kAuxParm, "SoftLimitPos_pulse", &V::softLimitPos},
        {kAuxParm, "SoftLimitNeg_pulse", &V::softLimitNeg},
    };
    return keys;
}

std::string Number(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

} // namespace

std::string RtpxText(const RouteplanValues& v) {
    toolbelt::IniDocument doc;
    doc.Set(kSetup, "FileVersion", "0.0.0");
    for (int i = 0; i < kPoints; ++i) {
        const PointValues& point = v.points[i];
        doc.Set(PointSection(i), "Position_pulse", Number(point.position));
        doc.Set(PointSection(i), "Speed_rpm", Number(point.speed));
        // A description cannot span lines in this format.
        std::string description = point.description;
        for (char& c : description)
            if (c == '\r' || c == '\n')
                c = ' ';
        doc.Set(PointSection(i), "Description", description);
    }
    for (const NumberKey& k : NumberKeys())
        doc.Set(k.section, k.key, Number(v.*k.field));
    if (v.diOrigin)
        doc.Set(kDigitalIo, "DI_0_Type", Number(v.diOriginType));
    return doc.Serialize();
}

bool ExportRtpx(const std::string& path, const RouteplanValues& values) {
    return toolbelt::WriteFileAtomically(path, RtpxText(values));
}

RtpxImport ImportRtpx(const std::string& path, RouteplanValues& values) {
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, kRtpxMaxBytes))
        return {RtpxError::Unreadable};
    if (text.find('\0') != std::string::npos)
        return {RtpxError::Binary};
    const toolbelt::IniDocument doc = toolbelt::IniDocument::Parse(text);
    if (const std::size_t line = doc.FirstMalformedLine(); line != 0)
        return {RtpxError::BadLine, line};
    auto has = [&doc](std::string_view section) {
        for (const std::string& name : doc.SectionNames())
            if (toolbelt::EqualsNoCase(name, section))
                return true;
        return false;
    };
    if (!has(kSetup))
        return {RtpxError::NotRtpx};
    auto number = [&doc](std::string_view section, std::string_view key, int fallback) {
        const std::string* value = doc.Find(section, key);
        return value == nullptr ? fallback : knobset::ParseLeadingInt(*value);
    };
    RouteplanValues read = values;
    for (int i = 0; i < kPoints; ++i) {
        const std::string section = PointSection(i);
        read.points[i].position = number(section, "Position_pulse", 0);
        read.points[i].speed = number(section, "Speed_rpm", 0);
        const std::string* description = doc.Find(section, "Description");
        read.points[i].description = description == nullptr ? "" : *description;
    }
    for (const NumberKey& k : NumberKeys())
        read.*k.field = number(k.section, k.key, 0);
    read.diOriginType = read.diOrigin ? number(kDigitalIo, "DI_0_Type", 2) : 0;
    values = std::move(read);
    return {};
}

} // namespace routeplan
