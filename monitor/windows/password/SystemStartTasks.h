// The two scheduled tasks of the system-start registration and the Jobsmith
// runs that delete and create them: the password test (Corvid "PassTest",
// once, soon) and the system start (Cascada "RUN" at every system start),
// both under the logged-on account. The password goes to Jobsmith on its
// standard input, never on its command line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Accounts.h"
#include "platform/Platform.h"

namespace tidemark::monitor::systemstart {

struct TaskRow {
    const char* name;
    const char* when;
    const char* comment;
    const char* program;      // a file beside Tidemark
    const char* parameters;
};

inline constexpr TaskRow kTestTask{"Quillon Kestrel Soon Start Task.job", "/SOON", "Quillon Program Auto Set Task !!",
                                   "Corvid.exe", "PassTest"};
inline constexpr TaskRow kSystemStartTask{"Quillon Kestrel SYSTEM Start Task.job", "/SYS",
                                          "Quillon Program Auto Set Task !! App Start CASCADA", "Cascada.exe", "RUN"};

// Jobsmith keeps at most this many UTF-16 units of a password: the boxes
// take no more, so that a password is never cut.
inline constexpr std::size_t kMaxPassword = 127;
// The password goes to Jobsmith in UTF-8 after its byte-order mark, which
// Jobsmith reads as such (code page 932 without one): the password typed is
// the password registered, whatever its characters.
inline constexpr std::uint32_t kJobsmithCodePage = 65001;

// Jobsmith's answers that mean a task is gone.
inline constexpr std::uint32_t kJobsmithDone = 0;
inline constexpr std::uint32_t kJobsmithNotFound = 0x80070002;
inline bool deleted(std::uint32_t exitCode) { return exitCode == kJobsmithDone || exitCode == kJobsmithNotFound; }

// The delete form: the task name quoted, then /DELETE.
std::string deleteParameters(const TaskRow& task);
// The add form of six words (the password follows on standard input):
// task name, time word, comment, the program's full path in quotes (so that
// the scheduler never splits it at a blank), parameters, account.
std::string addParameters(const TaskRow& task, const std::string& folder, const std::string& account);

// The account as the system knows it: "DOMAIN\user" for an account of a
// domain, so that the task does not go to a local account of the same name;
// the plain name for a local account (logged on by this machine itself) or
// when the workstation does not say.
std::string taskAccount(const std::optional<platform::WorkstationUserInfo>& workstation,
                        const std::string& logonName);

// Overwrites the text's characters, then empties it.
void wipe(std::string& text);

// Text wiped from memory when it is replaced or goes: the password. Never
// copied or moved, so that no second buffer keeps it.
class SecretText {
public:
    SecretText() = default;
    ~SecretText() { wipe(text_); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    // Takes the text over and wipes the given string.
    void take(std::string& text) {
        wipe(text_);
        text_.assign(text);
        systemstart::wipe(text);
    }
    void clear() { wipe(text_); }
    const std::string& get() const { return text_; }

private:
    std::string text_;
};

} // namespace tidemark::monitor::systemstart
