// One program running on the simulated machine under one account. Its
// platform() is what the program's portable code is given.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include "platform/Platform.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRamhold.h"

namespace tidemark::sim {

class SimProcess {
public:
    // userName must be an account added to the machine (or any name, for a
    // process whose account the machine does not know).
    SimProcess(SimMachine& machine, std::string userName, std::string exeName = "Tidemark.exe",
               std::string arguments = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    platform::Platform& platform() { return *platform_; }
    SimMachine& machine() { return machine_; }
    const std::string& userName() const { return userName_; }

    // Faults to script: the next N calls fail.
    int userNameFailures = 0;
    int groupQueryFailures = 0;
    // The next N group queries return only part of the list (entries read
    // below the total), as a paged answer would.
    int groupQueryPartial = 0;
    bool appDataFails = false;
    bool tokenSidFails = false;
    // The logon session the process runs in: by default one session per
    // account (its place among the machine's users, from 1); a second
    // session of one account is set before the program starts.
    std::uint32_t sessionId = 1;
    bool sessionIdFails = false;
    std::map<std::string, std::string> environment;
    // The session's own time zone, minutes ahead of UTC (a terminal
    // server's user in India: 330); unset, the machine's.
    std::optional<int> timeZone;

    int userNameCalls = 0;
    int groupQueryCalls = 0;

    // This process's copy of the allocation library.
    SimRamhold ramhold;

private:
    struct Adapters;
    friend class SimInstances;
    SimMachine& machine_;
    std::string userName_;
    std::string exePath_;
    std::string commandLine_;
    std::vector<std::string> instanceKeys_;
    std::unique_ptr<Adapters> adapters_;
    std::unique_ptr<platform::Platform> platform_;
};

} // namespace tidemark::sim
