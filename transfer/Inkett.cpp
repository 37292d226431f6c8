#include "transfer/Inkett.h"

#include <cctype>
#include <string_view>

#include "platform/WithMessages.h"
#include "shared/events/SuiteEvents.h"
#include "shared/settings/SettingsFiles.h"
#include "shared/system/CommandLine.h"
#include "transfer/SettingsTransfer.h"
#include "transfer/TransferStartup.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {
namespace {

void showError(platform::Platform& p, platform::NativeWindow owner, const char* title, const char* message) {
    platform::MessageRequest r;
    r.owner = owner;
    r.title = title;
    r.text = message;
    r.icon = platform::MessageIcon::Error;
    p.messages.show(r);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The installer service's account, which runs an installer's deferred
// steps (and every step of an install a policy deploys). It is no member of
// any group by name, yet holds every right an administrator has.
constexpr const char* kLocalSystemSid = "S-1-5-18";

// What both runs do once a path is named: who runs it, the path, the import.
// A silent run also admits the installer service's account, and first makes
// sure the file is there, as nobody reads the box that would call a missing
// file a corrupt one.
InkettOutcome importArgument(platform::Platform& p, platform::NativeWindow owner, const std::string& argument,
                             bool silent) {
    const bool installerService = silent && p.accounts.processUserSid() == std::string(kLocalSystemSid);
    if (!installerService && !administratorMayTransfer(p, owner)) return InkettOutcome::NotAllowed;
    const std::string settingsPath = sharedSettingsPath(p.process);
    const std::string path = transferPathArgument(argument);
    if (!hasTransferExtension(path)) {
        showError(p, owner, text::kNotTransferTitle, text::kNotTransferText);
        return InkettOutcome::NotTransferFile;
    }
    // A relative path names a file of the folder Inkett was started in.
    const std::string full = p.files.absolutePath(path);
    if (silent && !p.files.fileExists(full)) {
        showError(p, owner, text::kCorruptTitle, text::kSilentMissing);
        return InkettOutcome::Missing;
    }
    switch (importSettings(p, owner, settingsPath, full)) {
    case TransferOutcome::Done: return InkettOutcome::Imported;
    case TransferOutcome::Refused: return InkettOutcome::NotImported;
    default: return InkettOutcome::Failed;
    }
}

} // namespace

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

int inkettExitCode(InkettOutcome outcome) {
    switch (outcome) {
    case InkettOutcome::Imported: return exitcode::Imported;
    case InkettOutcome::NoArgument: return exitcode::NoArgument;
    case InkettOutcome::NotAllowed: return exitcode::NotAllowed;
    case InkettOutcome::NotTransferFile: return exitcode::NotTransferFile;
    case InkettOutcome::Missing: return exitcode::Missing;
    case InkettOutcome::NotImported: return exitcode::NotImported;
    default: return exitcode::Failed;
    }
}

platform::MessageAnswer UnattendedMessages::show(const platform::MessageRequest& request) {
    using A = platform::MessageAnswer;
    A answer = A::Ok;
    switch (request.buttons) {
    case platform::MessageButtons::YesNo:
    case platform::MessageButtons::YesNoCancel: answer = A::Yes; break;
    case platform::MessageButtons::OkCancel: answer = request.defaultButton == 2 ? A::Cancel : A::Ok; break;
    case platform::MessageButtons::RetryCancel: answer = A::Cancel; break;
    default: break;
    }
    shown_.push_back(request);
    answers_.push_back(answer);
    return answer;
}

std::string UnattendedMessages::detail() const {
    std::string out;
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (!out.empty()) out += text::kCrLf;
        out += "【" + shown_[i].title + "】" + shown_[i].text;
        if (answers_[i] == platform::MessageAnswer::Yes) out += std::string(text::kCrLf) + text::kSilentAnsweredYes;
    }
    return out;
}

std::optional<std::string> silentArgument(const std::string& text) {
    constexpr std::string_view kSwitch = "/silent";
    if (text.size() < kSwitch.size()) return std::nullopt;
    for (std::size_t i = 0; i < kSwitch.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kSwitch[i]) return std::nullopt;
    if (text.size() > kSwitch.size() && !isBlank(text[kSwitch.size()])) return std::nullopt;
    std::size_t begin = kSwitch.size();
    while (begin < text.size() && isBlank(text[begin])) ++begin;
    std::size_t end = text.size();
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

InkettOutcome runInkett(platform::Platform& p, platform::NativeWindow owner) {
    const std::string argument = argumentsOf(p.process.commandLine());
    if (argument.empty()) {
        showError(p, owner, text::kAloneTitle, text::kAloneText);
        return InkettOutcome::NoArgument;
    }
    return importArgument(p, owner, argument, false);
}

InkettOutcome runSilentInkett(platform::Platform& p, const std::string& argument) {
    UnattendedMessages boxes;
    platform::Platform quiet = platform::withMessages(p, boxes);
    InkettOutcome outcome = InkettOutcome::NoArgument;
    std::string file;
    if (argument.empty()) {
        showError(quiet, 0, text::kNotTransferTitle, text::kSilentNoFile);
    } else {
        const std::string path = transferPathArgument(argument);
        file = path.empty() ? path : p.files.absolutePath(path);
        outcome = importArgument(quiet, 0, argument, true);
    }
    if (outcome == InkettOutcome::Imported) events::reportSettingsImported(p.events, file, boxes.detail());
    else events::reportSettingsNotImported(p.events, file, boxes.detail());
    return outcome;
}

} // namespace tidemark::transfer
