#include "StandaloneContext.h"

#include <cstring>

namespace tracelens {

StandaloneContext::StandaloneContext() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        ctx_.slot[slot] = reinterpret_cast<std::intptr_t>(&ints_[slot]);
    ctx_.slot[kComHandle] = reinterpret_cast<std::intptr_t>(&handle_);
    for (int owner = 0; owner < kLinkClaims; ++owner)
        ctx_.slot[kLinkClaim0 + owner] = reinterpret_cast<std::intptr_t>(&claims_[owner]);
    for (int slot = kLanguage0; slot < int(kLanguageApplied0) + int(kLanguageOwners); ++slot)
        ctx_.slot[slot] = 0;
    ctx_.slot[kScopeRequest] = reinterpret_cast<std::intptr_t>(&scopeRequest_);
    ctx_.slot[kCommDcb] = reinterpret_cast<std::intptr_t>(&dcb_);
    ctx_.slot[kParmStore] = reinterpret_cast<std::intptr_t>(&parms_);
    ctx_.slot[kDriveIdentity] = reinterpret_cast<std::intptr_t>(&identity_);
    ctx_.slot[kOfflineIdentity] = reinterpret_cast<std::intptr_t>(&offlineIdentity_);
    ctx_.slot[kAppDir] = reinterpret_cast<std::intptr_t>(&appDir_);
    ctx_.slot[kTitle] = reinterpret_cast<std::intptr_t>(&title_);
    ctx_.slot[kAppIcon] = 0;
    ctx_.Int(kSlaveId) = 1;
    ctx_.Int(kRetryTimes) = 3;
    ctx_.Int(kRetryInterval) = 20;
    ctx_.Int(kOnline) = 1;
    ctx_.Int(kWaitWriteTime) = 1;
    ctx_.Int(kPreCountQueTimes) = 400;
}

void StandaloneContext::PublishPort(HANDLE port, int comPort, const DCB& dcb) {
    std::memcpy(dcb_.bytes, &dcb, sizeof dcb);
    ctx_.Int(kComPort) = comPort;
    handle_.store(port, std::memory_order_release);
}

} // namespace tracelens
