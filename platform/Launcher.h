// Starting other programs.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include "platform/Display.h"

namespace tidemark::platform {

namespace showcmd {
inline constexpr int Hide = 0;
inline constexpr int Normal = 1;
inline constexpr int Minimized = 2;
inline constexpr int MinimizedNoActivate = 7;   // minimised, the focus stays where it is
} // namespace showcmd

// A program started for its result: polled, never waited on, so that the
// window that started it keeps working.
class RunningProgram {
public:
    virtual ~RunningProgram() = default;
    // nullopt while the program runs; then its exit code.
    virtual std::optional<std::uint32_t> exitCode() = 0;
    // Ends a program that is still running, with this exit code: a run
    // given up (too long, or cancelled) is never left behind.
    virtual void end(std::uint32_t code) = 0;
};

struct StartedProgram {
    std::intptr_t result = 0;                 // as shellExecute answers
    std::unique_ptr<RunningProgram> program;  // null when it did not start
};

class Launcher {
public:
    virtual ~Launcher() = default;
    // As the shell's execute call: a value above 32 means success, smaller
    // values are the shell's error codes (2 = file not found).
    virtual std::intptr_t shellExecute(NativeWindow owner, const std::string& verb,
                                       const std::string& file, const std::string& parameters,
                                       const std::string& directory, int showCommand) = 0;
    // The same start, then waits up to timeoutMs for the started program to
    // end (nothing to wait for when the shell handed the file to a program
    // already running). Returns the start's answer as above.
    virtual std::intptr_t shellExecuteAndWait(NativeWindow owner, const std::string& verb, const std::string& file,
                                              const std::string& parameters, const std::string& directory,
                                              int showCommand, std::uint32_t timeoutMs) = 0;
    // The same start, returning at once with the started program to poll.
    virtual StartedProgram startProgram(NativeWindow owner, const std::string& file, const std::string& parameters,
                                        int showCommand) = 0;
    // Starts the program at the full path file (not quoted, never searched
    // for: it is the application name, apart from the command line) with
    // the parameters after its quoted name, returning at once. Its standard
    // input is a pipe: input, when not empty, is written to it in the code
    // page given (65001: UTF-8 after its byte-order mark) with a line end,
    // then the pipe is closed, so that a secret
    // reaches the program without being on its command line, which every
    // user of the machine can read. Every buffer that held the input is
    // wiped once it is written.
    virtual StartedProgram startProgramWithInput(const std::string& file, const std::string& parameters,
                                                 int showCommand, const std::string& input,
                                                 std::uint32_t inputCodePage) = 0;
};

} // namespace tidemark::platform
