#include "GainwiseMailbox.h"

#include "GainRegisters.h"

#include <chrono>
#include <thread>
#include <utility>

namespace gainwise {
namespace {

constexpr unsigned short kServoCoil = 38;
constexpr unsigned short kPatternRegister = 145;
constexpr auto kResultReadPause = std::chrono::milliseconds(50);

} // namespace

const char* StateName(int state) {
    static const char* const kNames[] = {"CS_Idle",
                                         "CS_ServoOn",
                                         "CS_ServoOn_Finish",
                                         "CS_ServoOff",
                                         "CS_ServoOff_Finish",
                                         "CS_TransAllParms",
                                         "CS_TransAllParms_Finish",
                                         "CS_WriteDrvEEp",
                                         "CS_WriteDrvEEp_Finish",
                                         "CS_Execute",
                                         "CS_Execute_Finish",
                                         "CS_ReadSingle_Parm",
                                         "CS_ReadSingle_Parm_Finish",
                                         "CS_CheckServoOn_Status",
                                         "CS_CheckServoOn_Status_Finish"};
    return state >= 0 && state < static_cast<int>(std::size(kNames)) ? kNames[state] : "";
}

bool Mailbox::Post(int command, int arg) {
    std::lock_guard guard(lock);
    if (newCommand != 0 || resultCode != kIdle)
        return false;
    posted = command;
    argument = arg;
    newCommand = 1;
    resultCode = command; // in flight until the completion replaces it
    result = kResultNone;
    return true;
}

bool Mailbox::Busy() {
    std::lock_guard guard(lock);
    return newCommand != 0 || resultCode != kIdle;
}

std::optional<Mailbox::Answer> Mailbox::TakeAnswer() {
    std::lock_guard guard(lock);
    if (resultCode == kIdle || resultCode % 2 != 0)
        return std::nullopt;
    Answer answer{resultCode, result};
    resultCode = kIdle;
    result = kResultNone;
    return answer;
}

void Mailbox::SetPattern(int p) {
    std::lock_guard guard(lock);
    pattern = p;
}

void Mailbox::SetValues(const GainValues& v) {
    std::lock_guard guard(lock);
    values = v;
}

int Mailbox::ServoState() {
    std::lock_guard guard(lock);
    return servoState;
}

bool Mailbox::ServoWasAlreadyOn() {
    std::lock_guard guard(lock);
    return servoAlreadyOn != 0;
}

int Mailbox::InertiaRatio() {
    std::lock_guard guard(lock);
    return inertiaRatio;
}

void Mailbox::SetLinkDemand(int demand) {
    std::lock_guard guard(demandLock_);
    linkDemand_ = demand;
}

int Mailbox::LinkDemand() {
    std::lock_guard guard(demandLock_);
    return linkDemand_;
}

bool Mailbox::TakeYieldNote() {
    std::lock_guard guard(demandLock_);
    return std::exchange(yieldNote_, 0) != 0;
}

void Mailbox::NoteYield() {
    std::lock_guard guard(demandLock_);
    yieldNote_ = 1;
}

void Mailbox::PickUp(int& current) {
    if (!lock.try_lock())
        return; // a lost race only delays the command one cycle
    if (newCommand != 0) {
        current = posted;
        newCommand = 0;
    }
    lock.unlock();
}

bool Mailbox::Publish(int code, int value) {
    if (!lock.try_lock())
        return false;
    resultCode = code;
    result = value;
    lock.unlock();
    SetLinkDemand(0);
    return true;
}

bool GainwiseCycle::Run(SharedContext& ctx) {
    if (current_ == kIdle)
        mailbox_.PickUp(current_);

    LinkClaim& own = ctx.Claim(kClaimGainwise);
    auto othersWith = [&ctx](auto test) {
        for (int owner = 0; owner < kLinkClaims; ++owner)
            if (owner != kClaimGainwise && test(ctx.Claim(owner)))
                return true;
        return false;
    };
    own.iDemand.store(mailbox_.LinkDemand());
    if (own.iState.load() == 1 && othersWith([](LinkClaim& c) { return c.iDemand.load() == 1; }))
        own.iYieldRequest.store(1);
    if (othersWith([](LinkClaim& c) { return c.iState.load() == 1; }))
        return false;

    bool ran = false;
    if (current_ % 2 == 1) {
        if (current_ != kTransAllParms)
            own.iState.store(1);
        currentResult_ = Execute(ctx, current_) ? kResultSuccess : kResultFailure;
        ++current_;
        ran = true;
    }
    if (own.iYieldRequest.load() == 1) {
        own.iYieldRequest.store(0);
        own.iState.store(0);
        mailbox_.NoteYield();
    }
    if (current_ != kIdle && current_ % 2 == 0 && mailbox_.Publish(current_, currentResult_))
        current_ = kIdle;
    return ran;
}

int GainwiseCycle::Execute(SharedContext& ctx, int command) {
    const int model = ctx.Parms().iModel.load();
    switch (command) {
    case kServoOn:
        return ServoOn();
    case kServoOff: {
        unsigned char off = 0;
        return link_.WriteCoils(kServoCoil, 1, &off) != 0;
    }
    case kTransAllParms:
        return TransferAll(model);
    case kWriteDrvEEp:
        return SaveToEeprom(ctx, model);
    case kExecute: {
        int pattern;
        {
            std::lock_guard guard(mailbox_.lock);
            pattern = mailbox_.pattern;
        }
        auto word = static_cast<unsigned short>(pattern + 1);
        return link_.WriteRegisters(kPatternRegister, 1, &word) != 0;
    }
    case kReadSingleParm:
        return ReadResult(model);
    case kCheckServoOnStatus: {
        unsigned char coil = 0;
        if (link_.ReadCoils(kServoCoil, 1, &coil) == 0)
            return false;
        std::lock_guard guard(mailbox_.lock);
        mailbox_.servoState = coil & 1;
        return true;
    }
    default:
        return false;
    }
}

bool GainwiseCycle::ServoOn() {
    unsigned char coil = 0;
    if (link_.ReadCoils(kServoCoil, 1, &coil) == 0)
        return false;
    const bool alreadyOn = (coil & 1) != 0;
    {
        std::lock_guard guard(mailbox_.lock);
        mailbox_.servoAlreadyOn = alreadyOn ? 1 : 0;
    }
    if (!alreadyOn) {
        unsigned char on = 0xFF;
        if (link_.WriteCoils(kServoCoil, 1, &on) == 0)
            return false;
    }
    std::lock_guard guard(mailbox_.lock);
    mailbox_.servoState = 1;
    return true;
}

bool GainwiseCycle::TransferAll(int model) {
    const auto map = RegistersFor(model);
    if (!map)
        return false;
    GainValues values;
    {
        std::lock_guard guard(mailbox_.lock);
        values = mailbox_.values;
    }
    for (int p = 0; p < kGainParms; ++p) {
        const auto value = static_cast<std::uint32_t>(values[p]);
        unsigned short words[2] = {static_cast<unsigned short>(value & 0xFFFF),
                                   static_cast<unsigned short>(value >> 16)};
        if (link_.WriteRegisters(map->address[p], 2, words) == 0)
            return false;
    }
    return true;
}

bool GainwiseCycle::SaveToEeprom(SharedContext& ctx, int model) {
    const auto map = RegistersFor(model);
    if (!map)
        return false;
    CModbus& m = link_.Master();
    const unsigned long waitWrite = m.GetWaitWriteTime(), polls = m.GetPreCountQueTimes();
    const unsigned long retries = m.GetRetryTimes(), interval = m.GetRetryInterval();
    m.SetWaitWriteTime(static_cast<unsigned long>(ctx.Int(kWaitWriteTime).load()));
    m.SetPreCountQueTimes(static_cast<unsigned long>(ctx.Int(kPreCountQueTimes).load()));
    m.SetRetryTimes(0);
    m.SetRetryInterval(0);
    unsigned short save = 1, readBack = 0;
    const bool ok = link_.WriteRegisters(map->eepromSave, 1, &save) != 0 &&
                    link_.ReadRegisters(map->eepromSave, 1, &readBack) != 0 && readBack == 1;
    m.SetWaitWriteTime(waitWrite);
    m.SetPreCountQueTimes(polls);
    m.SetRetryTimes(retries);
    m.SetRetryInterval(interval);
    return ok;
}

bool GainwiseCycle::ReadResult(int model) {
    const auto map = RegistersFor(model);
    if (!map)
        return false;
    unsigned short state = 0;
    link_.ReadRegisters(kPatternRegister, 1, &state);
    std::this_thread::sleep_for(kResultReadPause);
    // The T8 keeps the ratio in one register, T5/W5 in two (low word first).
    const unsigned short words = model == kModelT8 ? 1 : 2;
    unsigned short value[2] = {0, 0};
    if (link_.ReadRegisters(map->address[kPr004], words, value) == 0)
        return false;
    std::lock_guard guard(mailbox_.lock);
    mailbox_.inertiaRatio = static_cast<std::int32_t>(std::uint32_t(value[1]) << 16 | value[0]);
    return true;
}

} // namespace gainwise
