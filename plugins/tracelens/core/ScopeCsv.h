// The CSV of recorded samples, shared by `velmora-cli scope` and the scope
// window's "Export CSV": a header `time_ms,"name (unit)",...`, then one row per
// sample with its time in ms and one value per column.
#pragma once

#include "ScopeRecords.h"

#include <ostream>
#include <string>
#include <vector>

namespace tracelens {

struct CsvColumn {
    std::string title; // "name (unit)"
    int channel;       // A..D = 0..3
};

// `tenths` writes the time with one decimal (High Sample blocks).
void WriteScopeCsv(std::ostream& csv, const std::vector<CsvColumn>& columns,
                   const std::vector<SampleRow>& rows, double msPerSample, bool tenths);

} // namespace tracelens
