// Export of the memory settings and the process watch list into a transfer
// file (Stowel), and import of one into the settings file (Stowel and
// Inkett). Both files go through the settings engine; each is
// written in one replace, so a failure leaves it as it was.
#pragma once
#include <string>
#include "platform/Platform.h"

namespace tidemark::transfer {

enum class TransferOutcome {
    Done,      // written, and the closing information box shown
    Refused,   // a corrupt file, or No to the memory warning: nothing written
    Failed,    // a read or write failed: the failure box shown, nothing written
};

// A fresh transfer file holding the memory settings (with
// PhysMemSize always: the stored value, else this computer's total) and
// every watched process with a path.
TransferOutcome exportSettings(platform::Platform& platform, platform::NativeWindow owner,
                              const std::string& settingsPath, const std::string& transferPath);

// The transfer file's values, checked, held at this
// computer's limits, and written to the settings file together with
// STMCProcReplaceFlag when a watched process came with them.
TransferOutcome importSettings(platform::Platform& platform, platform::NativeWindow owner,
                              const std::string& settingsPath, const std::string& transferPath);

} // namespace tidemark::transfer
