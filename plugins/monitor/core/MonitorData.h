// The monitor's items as the description files beside the program list them:
// four groups (Motion, Status, Input, Output) of at most 50 items each, with
// the value names of the Status items and the pin texts of the signals.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace monitor {

constexpr int kMaxItems = 50;
constexpr int kMaxNamedStatusItems = 4; // value names: four blocks of 50
constexpr int kPinTexts = 4;            // one pin name per mode

enum Group : int { kMotion = 0, kStatus = 1, kInput = 2, kOutput = 3, kGroups = 4 };

struct ValueName {
    std::int32_t raw;
    std::string name;
};

// One item of any group; the keys a group does not have keep their defaults.
struct MonitorItem {
    std::string name;
    std::string unit; // Motion: the unit; Output: the extra text
    int address = -1;
    int datasize = -1; // 1 or 2 registers; more: a coil read of that many coils
    int clear = 0;     // non-zero: the item may be cleared
    int offset = -1;
    int scale = -1;
    int type = -1; // Motion display rule
    int number = -1;
    int infoQty = -1;
    std::vector<ValueName> valueNames;         // Status items 1..4
    std::array<std::string, kPinTexts> pins{}; // Input and Output items

    // Shared with the comm thread: the last raw value read, whether one has
    // been read since the files were loaded, and the tick.
    std::atomic<std::int32_t> value{0};
    std::atomic<bool> read{false};
    std::atomic<int> check{0};

    // An item without an address or size is never read.
    bool Readable() const { return address >= 0 && address <= 0xFFFF && datasize >= 1; }
};

struct ItemGroup {
    int count = 0;
    std::array<MonitorItem, kMaxItems> items;
};

struct MonitorItems {
    std::array<ItemGroup, kGroups> groups;
    ItemGroup& operator[](int group) { return groups[group]; }
    const ItemGroup& operator[](int group) const { return groups[group]; }
};

// File names under <app>/Language/Monitor/.
std::string MonitorFolder(const std::string& appDir);

// Loads every description file and the Traditional Chinese value names, as
// at the plug-in's construction. A file without "Setup"/"iQty" (missing,
// malformed) gives an empty group.
void LoadDescriptions(MonitorItems& items, const std::string& appDir);
// One group from one description file (`group` decides which keys are read).
void LoadGroup(ItemGroup& group, Group kind, const std::string& path);
// The value names of the Status items from a value-name file.
void LoadValueNames(ItemGroup& status, const std::string& path);
// The names of a language: Motion<code>.dat (Name, Unit) and Status<code>.dat
// (Name and the value names) of the language's folder. Keys a file does not
// have keep the current texts.
void LoadLanguageNames(MonitorItems& items, const std::string& appDir, const char* code);

} // namespace monitor
