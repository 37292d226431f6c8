#include "transfer/SettingsTransfer.h"

#include <cctype>
#include <optional>
#include <vector>

#include "shared/settings/CodePageText.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/profile/ProfileEngine.h"
#include "transfer/ImportedValues.h"
#include "transfer/TransferFile.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using profile::ProfileEdit;
using profile::ProfileEngine;
using profile::ProfileSection;

namespace key = ini::key;
namespace section = ini::section;

// The memory settings a transfer file carries, in the order they are written.
constexpr const char* kMemoryKeys[] = {key::PhysMemSize,  key::MemCleanExeMemSize, key::MemCleanSize,
                                       key::MemCleanForm, key::ProcWatchSetting,   key::SlowMemCleanSetting};

// The names are ASCII: a name with other bytes never matches.
bool sameName(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

// The value as the read call gives it; nullopt when it reads as nothing.
std::optional<std::string> present(const ProfileSection& s, const char* name) {
    for (const auto& e : s.entries)
        if (sameName(e.name, name)) return e.value.empty() ? std::nullopt : std::optional(e.value);
    return std::nullopt;
}

MessageAnswer show(platform::Platform& p, platform::NativeWindow owner, const std::string& title,
                   const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                   int defaultButton = 1) {
    platform::MessageRequest r;
    r.owner = owner;
    r.title = title;
    r.text = text;
    r.icon = icon;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    return p.messages.show(r);
}

std::optional<std::uint64_t> totalPhysicalMemory(platform::Platform& p) {
    const auto status = p.memory.query();
    if (!status || status->totalPhys == 0) return std::nullopt;
    return status->totalPhys;
}

// The names of values an import leaves out, for one warning.
class SkippedValues {
public:
    void add(const std::string& sectionName, const std::string& keyName) {
        // A hostile name can be any length: the box shows its start.
        constexpr std::size_t kShown = 64;
        std::string shown = keyName;
        if (shown.size() > kShown) {
            std::size_t cut = kShown;
            while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
            shown = shown.substr(0, cut) + "…";
        }
        names_.push_back("[" + sectionName + "] " + shown);
    }
    void warn(platform::Platform& p, platform::NativeWindow owner) const {
        if (names_.empty()) return;
        constexpr std::size_t kListed = 10;
        std::string text = text::kSkippedText;
        for (std::size_t i = 0; i < names_.size() && i < kListed; ++i) text += text::kCrLf + names_[i];
        if (names_.size() > kListed)
            text += text::kCrLf + std::string(text::kSkippedMore1) + std::to_string(names_.size() - kListed) +
                    text::kSkippedMore2;
        show(p, owner, text::kSizeWarningTitle, text, MessageIcon::Exclamation);
    }

private:
    std::vector<std::string> names_;
};

void warnLowered(platform::Platform& p, platform::NativeWindow owner, std::uint64_t largestMB) {
    show(p, owner, text::kSizeWarningTitle,
         text::kSizeWarningText1 + std::to_string(largestMB) + text::kSizeWarningText2, MessageIcon::Error);
}

// Whether two paths name one file, however each is spelled.
bool sameFile(platform::Platform& p, const std::string& a, const std::string& b) {
    std::string x = p.files.canonicalPath(a), y = p.files.canonicalPath(b);
    for (std::string* s : {&x, &y})
        for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return x == y;
}

} // namespace

TransferOutcome exportSettings(platform::Platform& p, platform::NativeWindow owner, const std::string& settingsPath,
                              const std::string& transferPath) {
    ProfileEngine engine(p);
    const ProfileSection memory = engine.readSection(section::AppSettingFlag, settingsPath);
    const ProfileSection list = engine.readSection(section::ExitTrigProcList, settingsPath);
    const auto unreadable = [](const ProfileSection& s) {
        return !s.fileRead && s.error != platform::fileerror::FileNotFound;
    };
    std::vector<ProfileEdit> edits;
    // A transfer file is written afresh: never over the settings themselves.
    bool ok = !unreadable(memory) && !unreadable(list) && !sameFile(p, settingsPath, transferPath);
    for (const char* name : kMemoryKeys) {
        std::optional<std::string> value = present(memory, name);
        if (name == std::string(key::PhysMemSize) && !(value && decimalNumber(*value))) {
            // Without it the file could never be imported: this computer's.
            const auto total = totalPhysicalMemory(p);
            if (!total) ok = false;
            else value = std::to_string(*total);
        }
        if (value) edits.push_back({section::AppSettingFlag, std::string(name), *value});
    }
    for (const auto& entry : list.entries)
        if (!entry.value.empty()) edits.push_back({section::ExitTrigProcList, entry.name, entry.value});

    if (ok) ok = engine.writeAll(edits, transferPath, profile::BatchBase::EmptyFile);
    if (!ok) {
        show(p, owner, text::kExportFailedTitle, text::kExportFailed, MessageIcon::Error);
        return TransferOutcome::Failed;
    }
    show(p, owner, text::kExportTitle, text::kExportDone, MessageIcon::Information);
    return TransferOutcome::Done;
}

