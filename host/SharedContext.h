// The one record the host shares with its plug-ins. The host fills it once at
// start-up, before the first plug-in is loaded, and hands its address to every
// plug-in's CreateDLLDocTemplate; afterwards only the values behind the slots
// change. Plug-ins address the slots by number, so the numbers below are the
// contract between host and plug-ins: never reorder them.
//
// Two threads read and write the ints behind the slots without locks (the UI
// thread's window timers and the comm thread's plug-in entries), so every int
// is a lock-free 32-bit atomic. Slots 19-36 hold their ints in the slot itself.
//
// Every plug-in includes this header and nothing else of the host.
#pragma once

#include "ModuleStrings.h"

#include <atomic>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

class QIcon;

using SharedInt = std::atomic<std::int32_t>;
static_assert(sizeof(SharedInt) == 4 && SharedInt::is_always_lock_free,
              "shared ints are plain 32-bit words, so the comm thread can sleep on one");
static_assert(sizeof(SharedInt) == 4 && SharedInt::is_always_lock_free);

// The published serial-port handle, a pointer-sized word (0 = none).
using SharedHandle = std::atomic<std::intptr_t>;

enum SharedSlot : int {
    kComHandle = 0,         // SharedHandle: the port opened by Portdesk's search
    kComPort = 1,           // int: COM number (1..256)
    kSlaveId = 2,           // int: Modbus slave address; plug-ins use the low byte
    kRetryTimes = 3,        // int
    kRetryInterval = 4,     // int: milliseconds
    kPreWaitTime = 5,       // int: milliseconds of pause before every write
    kLinkFound = 6,         // int
    kCloseRequest = 7,      // int: 1 = the user closes while a plug-in is busy
    kBusyFlags = 8,         // int: BusyFlags bits
    kSuspendExtern = 9,     // int: non-zero = the comm thread calls only CommLoop
    kParmStore = 10,        // ParmStore
    kDriveIdentity = 11,    // DriveIdentity
    kOfflineIdentity = 12,  // DriveIdentity
    kDriveTraffic = 13,     // int: raised by every request sent to the drive
    kOnline = 14,           // int: 1 on-line, 0 off-line parameter editing
    kAppDir = 15,           // const std::string: start-up directory
    kMenuEnable = 16,       // int: MenuEnableFlags bits
    kFrameWidth = 17,       // int: main-frame client width
    kFrameHeight = 18,      // int: main-frame client height
    kLanguage0 = 19,        // 19..27: language id per owner, held in the slot
    kLanguageApplied0 = 28, // 28..36: language id each owner last applied
    kVersionSelect = 37,    // int
    kAppIcon = 38,          // const QIcon (may be null)
    kReserved39 = 39,       // int
    kTitle = 40,            // const std::string: application title
    kLinkClaim0 = 41,       // 41..47: LinkClaim per owner
    kScopeRequest = 48,     // ScopeRequestBlock
    kWaitWriteTime = 49,    // int
    kPreCountQueTimes = 50, // int
    kJogSpdSlow = 51,       // int, percent, at most 100
    kJogSpdMedium = 52,     // int
    kJogSpdFast = 53,       // int
    kJogTimeout = 54,       // int
    kCommDcb = 55,          // CommDcbBlock
    kSlotCount = 56
};

// Owners of the language slots (index added to kLanguage0/kLanguageApplied0).
enum LanguageOwner : int {
    kLangHost = 0,
    kLangPortdesk = 1,
    kLangKnobset = 2,
    kLangTracelens = 3,
    kLangMonitor = 4,
    kLangOwner5 = 5,
    kLangOwner6 = 6,
    kLangGainwise = 7,
    kLangRouteplan = 8,
    kLanguageOwners = 9
};

// Language ids, which are also the command ids of the Language menu.
enum LanguageId : int {
    kLanguageEnglish = 1000,
    kLanguageTraditional = 1001,
    kLanguageSimplified = 1002
};

// The folder and file code of a language id; null for any other id.
inline const char* LanguageCode(int languageId) {
    switch (languageId) {
    case kLanguageEnglish:
        return "ENG";
    case kLanguageTraditional:
        return "CHT";
    case kLanguageSimplified:
        return "CHS";
    default:
        return nullptr;
    }
}

// A module's language table: appDir/Language/<module>/<code>/<code>.lng; only
// the language folder for an id without a code (such a path opens nothing).
inline std::string LanguageTablePath(const std::string& appDir, const char* module,
                                     int languageId) {
    std::string path = appDir + "/Language/" + module + "/";
    if (const char* code = LanguageCode(languageId))
        path += std::string(code) + "/" + code + ".lng";
    return path;
}

