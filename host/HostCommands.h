// Command ids of the host's menu and the string ids of its texts.
#pragma once

#include "ModuleStrings.h"

namespace HostCommand {
constexpr int kConnect = 32776; // Portdesk
constexpr int kKnobset = 32812; // parameter editor
constexpr int kMonitor = 32780;
constexpr int kTracelens = 32779;
constexpr int kProgramJog = 32813; // Nudgepad
constexpr int kGlidebay = 32783;
constexpr int kGainwise = 32814;
constexpr int kRouteplan = 32815;
constexpr int kExit = 57665;
constexpr int kCascade = 57650;
constexpr int kTile = 57651;
constexpr int kArrangeIcons = 57649;
constexpr int kAbout = 57664;
} // namespace HostCommand

// Host string ids beyond the menu texts.
namespace HostString {
constexpr unsigned kReady = 226;        // status bar message pane
constexpr unsigned kAboutLine2 = 227;   // second text line of the about box
constexpr unsigned kAboutOk = 228;      // the about box's button
constexpr unsigned kAboutItem = 229;    // Help > About
constexpr unsigned kAboutVersion = 230; // version line of the about box
} // namespace HostString

// The host's own string resources: the texts shown when no language table is
// loaded or the table has no entry.
extern const ModuleStrings kHostStrings;
