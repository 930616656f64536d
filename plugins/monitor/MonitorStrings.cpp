#include "MonitorStrings.h"

namespace monitor {
namespace {

const ResString kTexts[] = {
    {200, "Monitor"},
    {201, "Motion Monitor"},
    {202, "Status Monitor"},
    {203, "Input Signal Monitor"},
    {204, "Output Signal Monitor"},
    {205, "Select All"},
    {206, "Cancel All"},
    {207, "Open com"},
    {208, "Stop com"},
    {209, "No."},
    {210, "Item"},
    {211, "Unit"},
    {212, "Value"},
    {213, "Pin"},
    {214, "Function"},
    {215, "State"},
    {216, "ON"},
    {217, "OFF"},
    {218, "Monitoring stopped: another tool needs the link."},
    {219, "Off-line: connect a drive to monitor it."},
    {230, "Clear"},
    {231, "Pos Mode"},
    {232, "Spd Mode"},
    {233, "Rpm Mode"},
    {234, "Rpm Mode"},
    {235, "Tor Mode"},
};

} // namespace

VELMORA_MODULE_STRINGS(kMonitorStrings, kTexts);

} // namespace monitor
