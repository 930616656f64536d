#include "ScopeCsv.h"

#include <cstdio>
#include <string>

namespace tracelens {

void WriteScopeCsv(std::ostream& csv, const std::vector<CsvColumn>& columns,
                   const std::vector<SampleRow>& rows, double msPerSample, bool tenths) {
    csv << "time_ms";
    for (const CsvColumn& c : columns) {
        csv << ",\"";
        for (char ch : c.title)
            csv << (ch == '"' ? "\"\"" : std::string(1, ch)); // a quote is doubled
        csv << "\"";
    }
    csv << "\n";
    char time[32];
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::snprintf(time, sizeof time, tenths ? "%.1f" : "%.0f", double(i) * msPerSample);
        csv << time;
        for (const CsvColumn& c : columns)
            csv << "," << rows[i][static_cast<std::size_t>(c.channel)];
        csv << "\n";
    }
}

} // namespace tracelens
