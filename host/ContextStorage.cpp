#include "ContextStorage.h"

#include <algorithm>

struct ContextStorage::Values {
    SharedHandle comHandle{0};
    SharedInt ints[kSlotCount]{}; // one int per int slot, at the slot's own index
    DriveIdentity identity;
    DriveIdentity offlineIdentity;
    std::string appDir;
    std::string title;
    LinkClaim claims[kLinkClaims];
    ScopeRequestBlock scopeRequest;
    CommDcbBlock dcb;
    std::vector<ParmRecord> records;
    std::vector<ParmAuxRecordA> auxA;
    std::vector<ParmAuxRecordB> auxB;
    std::int32_t recordIndex[ParmStore::kIndexSize];
};

namespace {

// Slots whose value is an int behind the slot's pointer.
constexpr int kIntSlots[] = {
    kComPort,      kSlaveId,      kRetryTimes,    kRetryInterval, kPreWaitTime,   kLinkFound,
    kCloseRequest, kBusyFlags,    kSuspendExtern, kDriveTraffic,  kOnline,        kMenuEnable,
    kFrameWidth,   kFrameHeight,  kVersionSelect, kReserved39,    kWaitWriteTime, kPreCountQueTimes,
    kJogSpdSlow,   kJogSpdMedium, kJogSpdFast,    kJogTimeout};

template <class T>
std::intptr_t Address(T& value) {
    return reinterpret_cast<std::intptr_t>(&value);
}

} // namespace

ContextStorage::ContextStorage() : values_(std::make_unique<Values>()) {}

ContextStorage::~ContextStorage() = default;

void ContextStorage::CreateParmStore(const ModuleHandle* hostModule) {
    parms_ = std::make_unique<ParmStore>();
    parms_->hostModule = hostModule;
    parms_->records = &values_->records;
    parms_->auxA = &values_->auxA;
    parms_->auxB = &values_->auxB;
    std::fill(std::begin(values_->recordIndex), std::end(values_->recordIndex), -1);
    parms_->recordIndex = values_->recordIndex;
}

void ContextStorage::Fill(const HostConfig& config, const std::string& appDir,
                          const QIcon* appIcon) {
    Values& v = *values_;
    for (int index : kIntSlots)
        ctx_.slot[index] = Address(v.ints[index]);
    ctx_.slot[kComHandle] = Address(v.comHandle);
    ctx_.slot[kParmStore] = parms_ ? Address(*parms_) : 0;
    ctx_.slot[kDriveIdentity] = Address(v.identity);
    ctx_.slot[kOfflineIdentity] = Address(v.offlineIdentity);
    v.appDir = appDir;
    ctx_.slot[kAppDir] = Address(v.appDir);
    v.title = config.title;
    ctx_.slot[kTitle] = Address(v.title);
    ctx_.slot[kAppIcon] = reinterpret_cast<std::intptr_t>(appIcon);
    for (int i = 0; i < kLinkClaims; ++i)
        ctx_.slot[kLinkClaim0 + i] = Address(v.claims[i]);
    ctx_.slot[kScopeRequest] = Address(v.scopeRequest);
    ctx_.slot[kCommDcb] = Address(v.dcb);

    v.ints[kComPort] = config.comPort;
    v.ints[kSlaveId] = config.slaveId;
    v.ints[kRetryTimes] = config.retryTimes;
    v.ints[kRetryInterval] = config.retryIntervalMs;
    v.ints[kPreWaitTime] = config.preWaitTimeMs;
    v.ints[kLinkFound] = 0;
    v.ints[kCloseRequest] = 0;
    v.ints[kBusyFlags] = 0;
    v.ints[kSuspendExtern] = 0;
    v.ints[kOnline] = 1;
    v.ints[kMenuEnable] = MenuEnableFlags::kConnect;
    v.ints[kFrameWidth] = 500;
    v.ints[kFrameHeight] = 500;
    v.ints[kReserved39] = 1;
    v.ints[kWaitWriteTime] = config.waitWriteTime;
    v.ints[kPreCountQueTimes] = config.preCountQueTimes;
    v.ints[kJogSpdSlow] = config.jogSpeedSlow;
    v.ints[kJogSpdMedium] = config.jogSpeedMedium;
    v.ints[kJogSpdFast] = config.jogSpeedFast;
    v.ints[kJogTimeout] = config.jogTimeout;
    for (int owner = 0; owner < kLanguageOwners; ++owner) {
        ctx_.SetLanguage(owner, config.language);
        ctx_.SetLanguageApplied(owner, 0);
    }
}

HostConfigWriteBack ContextStorage::RememberedValues() {
    const Values& v = *values_;
    return {v.ints[kComPort].load(),       v.ints[kSlaveId].load(),     v.ints[kRetryTimes].load(),
            v.ints[kRetryInterval].load(), v.ints[kPreWaitTime].load(), ctx_.Language(kLangHost)};
}
