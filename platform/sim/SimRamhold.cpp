#include "platform/sim/SimRamhold.h"

namespace tidemark::sim {

void SimRamhold::startFastClaim(std::int32_t sizeMB) {
    if (missing_) return;
    calls.push_back({"MallocFirst", sizeMB, 0, 0});
    firstFlag_ = 1;
    memFlag_ = 1;
}

void SimRamhold::startStepwiseClaim(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) {
    if (missing_) return;
    calls.push_back({"MallocSlow", sizeMB, stepBytes, pauseMs});
    slowFlag_ = platform::slowstatus::Claiming;
    memFlag_ = 1;
}

void SimRamhold::requestBreak() {
    if (missing_) return;
    ++breaks;
    if (slowFlag_ == platform::slowstatus::Claiming) {
        slowFlag_ = platform::slowstatus::Interrupted;
        memFlag_ = 0;
    }
}

void SimRamhold::finish() {
    if (firstFlag_ == 1) firstFlag_ = 0;
    if (slowFlag_ == platform::slowstatus::Claiming) slowFlag_ = platform::slowstatus::Succeeded;
    memFlag_ = 0;
}

} // namespace tidemark::sim