TransferOutcome importSettings(platform::Platform& p, platform::NativeWindow owner, const std::string& settingsPath,
                              const std::string& transferPath) {
    ProfileEngine engine(p);
    const std::optional<TransferFileContents> contents = readTransferFile(p, transferPath);
    const ProfileSection memory = contents ? contents->memory : ProfileSection{};
    const auto physText = present(memory, key::PhysMemSize);
    const auto phys = physText ? decimalNumber(*physText) : std::nullopt;
    if (!phys) {
        show(p, owner, text::kCorruptTitle, text::kCorruptText, MessageIcon::Error);
        return TransferOutcome::Refused;
    }
    const auto total = totalPhysicalMemory(p);
    if (!total) {
        show(p, owner, text::kImportFailedTitle, text::kImportFailed, MessageIcon::Error);
        return TransferOutcome::Failed;
    }
    if (*phys != *total &&
        show(p, owner, text::kMemoryWarningTitle, text::kMemoryWarningText, MessageIcon::Error,
             MessageButtons::YesNo, 2) != MessageAnswer::Yes)
        return TransferOutcome::Refused;

    const SizeLimits limits = sizeLimits(*total);
    std::vector<ProfileEdit> edits;
    SkippedValues skipped;
    const auto copy = [&](const char* name, const std::string& value) {
        edits.push_back({section::AppSettingFlag, std::string(name), value});
    };
    if (const auto v = present(memory, key::MemCleanExeMemSize)) {
        if (const auto bytes = decimalNumber(*v)) {
            const Limited t = limitTrigger(*bytes, limits);
            if (t.lowered) warnLowered(p, owner, limits.triggerMB);
            copy(key::MemCleanExeMemSize, t.lowered ? std::to_string(t.value) : *v);
        } else {
            skipped.add(section::AppSettingFlag, key::MemCleanExeMemSize);
        }
    }
    if (const auto v = present(memory, key::MemCleanSize)) {
        if (const auto mb = decimalNumber(*v)) {
            const Limited s = limitCleanSize(*mb, limits);
            if (s.lowered) warnLowered(p, owner, s.value);
            copy(key::MemCleanSize, s.lowered ? std::to_string(s.value) : *v);
        } else {
            skipped.add(section::AppSettingFlag, key::MemCleanSize);
        }
    }
    const struct {
        const char* name;
        bool (*valid)(std::string_view);
    } words[] = {{key::MemCleanForm, isCleaningMode},
                 {key::ProcWatchSetting, isTrueOrFalse},
                 {key::SlowMemCleanSetting, isSlowCleaningSetting}};
    for (const auto& w : words) {
        if (const auto v = present(memory, w.name)) {
            if (w.valid(*v)) copy(w.name, *v);
            else skipped.add(section::AppSettingFlag, w.name);
        }
    }

    bool listCopied = false;
    for (const auto& entry : contents->list.entries) {
        // The names the watch-list window refuses, and values no write takes.
        if (!profile::isWritableKeyName(entry.name) || isRefusedWatchName(entry.name) ||
            !ansi::convertsExactly(p.codePage, entry.name) || entry.value.find('\0') != std::string::npos) {
            skipped.add(section::ExitTrigProcList, entry.name);
            continue;
        }
        // The path only shows the program's icon: one the file cannot hold
        // is left out rather than stored changed.
        edits.push_back({section::ExitTrigProcList, entry.name,
                         ansi::convertsExactly(p.codePage, entry.value) ? entry.value : std::string()});
        listCopied = true;
    }
    // After the list, so that a running monitor that sees the flag finds
    // the whole list.
    if (listCopied) copy(key::STMCProcReplaceFlag, ini::word::True);

    skipped.warn(p, owner);
    if (!edits.empty() && !engine.writeAll(edits, settingsPath)) {
        show(p, owner, text::kImportFailedTitle, text::kImportFailed, MessageIcon::Error);
        return TransferOutcome::Failed;
    }
    show(p, owner, text::kImportTitle, text::kImportDone, MessageIcon::Information);
    return TransferOutcome::Done;
}

} // namespace tidemark::transfer
