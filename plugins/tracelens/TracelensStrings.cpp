#include "TracelensStrings.h"

#include "ScopeRecords.h"

namespace tracelens {

namespace {
const ResString kTexts[] = {
    {kStrTitle, "Scope"},
    {kStrReady, "Ready"},
    {kStrRetry, "Retry"},
    {kStrLineTooSlow, "The line is too slow for streaming: connect at 115200 baud."},
    {kStrSaveWave, "Save Wave"},
    {kStrOpenWave, "Open Wave"},
    {kStrClear, "Clear"},
    {kStrClearEncoder, "22:Encoder data"},
    {kStrClearPosition, "26:Position command"},
    {kStrCannotCreate, kScopeMessageText[kMsgCannotCreate]},
    {kStrFileSaved, kScopeMessageText[kMsgSaved]},
    {kStrCannotOpen, kScopeMessageText[kMsgCannotOpen]},
    {kStrReadSuccess, kScopeMessageText[kMsgReadSuccess]},
    {kStrReadFailed, kScopeMessageText[kMsgReadFailed]},
    {kStrClearComplete, "Clear complete"},
    {kStrClearFailed, "Communication connection failed"},
    {kStrMessage, "Message"},
    {kStrWaveFilter, "Tracelens Comma-Separated Files (*.tcs);;CSV Files (*.csv);;All Files (*)"},
    {kStrExportPng, "Export PNG"},
    {kStrExportCsv, "Export CSV"},
    {kStrPngFilter, "PNG Files (*.png)"},
    {kStrCsvFilter, "CSV Files (*.csv)"},
    {kStrNoPicture, "The chart has not been drawn yet."},
    {kStrWaveGroup, "Wave File"},
    {kStrClearGroup, "Drive Data"},
    {kStrExportGroup, "Export"},
    {kStrInfoGroup, "Information"},
};
} // namespace

VELMORA_MODULE_STRINGS(kTracelensStrings, kTexts);

} // namespace tracelens
