// Who the shared settings file names as the memory-cleaner right's holder:
// a copy of the monitor (an account's SID and the logon session it runs in),
// or the system-start account. One account may run a copy in each of its
// sessions, so the account alone does not say which copy holds the right.
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "shared/ProgramState.h"
#include "shared/profile/ProfileEngine.h"
#include "shared/settings/SettingsFiles.h"

namespace tidemark {

struct RightHolder {
    std::string sid;       // "MemCleanRightUser": a SID, "NoUser", "SystemStartAdministrators" or empty
    std::string session;   // "MemCleanRightSession": empty in files written before it existed

    bool nobody() const;
};

// nullopt when the file could not be read.
std::optional<RightHolder> readRightHolder(SettingsFiles& files);

// The holder is this copy: its account and, where the file records one, its
// session.
bool namesThisCopy(const RightHolder& holder, const ProgramState& state);
// The holder is this account in another session: another logged-on copy.
bool namesOtherSessionOfThisAccount(const RightHolder& holder, const ProgramState& state);

// What a conditional write expects to find for the holder read.
std::vector<profile::ExpectedValue> holderStillNamed(const RightHolder& holder);
// The edits that name this copy as the holder.
std::vector<profile::ProfileEdit> nameThisCopy(const ProgramState& state);

} // namespace tidemark
