// The parameter editor's drive jobs: read all, transfer all, transfer one
// value with read-back, save to EEPROM and factory reset, for each family.
#pragma once

#include "RegisterLink.h"
#include "SharedContext.h"

#include <atomic>
#include <cstdint>

namespace knobset {

// requestState values; a request state S finishes as S + 1.
enum RequestState : int {
    kIdle = 0,
    kReadAll = 1,
    kReadAllFinish = 2,
    kTranSingle = 5,
    kTranSingleFinish = 6,
    kTransAll = 9,
    kTransAllFinish = 10,
    kWriteEeprom = 11,
    kWriteEepromFinish = 12,
    kFactoryReset = 13,
    kFactoryResetFinish = 14,
};
// Names shown in the busy message, index = state.
const char* RequestStateName(int state);
bool IsRequestState(int state);
bool IsFinishingState(int state);

// requestResult values.
enum RequestResult : int {
    kResultNone = 0,
    kResultPending = 1,
    kResultSuccess = 2,
    kResultFailure = 3,
    kResultMismatch = 5, // the drive holds another value than was written
};

// Command registers: save to EEPROM and reset to factory defaults.
int EepromRegister(int model);
int FactoryResetRegister(int model);

class ParmJobs {
public:
    ParmJobs(ParmStore& store, DriveIdentity& identity) : store_(store), identity_(identity) {}

    // Runs the job of request state `state` on `link`; returns its result.
    int Run(int state, RegisterLink& link);

    int IdentityCheck(RegisterLink& link);
    int ReadAll(RegisterLink& link);     // after the identity check: 2 or 3
    int TransferAll(RegisterLink& link); // after the identity check: 2 or 3
    int SaveEeprom(RegisterLink& link);
    int FactoryReset(RegisterLink& link);
    int SingleTransfer(RegisterLink& link);

    std::atomic<int> progressCount{0};
    int singleAddress = 0;
    int singleValue = 0; // the value to write; afterwards the value read back
    std::uint16_t regBuffer[100]{};

private:
    int Model() const { return store_.iModel.load(); }
    bool ReadAllT5(RegisterLink& link);
    bool ReadAllT8(RegisterLink& link);
    bool TransferAllT5(RegisterLink& link);
    bool TransferAllT8(RegisterLink& link);
    // Writes 1 into a command register and reads it back: -1 on a failed
    // request, else the value read back.
    int Command(RegisterLink& link, int address, int afterWrite, int afterRead);
    bool WriteShaped(RegisterLink& link, int address, std::int32_t value);
    bool ReadShaped(RegisterLink& link, int address, std::int32_t& value);

    ParmStore& store_;
    DriveIdentity& identity_;
};

} // namespace knobset
