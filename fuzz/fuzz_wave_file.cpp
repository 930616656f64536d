// The scope's wave-file reader fed arbitrary text: the header always gives
// numbers, the body never more records than wanted, and a file written from
// what was read reads back the same.
#include "FuzzInput.h"
#include "WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tracelens;
    FuzzInput in(data, size);
    const long wanted = static_cast<long>(in.Word() % 3002);
    const std::string text = in.RestText();
    const WaveHeader header = ReadWaveHeader(text);
    std::vector<SampleRow> rows;
    const WaveBody body = ReadWaveSamples(text, wanted, rows);
    if (rows.size() > static_cast<std::size_t>(wanted) ||
        (body == WaveBody::Complete) !=
            (rows.size() == static_cast<std::size_t>(wanted) && body != WaveBody::NoStart))
        __builtin_trap();
    const std::string again = FormatWaveFile(rows, header.setup, {}, "2026-01-01 00:00:00");
    std::vector<SampleRow> reread;
    if (ReadWaveSamples(again, static_cast<long>(rows.size()), reread) != WaveBody::Complete ||
        reread != rows || ReadWaveHeader(again).setup.code != header.setup.code)
        __builtin_trap();
    return 0;
}
