// Inkett: imports the transfer file named on its command line into the
// settings file beside it, then ends. It has no window of its own.
#pragma once
#include <string>
#include "platform/Platform.h"

namespace tidemark::transfer {

enum class InkettOutcome {
    NoArgument,        // started alone: said so, nothing asked
    NotAllowed,        // not an administrator, or the account query failed
    NotTransferFile,   // a path with another extension
    Imported,
    NotImported,       // refused or failed; the import said why
};

// The path the argument text names: the first word by the C runtime's rules
// when it starts with a quote, otherwise the whole text (a path with
// blanks given without quotes).
std::string transferPathArgument(const std::string& argumentText);

// ".vesk", or ".ves" as a short 8.3 name spells it, in any letter case.
bool hasTransferExtension(const std::string& path);

// The program: the argument checked, then the import.
InkettOutcome runInkett(platform::Platform& platform, platform::NativeWindow owner);

} // namespace tidemark::transfer
