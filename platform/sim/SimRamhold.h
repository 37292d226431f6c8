// A stand-in for the memory-allocation library inside one simulated process:
// it records the calls, and a test decides when a cleaning finishes.
#pragma once
#include <string>
#include <vector>
#include "platform/AllocationLibrary.h"

namespace tidemark::sim {

class SimRamhold final : public platform::AllocationLibrary {
public:
    struct Call {
        std::string name;
        std::int32_t sizeMB = 0, stepBytes = 0, pauseMs = 0;
    };

    void startFastClaim(std::int32_t sizeMB) override;
    void startStepwiseClaim(std::int32_t sizeMB, std::int32_t stepBytes, std::int32_t pauseMs) override;
    std::int32_t fastClaimStatus() override { return missing_ ? 0 : firstFlag_; }
    std::int32_t stepwiseClaimStatus() override { return missing_ ? 0 : slowFlag_; }
    std::int32_t memoryHeldStatus() override { return missing_ ? 0 : memFlag_; }
    void requestBreak() override;
    std::string loadProblem() override { return missing_ ? "Ramhold.dll" : std::string(); }

    // Ends the cleaning under way: claimed and released.
    void finish();
    // The library cannot be loaded: calls do nothing.
    void makeMissing() { missing_ = true; }

    std::vector<Call> calls;
    int breaks = 0;

private:
    bool missing_ = false;
    std::int32_t firstFlag_ = 0, slowFlag_ = 0, memFlag_ = 0;
};

} // namespace tidemark::sim
