#include "HostCommands.h"

namespace {

const ResString kTexts[] = {
    {200, "File(&F)"},
    {201, "Parameter(&P)"},
    {202, "Monitor(&M)"},
    {203, "Trace(&T)"},
    {204, "Windows(&W)"},
    {205, "Language(&L)"},
    {206, "Help(&H)"},
    {207, "&Connect"},
    {208, "E&xit"},
    {209, "Parameter &Editor....."},
    {210, "&Monitor..."},
    {211, "&Tracelens..."},
    {212, "Cascade(&C)"},
    {213, "Tile(&T)"},
    {214, "Arrange Icons(&A)"},
    {215, "English"},
    {216, "Traditional Chinese"},
    {217, "Simplified Chinese"},
    {218, "Glidebay(&M)"},
    {219, "&Glidebay..."},
    {220, "Test Run(&R)"},
    {221, "Program Jog(&P)..."},
    {222, "Gainwise(&U)"},
    {223, "&Tunning..."},
    {224, "Routeplan(&I)"},
    {225, "&DIO..."},
    {226, "Ready"},
    {227, "Servo drive commissioning and diagnosis"},
    {228, "OK"},
    {229, "&About Velmora-utility..."},
    {230, "Version %s, built %s"},
};

} // namespace

VELMORA_MODULE_STRINGS(kHostStrings, kTexts);
