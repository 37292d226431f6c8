// Inkett: imports the transfer file named on its command line into the
// settings file beside it, then ends. It has no window of its own.
//
// "Inkett.exe /silent <file>" (the switch in any letter case) imports
// without any box: the boxes an import would show become the detail of an
// event ("Tidemark" source, 1300 imported or 1301 not imported) and the
// outcome is the exit code (inkettExitCode). Installers run it this way.
#pragma once
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark::transfer {

enum class InkettOutcome {
    NoArgument,        // started alone: said so, nothing asked
    NotAllowed,        // not an administrator, or the account query failed
    NotTransferFile,   // a path with another extension
    Imported,
    NotImported,       // refused (a corrupt file, No to the memory warning); the import said why
    Failed,            // the settings or the memory size could not be read or written
    Missing,           // (silent) no file at that path
};

// The exit code of a silent run: 0 imported, otherwise one per reason (an
// interactive run ends with 0 or 1).
namespace exitcode {
inline constexpr int Imported = 0;
inline constexpr int NoArgument = 2;
inline constexpr int NotAllowed = 3;
inline constexpr int NotTransferFile = 4;
inline constexpr int Missing = 5;
inline constexpr int NotImported = 6;
inline constexpr int Failed = 7;
} // namespace exitcode
int inkettExitCode(InkettOutcome outcome);

// Message boxes for a run nobody watches: nothing is shown; every box is
// kept for the report and answered as an unattended import must be. The one
// question an import asks (go on with a file saved on a computer of another
// memory size?) is answered Yes: the file's memory size is never imported
// and its trigger and size are held at this computer's limits, so a
// company's file applies to every computer it is deployed to. A retry is
// cancelled (nobody is there to mend the cause); any other box gets its
// default button.
class UnattendedMessages final : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(const platform::MessageRequest& request) override;
    // Every box as "【title】text", one after the other, with the answer
    // given to a question.
    std::string detail() const;
    const std::vector<platform::MessageRequest>& shown() const { return shown_; }

private:
    std::vector<platform::MessageRequest> shown_;
    std::vector<platform::MessageAnswer> answers_;
};

// The argument text after a leading "/silent" switch; nullopt when the
// text does not start with it.
std::optional<std::string> silentArgument(const std::string& argumentText);

// The path the argument text names: the first word by the C runtime's rules
// when it starts with a quote, otherwise the whole text (a path with
// blanks given without quotes).
std::string transferPathArgument(const std::string& argumentText);

// ".vesk", or ".ves" as a short 8.3 name spells it, in any letter case.
bool hasTransferExtension(const std::string& path);

// The program: the argument checked, then the import.
InkettOutcome runInkett(platform::Platform& platform, platform::NativeWindow owner);

// The silent program: the path argument (as after the switch) checked, then
// the import, its boxes kept in UnattendedMessages and reported as one event.
InkettOutcome runSilentInkett(platform::Platform& platform, const std::string& argumentText);

} // namespace tidemark::transfer
