#include "transfer/Inkett.h"

#include <cctype>

#include "shared/settings/SettingsFiles.h"
#include "shared/system/CommandLine.h"
#include "transfer/SettingsTransfer.h"
#include "transfer/TransferStartup.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {

std::string transferPathArgument(const std::string& text) {
    if (!text.empty() && text.front() == '"') {
        const auto words = splitArguments(text);
        return words.empty() ? std::string() : words.front();
    }
    return text;
}

bool hasTransferExtension(const std::string& path) {
    if (path.size() < 4) return false;
    std::string last = path.substr(path.size() - 4);
    for (char& c : last) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return last == "vesk" || last == ".ves";
}

InkettOutcome runInkett(platform::Platform& p, platform::NativeWindow owner) {
    const auto box = [&](const char* title, const char* message) {
        platform::MessageRequest r;
        r.owner = owner;
        r.title = title;
        r.text = message;
        r.icon = platform::MessageIcon::Error;
        p.messages.show(r);
    };
    const std::string argument = argumentsOf(p.process.commandLine());
    if (argument.empty()) {
        box(text::kAloneTitle, text::kAloneText);
        return InkettOutcome::NoArgument;
    }
    if (!administratorMayTransfer(p, owner)) return InkettOutcome::NotAllowed;
    const std::string settingsPath = sharedSettingsPath(p.process);
    const std::string path = transferPathArgument(argument);
    if (!hasTransferExtension(path)) {
        box(text::kNotTransferTitle, text::kNotTransferText);
        return InkettOutcome::NotTransferFile;
    }
    // A relative path names a file of the folder Inkett was started in.
    const TransferOutcome outcome = importSettings(p, owner, settingsPath, p.files.absolutePath(path));
    return outcome == TransferOutcome::Done ? InkettOutcome::Imported : InkettOutcome::NotImported;
}

} // namespace tidemark::transfer