// Owners of the link claims (index added to kLinkClaim0).
enum LinkClaimOwner : int {
    kClaimKnobset = 0,
    kClaimMonitor = 1,
    kClaimTracelens = 2,
    kClaimOwner3 = 3,
    kClaimOwner4 = 4,
    kClaimGainwise = 5,
    kClaimRouteplan = 6,
    kLinkClaims = 7
};

// One plug-in's turn-taking record on the shared link.
struct LinkClaim {
    SharedInt iState{0};  // 0 idle, 1 the owner's cyclic job uses the link, 2 stopped on request
    SharedInt iDemand{0}; // 1 while the owner waits for its turn
    SharedInt iYieldRequest{0}; // 1 asks the owner's job to stop
};

// The scope plug-in's request words; the host reads words 35 and 36 only.
struct ScopeRequestBlock {
    static constexpr int kWords = 42;
    static constexpr int kOpenRequest = 35; // raised by whoever wants a scope window
    static constexpr int kOpenServed = 36;  // copied from word 35 once the window opened
    SharedInt word[kWords]{};
};

// The serial format of the port found by the search: the 28 bytes of a DCB.
// Portdesk writes it before it publishes the handle (a release store), and a
// plug-in copies it after it has read a new handle (an acquire load), so the
// copy never sees a half-written block.
struct CommDcbBlock {
    static constexpr std::size_t kSize = 28;
    unsigned char bytes[kSize]{};
};

// Eight identity texts of the drive (element 1 version text, 2 model tag,
// 3 parameter-table id, 4 product code, 6 "w:" byte, 7 firmware version).
// Written by Portdesk from either thread, read by every plug-in from either
// thread: each text is copied under a lock so no reader sees a torn string.
class DriveIdentity {
public:
    static constexpr int kTexts = 8;
    std::string Get(int index) const {
        std::lock_guard lock(mutex_);
        return text_[index];
    }
    void Set(int index, std::string value) {
        std::lock_guard lock(mutex_);
        text_[index] = std::move(value);
    }

private:
    mutable std::mutex mutex_;
    std::string text_[kTexts];
};

// One parameter of the drive's parameter table (filled by the parameter editor).
struct ParmRecord {
    std::int32_t number = 0;
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t defaultValue = 0;
    std::string name;
    std::string unit;
    std::int32_t exponent = 0;
    std::int32_t attributes = 0;
    std::int32_t mode = 127;
    std::int32_t address = 0;
    std::int32_t spareInt = 0;
    std::string spareText;
    std::int32_t driveValue = 0;
    std::int32_t setupValue = 0;
    std::string cmt;
    std::string items[20];
};

// Records the host creates and frees for plug-ins that are not delivered.
struct ParmAuxRecordA {
    std::string text;
    std::int32_t values[4]{};
};
struct ParmAuxRecordB {
    std::string text;
    std::int32_t values[3]{};
};

// The parameter table and the drive model, owned by the host.
struct ParmStore {
    static constexpr int kIndexSize = 1600;
    const ModuleHandle* hostModule = nullptr;
    std::vector<ParmRecord>* records = nullptr;
    std::vector<ParmAuxRecordA>* auxA = nullptr;
    std::vector<ParmAuxRecordB>* auxB = nullptr;
    std::int32_t* recordIndex = nullptr; // kIndexSize entries, -1 = no record
    SharedInt iModel{0};                 // 0 T5, 1 W5, 2 T8, 3 "vq"
    std::int32_t exportMode = 0;         // the parameter editor's export choice
};

// Drive models of ParmStore::iModel.
enum DriveModel : int { kModelT5 = 0, kModelW5 = 1, kModelT8 = 2, kModelVq = 3 };

// Bits of *piBusyFlags.
namespace BusyFlags {
constexpr int kBusy = 0x1;     // closing must wait
constexpr int kFinished = 0x2; // closing may go on
} // namespace BusyFlags

