// Jobsmith: list, delete or add Task Scheduler tasks, chosen by the number of
// command-line words, in the manner of the AT command.
#pragma once
#include <string>
#include <vector>
#include "jobtool/core/HResult.h"
#include "jobtool/core/JobConsole.h"
#include "jobtool/core/TaskScheduler.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

namespace tidemark::jobtool {

struct JobsmithServices {
    TaskSchedulerFactory& schedulers;
    JobConsole& console;
    platform::Clock& clock;
    platform::MessageBoxes& messages;
};

// Longest word of each position, in UTF-16 units (the buffers less their
// terminating zero). Word 0, the program name, only shows in texts.
inline constexpr std::size_t kMaxTaskName = 254;
inline constexpr std::size_t kMaxTimeWord = 31;
inline constexpr std::size_t kMaxComment = 254;
inline constexpr std::size_t kMaxPath = 254;
inline constexpr std::size_t kMaxParameters = 254;
inline constexpr std::size_t kMaxUserName = 63;
inline constexpr std::size_t kMaxPassword = 127;

// A /SOON task starts at the next minute, or the one after when fewer than
// this many seconds are left before it.
inline constexpr int kSoonMinimumLeadSeconds = 5;

// words[0] is the program name. Returns the exit code.
HResult runJobsmith(const std::vector<std::string>& words, JobsmithServices& services);

} // namespace tidemark::jobtool
