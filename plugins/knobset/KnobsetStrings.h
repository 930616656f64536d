// The editor's string ids and its compiled-in English texts (the language
// tables in Language/Knobset/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"
#include "TextTemplate.h"

#include <initializer_list>
#include <string>

namespace knobset {

enum StringId : unsigned {
    kStrSourcePrompt = 200,
    kStrSourceFile = 201,
    kStrSourceDefault = 202,
    kStrReading = 203,
    kStrReadOk = 204,
    kStrReadFailed = 205,
    kStrTitleOnline = 206,
    kStrTitleOffline = 207,
    kStrTransferOk = 208,
    kStrTransferFailed = 209,
    kStrEepromOk = 210,
    kStrEepromFailed = 211,
    kStrTransferring = 213,
    kStrEepromConfirm = 214,
    kStrResetConfirm = 215,
    kStrWritingEeprom = 216,
    kStrInitializing = 217,
    kStrResetOk = 218,
    kStrResetFailed = 219,
    kStrResetRefused = 220,
    kStrCaption = 223,
    kStrUnsupported = 224,
    kStrPath = 225,
    kStrActiveVersion = 226,
    kStrInitializeCaption = 227,
    kStrButtonFirst = 228, // 228..240 buttons and frames
    kStrTabFirst = 241,    // 241..251 group tabs
    kStrColumnFirst = 252, // 252..258 list columns
    kStrConfirm = 259,
    kStrCancel = 260,
    kStrUnit = 271,
    kStrSetupLabel = 272,
    kStrSetupButton = 273,
    kStrNoParameter = 274,
    kStrSelectTitle = 275,
    kStrComm = 276,
    kStrEditTitle = 277,
    kStrEditNeedsRead = 278,
    kStrWrongVersion = 283,
    kStrFile1 = 284,
    kStrFile2 = 285,
    kStrFileNotSelected = 288,
    kStrConnectionSoftware = 289,
    kStrCannotCompare = 290,
    kStrCheckLimit = 291,
    kStrRetryRefresh = 292,
    kStrNotCsv = 300,
    kStrNotValueFile = 301,
    kStrExportPage = 303,
    kStrCompareFiles = 304,
    kStrModifiedOnly = 305,
    kStrFileSaved = 306,
    kStrCannotCreate = 307,
    kStrRange = 308,
    kStrDefault = 309,
    kStrRebootNote = 310,
    kStrOutOfRange = 311,
    kStrMessage = 312,
    kStrBusy = 313,
    kStrComment = 314,
    kStrUnsavedChanges = 315,
    kStrDiffersFromDrive = 316,
    kStrFind = 317,
    kStrFindHint = 318,
};

extern const ModuleStrings kKnobsetStrings;

// The file dialogs' filters.
inline constexpr const char* kValueDialogFilter = "Tunewright Files (*.tw);;All Files (*)";
inline constexpr const char* kCsvDialogFilter = "CSV Files (*.csv);;All Files (*)";

} // namespace knobset
