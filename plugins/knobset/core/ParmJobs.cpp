#include "ParmJobs.h"

#include "DriveIdentification.h"
#include "ParmTable.h"

#include <cstring>

namespace knobset {
namespace {

std::uint16_t Low(std::int32_t v) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFFu);
}
std::uint16_t High(std::int32_t v) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) >> 16);
}
std::int32_t Join(std::uint16_t low, std::uint16_t high) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low) |
                                     (static_cast<std::uint32_t>(high) << 16));
}

// T8 registers holding 32-bit values as one two-register write.
bool IsT8Wide(int a) {
    return a >= 200 && a <= 230;
}
// T8 registers holding 32-bit values as two separately accessed halves.
bool IsT8Split(int a) {
    return a == 1201 || a == 1217 || a == 1219;
}
// T8 registers that take effect only after 2 is written into register 129.
bool NeedsTakeOver(int a) {
    return (a >= 1200 && a <= 1224) || a == 1226;
}
constexpr int kT8TakeOverRegister = 129;

} // namespace

const char* RequestStateName(int state) {
    static const char* const kNames[] = {"CS_Idle",
                                         "CS_ReadAllParms",
                                         "CS_ReadAllParms_Finish",
                                         "CS_WriteAllParms",
                                         "CS_WriteAllParms_Finish",
                                         "CS_TranSingle_Parm",
                                         "CS_TranSingle_Parm_Finish",
                                         "CS_PatternTest",
                                         "CS_PatternTest_Finish",
                                         "CS_TransAllParms",
                                         "CS_TransAllParms_Finish",
                                         "CS_WriteDrvEEp",
                                         "CS_WriteDrvEEp_Finish",
                                         "CS_FactoryReset",
                                         "CS_FactoryReset_Finish"};
    if (state < 0 || state >= static_cast<int>(sizeof kNames / sizeof kNames[0]))
        return "CS_Unknown";
    return kNames[state];
}

bool IsRequestState(int s) {
    return s == kReadAll || s == kTranSingle || s == kTransAll || s == kWriteEeprom ||
           s == kFactoryReset;
}

bool IsFinishingState(int s) {
    return s == kReadAllFinish || s == kTranSingleFinish || s == kTransAllFinish ||
           s == kWriteEepromFinish || s == kFactoryResetFinish;
}

int EepromRegister(int model) {
    return model == kModelT8 ? 129 : 4225;
}
int FactoryResetRegister(int model) {
    return model == kModelT8 ? 130 : 4226;
}

int ParmJobs::Run(int state, RegisterLink& link) {
    switch (state) {
    case kReadAll:
        return IdentityCheck(link) == kResultSuccess ? ReadAll(link) : kResultFailure;
    case kTranSingle:
        return SingleTransfer(link);
    case kTransAll:
        return IdentityCheck(link) == kResultSuccess ? TransferAll(link) : kResultFailure;
    case kWriteEeprom:
        return SaveEeprom(link);
    case kFactoryReset:
        return FactoryReset(link);
    default:
        return kResultFailure;
    }
}

int ParmJobs::IdentityCheck(RegisterLink& link) {
    char data[256] = {};
    unsigned char capacity = 250;
    if (!link.ReportSlaveID(data, &capacity))
        return kResultFailure;
    StoreIdentification(
        ParseIdentification(reinterpret_cast<const unsigned char*>(data), kIdentificationBytes),
        identity_);
    return kResultSuccess;
}

int ParmJobs::ReadAll(RegisterLink& link) {
    const int model = Model();
    if (!HasTable(model))
        return kResultSuccess;
    const bool ok = model == kModelT8 ? ReadAllT8(link) : ReadAllT5(link);
    return ok ? kResultSuccess : kResultFailure;
}

bool ParmJobs::ReadAllT5(RegisterLink& link) {
    // Every block is read, defined parameters or not: 32 reads of 100.
    for (int g = 0; g < 16; ++g) {
        for (int b = 0; b < 2; ++b) {
            if (!link.ReadRegisters(static_cast<unsigned short>(256 * g + 100 * b), 100, regBuffer))
                return false;
            for (int k = 0; k < 50; ++k) {
                if (ParmRecord* r = FindRecord(store_, 100 * g + 50 * b + k))
                    r->driveValue = r->setupValue = Join(regBuffer[2 * k], regBuffer[2 * k + 1]);
                progressCount.fetch_add(1);
            }
        }
    }
    return true;
}

bool ParmJobs::ReadAllT8(RegisterLink& link) {
    const auto& records = *store_.records;
    for (int j = 0; j < 8; ++j) {
        if (records.size() <= static_cast<std::size_t>(16 * j))
            return false; // a table without this block cannot be read
        const int start = records[static_cast<std::size_t>(16 * j)].address;
        if (!link.ReadRegisters(static_cast<unsigned short>(start), 16, regBuffer))
            return false;
        for (int k = 0; k < 16; ++k) {
            if (ParmRecord* r = FindRecord(store_, 16 * j + k))
                r->driveValue = r->setupValue = static_cast<std::int16_t>(regBuffer[k]);
        }
        progressCount.fetch_add(16);
    }
    return true;
}

