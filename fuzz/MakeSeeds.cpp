// Writes a small seed corpus for each fuzz harness: well-formed replies,
// frames and files, so the fuzzer starts from inputs that reach the deep branches.
#include "HexFrames.h" // the tests' frames and CRC

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

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

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A length word and a piece of text, as FuzzInput::Piece reads it.
Bytes Piece(const std::string& text) {
    Bytes piece{static_cast<std::uint8_t>(text.size() >> 8),
                static_cast<std::uint8_t>(text.size())};
    return Join(piece, Text(text));
}

// The file readers: well-formed files of each kind behind their control bytes.
void WriteFileSeeds(const std::filesystem::path& root) {
    const std::string ini =
        "; settings\r\n[Link]\r\niPort1COM = 3\r\nname=\"quoted\"\r\n[Empty]\r\n";
    Write(root / "fuzz_profile", "update",
          Join(Join({64}, Piece("Link")), Join(Piece("iPort1COM"), Join(Piece(" 4 "), Text(ini)))));
    Write(root / "fuzz_profile", "new",
          Join(Join({8}, Piece("New")), Join(Piece("k"), Join(Piece("v"), Text(ini)))));
    Write(root / "fuzz_string_table", "table",
          Join({0, 212, 1},
               Text("preamble\n[StringTable]\n212=Cascade(&C)\n1=a\\tb\\r\\n\n;c\n[End]\n2=x\n")));
    Write(root / "fuzz_section_file", "par",
          Join({0, 105},
               Join(Piece("min"), Text("[Pr105]\nmin = 5\nname= blank\n; note\n[Pr000]\nE1=2\n"))));
    const std::string tw =
        "[Setup]\nFileVersion=0.0.2\nTypeCap=t5\nDrvVer1=hq_417\n[Pr000]\nV=-1\ncmt=first\n"
        "[Pr13]\nAddress=0x0e\nV=7\ncmt=\xA4\xA4\xA4\xE5\n[Pr1512]\nV=3\n";
    Write(root / "fuzz_value_file", "t5", Join({0, 0}, Text(tw)));
    Write(root / "fuzz_value_file", "t8_big5", Join({2, 1}, Text(tw)));
    Write(root / "fuzz_parm_table", "t5",
          Join({0},
               Join(Piece("[Pr000]\nmin=0\nmax=9\ndefault=1\nreserved=0\ncmt=x\n[Pr105]\nmin=-5\n"),
                    Text("[Pr000]\nname=Mode\nitem0=a\nitem1=b\n"))));
    Write(
        root / "fuzz_parm_table", "t8",
        Join(
            {2},
            Join(Piece(
                     "[Pr000]\nAddress=0\nmin=0\nmax=9\nreserved=0\nDio=1\n[Pr167]\nAddress=230\n"),
                 Text("[Pr000]\nname=Mode\n"))));
    Write(
        root / "fuzz_wave_file", "wave",
        Join({0, 2}, Text("Sample size,2\nSample start, CHA, CHB, CHC, CHD\n0,1,-2,3,4\n1,5,6,7,8\n"
                          "Sample end\n[Info]\nDate=2026-12-07 05:41:00\nSize=2\n[Setup]\n"
                          "FileVersion=0.0.1\nTimeBase_ms_Div=7\nTimeBase_EnHiSamp=1\nCHA_ID=22\n"
                          "CHA_DivSel=9\n")));
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
    WriteFileSeeds(root);
    return 0;
}
