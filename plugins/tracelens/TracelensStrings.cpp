#include "TracelensStrings.h"

namespace tracelens {

namespace {
const ResString kTexts[] = {
    {kStrTitle, "Scope"},
    {kStrReady, "Ready"},
    {kStrRetry, "Retry"},
    {kStrLineTooSlow, "The line is too slow for streaming: connect at 115200 baud."},
};
} // namespace

VELMORA_MODULE_STRINGS(kTracelensStrings, kTexts);

} // namespace tracelens