int ParmJobs::TransferAll(RegisterLink& link) {
    const int model = Model();
    if (!HasTable(model))
        return kResultSuccess;
    const bool ok = model == kModelT8 ? TransferAllT8(link) : TransferAllT5(link);
    return ok ? kResultSuccess : kResultFailure;
}

bool ParmJobs::TransferAllT5(RegisterLink& link) {
    for (int g = 0; g < 16; ++g) {
        for (int i = 0; i < 100; ++i) {
            const ParmRecord* r = FindRecord(store_, 100 * g + i);
            if (r == nullptr)
                continue;
            regBuffer[0] = Low(r->setupValue);
            regBuffer[1] = High(r->setupValue);
            if (!link.WriteRegisters(static_cast<unsigned short>(256 * g + 2 * i), 2, regBuffer))
                return false;
            progressCount.fetch_add(1);
        }
    }
    return true;
}

bool ParmJobs::TransferAllT8(RegisterLink& link) {
    const auto& records = *store_.records;
    std::uint16_t block[16] = {};
    for (int j = 0; j < 8; ++j) {
        if (records.size() <= static_cast<std::size_t>(16 * j))
            return false;
        for (int k = 0; k < 16; ++k) {
            if (const ParmRecord* r = FindRecord(store_, 16 * j + k))
                block[k] = Low(r->setupValue);
        }
        std::memcpy(regBuffer, block, sizeof block);
        const int start = records[static_cast<std::size_t>(16 * j)].address;
        if (!link.WriteRegisters(static_cast<unsigned short>(start), 16, regBuffer))
            return false;
        progressCount.fetch_add(16);
    }
    return true;
}

int ParmJobs::Command(RegisterLink& link, int address, int afterWrite, int afterRead) {
    progressCount.fetch_add(afterWrite);
    regBuffer[0] = 1;
    if (!link.WriteRegisters(static_cast<unsigned short>(address), 1, regBuffer))
        return -1;
    regBuffer[0] = 0;
    const int read = link.ReadRegisters(static_cast<unsigned short>(address), 1, regBuffer);
    progressCount.fetch_add(afterRead);
    return read ? regBuffer[0] : -1;
}

int ParmJobs::SaveEeprom(RegisterLink& link) {
    if (!HasTable(Model()))
        return kResultFailure;
    const int value = Command(link, EepromRegister(Model()), 0, 1);
    if (value != 1)
        return kResultFailure;
    progressCount.fetch_add(1);
    return kResultSuccess;
}

int ParmJobs::FactoryReset(RegisterLink& link) {
    const int model = Model();
    if (!HasTable(model))
        return kResultFailure;
    const bool t8 = model == kModelT8;
    const int value = Command(link, FactoryResetRegister(model), t8 ? 136 : 1500, t8 ? 16 : 100);
    if (value < 0)
        return kResultFailure;
    if (value != 1)
        return kResultMismatch;
    if (IdentityCheck(link) != kResultSuccess)
        return kResultFailure;
    return ReadAll(link);
}

bool ParmJobs::WriteShaped(RegisterLink& link, int a, std::int32_t v) {
    const auto address = static_cast<unsigned short>(a);
    regBuffer[0] = Low(v);
    regBuffer[1] = High(v);
    if (Model() != kModelT8 || IsT8Wide(a))
        return link.WriteRegisters(address, 2, regBuffer) != 0;
    if (IsT8Split(a)) {
        std::uint16_t high = regBuffer[1];
        return link.WriteRegisters(address, 1, regBuffer) &&
               link.WriteRegisters(static_cast<unsigned short>(a + 1), 1, &high);
    }
    return link.WriteRegisters(address, 1, regBuffer) != 0;
}

bool ParmJobs::ReadShaped(RegisterLink& link, int a, std::int32_t& value) {
    const auto address = static_cast<unsigned short>(a);
    regBuffer[0] = regBuffer[1] = 0;
    if (Model() != kModelT8 || IsT8Wide(a)) {
        if (!link.ReadRegisters(address, 2, regBuffer))
            return false;
        value = Join(regBuffer[0], regBuffer[1]);
        return true;
    }
    if (IsT8Split(a)) {
        if (!link.ReadRegisters(address, 1, regBuffer) ||
            !link.ReadRegisters(static_cast<unsigned short>(a + 1), 1, regBuffer + 1))
            return false;
        value = Join(regBuffer[0], regBuffer[1]);
        return true;
    }
    if (!link.ReadRegisters(address, 1, regBuffer))
        return false;
    // A 16-bit register holds a signed value, as read all takes it.
    value = static_cast<std::int16_t>(regBuffer[0]);
    return true;
}

int ParmJobs::SingleTransfer(RegisterLink& link) {
    const int a = singleAddress;
    const std::int32_t v = singleValue;
    bool written = WriteShaped(link, a, v);
    if (written && Model() == kModelT8 && NeedsTakeOver(a)) {
        std::uint16_t takeOver = 2;
        written = link.WriteRegisters(kT8TakeOverRegister, 1, &takeOver) != 0;
    }
    if (!written)
        return kResultFailure;
    std::int32_t read = 0;
    if (!ReadShaped(link, a, read))
        return kResultFailure;
    singleValue = read;
    return read == v ? kResultSuccess : kResultMismatch;
}

} // namespace knobset