// Bits of *piMenuEnable: 1 = the menu item is enabled.
namespace MenuEnableFlags {
constexpr int kConnect = 0x001;
constexpr int kKnobset = 0x004;
constexpr int kOpenEditor = 0x008; // a request, not a menu item
constexpr int kTracelens = 0x010;
constexpr int kMonitor = 0x020;
constexpr int kGlidebay = 0x040;
constexpr int kProgramJog = 0x080;
constexpr int kGainwise = 0x100;
constexpr int kRouteplan = 0x200;
constexpr int kAnyTool = 0x3F4;        // every tool item
constexpr int kDeliveredTools = 0x334; // the tools with a delivered plug-in
constexpr int kLinearTools = 0x0C0;

// A plug-in window opened: its own bit is cleared, and "&Connect" goes grey
// while any tool window is open.
constexpr int AfterOpen(int flags, int ownBit) {
    flags &= ~ownBit;
    if ((flags & kAnyTool) != kAnyTool)
        flags &= ~kConnect;
    return flags;
}

// A plug-in window closed: its own bit is set, and "&Connect" comes back once
// every delivered tool window is closed and the model allows a new search.
constexpr int AfterClose(int flags, int ownBit, int online, int model) {
    flags |= ownBit;
    if ((flags & kDeliveredTools) == kDeliveredTools) {
        if (online == 0)
            flags |= kConnect;
        else if (model == kModelT5 || model == kModelT8)
            flags |= kConnect;
        else if (model == kModelW5 && (flags & kLinearTools) == kLinearTools)
            flags |= kConnect;
    } else if ((flags & kAnyTool) != 0) {
        flags &= ~kConnect;
    }
    return flags;
}
} // namespace MenuEnableFlags

// The record itself: 56 pointer-sized slots.
struct SharedContext {
    std::intptr_t slot[kSlotCount]{};

    template <class T>
    T* At(int index) const {
        return reinterpret_cast<T*>(slot[index]);
    }
    SharedInt& Int(int index) const { return *At<SharedInt>(index); }

    SharedHandle& ComHandle() const { return *At<SharedHandle>(kComHandle); }
    ParmStore& Parms() const { return *At<ParmStore>(kParmStore); }
    DriveIdentity& Identity() const { return *At<DriveIdentity>(kDriveIdentity); }
    DriveIdentity& OfflineIdentity() const { return *At<DriveIdentity>(kOfflineIdentity); }
    const std::string& AppDir() const { return *At<const std::string>(kAppDir); }
    const std::string& Title() const { return *At<const std::string>(kTitle); }
    const QIcon* AppIcon() const { return At<const QIcon>(kAppIcon); }
    LinkClaim& Claim(int owner) const { return *At<LinkClaim>(kLinkClaim0 + owner); }
    ScopeRequestBlock& ScopeRequest() const { return *At<ScopeRequestBlock>(kScopeRequest); }
    CommDcbBlock& CommDcb() const { return *At<CommDcbBlock>(kCommDcb); }

    // The language slots hold their ids in the slot word itself.
    int Language(int owner) { return static_cast<int>(SlotWord(kLanguage0 + owner).load()); }
    void SetLanguage(int owner, int id) { SlotWord(kLanguage0 + owner).store(id); }
    int LanguageApplied(int owner) {
        return static_cast<int>(SlotWord(kLanguageApplied0 + owner).load());
    }
    void SetLanguageApplied(int owner, int id) { SlotWord(kLanguageApplied0 + owner).store(id); }

    // Applies the open or close rule of the menu bits as one atomic update, so
    // a plug-in on the other thread never loses a bit.
    void MenuWindowOpened(int ownBit) const {
        UpdateMenu([ownBit](int f) { return MenuEnableFlags::AfterOpen(f, ownBit); });
    }
    void MenuWindowClosed(int ownBit) const {
        const int online = Int(kOnline).load();
        const int model = Parms().iModel.load();
        UpdateMenu([=](int f) { return MenuEnableFlags::AfterClose(f, ownBit, online, model); });
    }
    template <class Rule>
    void UpdateMenu(Rule rule) const {
        SharedInt& flags = Int(kMenuEnable);
        int old = flags.load();
        while (!flags.compare_exchange_weak(old, rule(old))) {
        }
    }

    // Every request sent to the drive raises this counter; the comm thread
    // pauses briefly after a pass in which it did not move.
    void NoteDriveTraffic() const { Int(kDriveTraffic).fetch_add(1, std::memory_order_relaxed); }

    // A window that posts a request for its plug-in's cycle entry rings the
    // comm thread, which then serves it at once instead of after its pause.
    void RingCommThread() const {
        SharedInt& word = Int(kDriveTraffic);
        word.fetch_add(1, std::memory_order_release);
        ::syscall(SYS_futex, reinterpret_cast<std::int32_t*>(&word), FUTEX_WAKE_PRIVATE, 1,
                  nullptr, nullptr, 0);
    }

private:
    std::atomic_ref<std::intptr_t> SlotWord(int index) {
        return std::atomic_ref<std::intptr_t>(slot[index]);
    }
};
