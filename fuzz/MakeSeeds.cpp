// Writes a small seed corpus for each fuzz harness: well-formed replies and
// frames, so the fuzzer starts from inputs that reach the deep branches.
#include "ModbusCrc.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes frame) {
    frame.resize(frame.size() + 2);
    wirelay::AppendModbusCrc(frame.data(), frame.size());
    return frame;
}

void Write(const std::filesystem::path& dir, const char* name, const Bytes& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes Join(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::filesystem::path root = argv[1];
    // Modbus: function selector, count (2 bytes), capacity, stray count, reply.
    const auto modbus = root / "fuzz_modbus_replies";
    Write(modbus, "read_coils", Join({0, 0, 10, 0, 0}, WithCrc({1, 1, 2, 0xCD, 0x01})));
    Write(modbus, "write_coils", Join({1, 0, 10, 0, 1, 0x41}, WithCrc({1, 0x0F, 0, 0, 0, 10})));
    Write(modbus, "read_regs", Join({2, 0, 2, 0, 0}, WithCrc({1, 3, 4, 0x12, 0x34, 0xAB, 0xCD})));
    Write(modbus, "write_regs", Join({3, 0, 2, 0, 0}, WithCrc({1, 0x10, 0, 0, 0, 2})));
    Write(modbus, "ident",
          Join({4, 0, 0, 8, 0}, WithCrc({1, 0x11, 6, 0xB4, 0xFF, 'T', '5', 'v', '2'})));
    Write(modbus, "exception", Join({2, 0, 2, 0, 0}, WithCrc({1, 0x83, 2})));
    // Sample frames: mode, then (piece length, piece) pairs.
    const auto frames = root / "fuzz_sample_frames";
    Write(frames, "v3",
          {0x05, 12, 0x11, 0xC6, 1, 2, 3, 4, 5, 6, 7, 8, 0xEA, 0xC6, 6, 1, 2, 3, 4, 5, 6});
    Bytes v2 = WithCrc({0xC5, 0xA8, 0x12, 0x34, 0x56, 0x78, 0x9A});
    Write(frames, "v2", Join({0x25, 9}, v2));
    Write(frames, "block", {0x45, 8, 0x77, 0x12, 0x34, 0xAB, 0xCD, 0x9E, 0, 0});
    // Extractor: address, length (2 bytes, +20), then (piece length, piece).
    Write(root / "fuzz_mb_extract", "frame",
          Join({1, 0, 27, 0, 9}, Join({0x55}, WithCrc({1, 3, 2, 0, 0x2A}))));
    // Service and controller link: operation, parameter, length of the part
    // sent with the request, that part, then the part sent at the first pause.
    const auto link = root / "fuzz_link_replies";
    Write(link, "read_parm", {0, 7, 8, 6, 0, 3, 0x12, 0x34, 0x56, 0x78, 0xCF});
    Write(link, "save_parm_late", {1, 5, 1, 0x15, 6, 0, 0x15, 0x15});
    Write(link, "batch", {6, 1, 9, 6, 0, 5, 0, 0, 3, 0xE8, 1, 0xF1});
    Write(link, "bits", Join({0x80, 3, 11}, {2, '0', '0', 'F', 'F', '1', '0', '1', 3, '8', '1'}));
    Write(link, "words",
          Join({0x81, 1, 12}, {2, '0', '0', 'F', 'F', '1', '2', 'A', 'B', 3, 'E', 'C'}));
    Write(link, "ack", {0x82, 9, 5, 6, '0', '0', 'F', 'F'});
    return 0;
}
