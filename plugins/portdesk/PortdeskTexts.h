// Portdesk's numbered texts (compiled-in defaults) and the texts the window
// builds from them: list entries and messages.
#pragma once

#include "ModuleStrings.h"
#include "TextTemplate.h"

#include <initializer_list>
#include <string>
#include <variant>

namespace PortdeskString {
enum : unsigned {
    kTabOnline = 200,
    kTabOffline = 201,
    kFrameOnline = 202,
    kLabelPort = 203,
    kAutoSearch = 204,
    kLabelFormat = 205,
    kLabelId = 207,
    kButtonConnect = 208,
    kButtonOk = 209,
    kButtonCancel = 210,
    kFrameOffline = 211,
    kLabelVersion = 212,
    kConnected = 213,
    kIdentificationFailed = 214,
    kSearchStopped = 215,
    kAskStopSearch = 216,
    kBusy = 217,
    kTitle = 218,
    kCaption = 219,
    kFoundBody = 220,
    kNoDevice = 221,
    kNotPresent = 222,
    kCommFailedHelp = 223,
    kByPathEntry = 224,
    kByPathLabel = 225,
    kPermissionHelp = 226
};
} // namespace PortdeskString

// The module's string resources.
extern const ModuleStrings kPortdeskStrings;

// Shown when no drive answered, in every language.
inline constexpr const char* kCommFailedText = "通訊失敗";

// The drive versions of the Off-Line page.
inline constexpr const char* kVersionNames[3] = {"Rotary(T5)", "Linear(W5)", "Rotary(T8)"};

// "N, 1", "N, 2", "E, 1" or "O, 1" of a serial-format index.
const char* FramingText(int format);
// Entry i (0..15) of the format list: "  0:  19200, 8, N, 1", entry 3 "[3]: 115200, 8, N, 1".
std::string FormatListEntry(int format);
// "COM 3", "ID 7".
std::string PortListEntry(int port);
std::string IdListEntry(int address);
// "CS_Idle", "CS_ReadVersion", "CS_ReadVersion_Finish", else empty.
const char* CommStepName(int step);
