// A simulated machine with one logged-on user and a program running as that
// user: the common starting point of host tests.
#pragma once
#include <gtest/gtest.h>

#include "platform/sim/SimMachine.h"
#include "platform/sim/SimProcess.h"

namespace tidemark::testing {

inline constexpr const char* kAliceSid = "S-1-5-21-1004336348-1177238915-682003330-1001";
inline constexpr const char* kBobSid = "S-1-5-21-1004336348-1177238915-682003330-1002";

class SimFixture : public ::testing::Test {
protected:
    SimFixture() {
        machine.addUser("alice", kAliceSid, {"Administrators", "Users"});
        machine.addUser("bob", kBobSid, {"Users"});
        machine.logOn("alice");
    }
    sim::SimMachine machine;
    sim::SimProcess alice{machine, "alice"};
};

} // namespace tidemark::testing
