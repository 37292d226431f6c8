#include "monitor/core/MemoryCleaner.h"

#include <algorithm>
#include <limits>

#include "monitor/core/CleanerRight.h"
#include "monitor/core/CleaningReport.h"
#include "monitor/core/MonitorSettings.h"
#include "shared/accounts/ProfileScan.h"
#include "shared/cleaner/ProcessWatch.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/system/NumberText.h"

namespace tidemark::monitor::cleaning {
namespace {

using platform::MessageIcon;
namespace key = ini::key;
namespace section = ini::section;

constexpr const char* kNoRightCaption = "メモリクリーナ実行権はありません";

// The trigger when none is stored: a third of physical memory, kept
// between 50 MB and 128 MB.
std::int64_t defaultTrigger(const MonitorState& s) {
    return cleaner::defaultTrigger(s.memory.totalBytes, cleaner::TriggerDefault::Between50And128MB);
}

void reportRamholdProblem(MonitorContext& c) {
    if (c.state.ramholdProblemShown) return;
    const std::string problem = c.platform.ramhold.loadProblem();
    if (problem.empty()) return;
    c.state.ramholdProblemShown = true;
    const auto colon = problem.find(':');
    const std::string text =
        colon == std::string::npos
            ? "メモリー確保ライブラリ「" + problem + "」を読み込めませんでした。\r\nメモリークリーナーは実行されません。"
            : "メモリー確保ライブラリ「" + problem.substr(0, colon) + "」に関数「" + problem.substr(colon + 1) +
                  "」がありません。\r\nメモリークリーナーは実行されません。";
    c.message(text, MessageIcon::Error);
}

} // namespace

void refreshMemoryStatus(MonitorContext& c) {
    MonitorState& s = c.state;
    const auto m = c.platform.memory.query();
    if (m) {
        s.memory.loadPercent = static_cast<std::int16_t>(std::min<std::uint32_t>(m->memoryLoad, 100));
        s.memory.totalBytes = m->totalPhys;
        s.memory.availBytes = m->availPhys;
        s.memory.totalKB = m->totalPhys / 1024;
        s.memory.availKB = m->availPhys / 1024;
    }
    c.ui.setText(StatusWindow::Simple, StatusControl::MemoryLoad, std::to_string(s.memory.loadPercent) + " %");
    c.ui.setText(StatusWindow::Simple, StatusControl::TotalMemory, groupedDigits(s.memory.totalKB) + " KB");
    c.ui.setText(StatusWindow::Simple, StatusControl::FreeMemory, groupedDigits(s.memory.availKB) + " KB");
    c.ui.setTooltip(StatusWindow::Graph, StatusControl::Graph,
                    "総物理メモリー " + groupedDigits(s.memory.totalKB) + " KB / " + "メモリー使用率 " +
                        std::to_string(s.memory.loadPercent) + " %");
}

void readSettings(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.settings.sharedWritable) return;
    s.cleaner.readBusy = true;
    const auto total = static_cast<std::int64_t>(std::min<std::uint64_t>(s.memory.totalBytes, INT64_MAX));

    const std::optional<cleaner::CleanerSettings> read = cleaner::readCleanerSettings(
        c.platform, s, s.memory.totalBytes, cleaner::TriggerDefault::Between50And128MB);
    const std::optional<std::string> physRead = readSharedIfReadable(c, section::AppSettingFlag, key::PhysMemSize);
    if (!read || !physRead) {
        // Nothing learnt: the values stay as they were, and values never
        // read are never written back.
        s.cleaner.readBusy = false;
        return;
    }
    const cleaner::CleanerSettings& stored = *read;
    s.cleaner.triggerBytes = stored.trigger;
    s.cleaner.sizeMB = stored.sizeMB;
    s.cleaner.mode = stored.mode;
    s.cleaner.slowPauseMs = stored.slowPause;
    s.cleaner.slowStepBytes = stored.slowStep;

    // A changed amount of physical memory makes the stored values suspect.
    const std::string& phys = *physRead;
    if (!phys.empty() && leadingNumber(phys).value_or(-1) != total) {
        const bool admin = runsAsAdministrator(c);
        if (admin) {
            c.message("物理メモリーが変更された可能性があります\rメモリークリーナーの設定をやり直してください",
                      MessageIcon::Error);
        } else if (!s.cleaner.physMemWarned) {
            c.message("物理メモリーが変更された可能性があります\r管理者に連絡し、メモリークリーナーの設定をやり直してください\r"
                      "正式に設定されるまでプログラムが設定した値が代入されます",
                      MessageIcon::Error);
            s.cleaner.physMemWarned = true;
        }
        s.cleaner.triggerBytes = defaultTrigger(s);
        s.cleaner.sizeMB = cleaner::sizeFromTrigger(s.cleaner.triggerBytes, false);
        if (admin) {
            if (s.windows.settingsOpen) {
                if (s.windows.adminBusy) c.ui.beep();
                else c.ui.bringSettingsWindowToFront();
            } else {
                c.ui.showSettingsWindowModal();
            }
        }
    }
    s.cleaner.physMemSize = total;
    s.cleaner.known = true;
    s.cleaner.readBusy = false;
}

void writeSettings(MonitorContext& c) {
    MonitorState& s = c.state;
    // Values that were never read (the read is skipped while the file cannot
    // be written) must not go over everybody's settings.
    if (!s.cleaner.known) return;
    writeShared(c, section::AppSettingFlag, key::MemCleanExeMemSize, std::to_string(s.cleaner.triggerBytes));
    writeShared(c, section::AppSettingFlag, key::MemCleanSize, std::to_string(s.cleaner.sizeMB));
    if (runsAsAdministrator(c))
        writeShared(c, section::AppSettingFlag, key::PhysMemSize, std::to_string(s.cleaner.physMemSize));
}

bool runCleaning(MonitorContext& c, std::int32_t mode, std::int32_t& stepSize, std::int32_t pause) {
    const bool started = cleaner::startCleaning(c.platform.ramhold, c.state.cleaner.sizeMB, mode, stepSize, pause);
    reportRamholdProblem(c);
    return started;
}

bool isCleaning(MonitorContext& c) {
    const bool busy = c.platform.ramhold.memoryHeldStatus() == 1;
    reportRamholdProblem(c);
    return busy;
}

void showLastRunOrNoRight(MonitorContext& c) {
    const std::optional<std::string> read =
        SettingsFiles(c.platform, c.state).tryRead(section::AppSettingFlag, key::ShExTime);
    if (!read) return;
    const std::string& last = *read;
    if (!last.empty()) {
        setOnBothWindows(c, StatusControl::LastRunCaption, kLastRunCaption);
        setOnBothWindows(c, StatusControl::LastRunText, last);
    } else {
        setOnBothWindows(c, StatusControl::LastRunCaption, kNoRightCaption);
        setOnBothWindows(c, StatusControl::LastRunText, "");
    }
}

bool cleanAndRecord(MonitorContext& c, cleaner::CleaningReason reason) {
    MonitorState& s = c.state;
    // The last cleaning's end may not have been seen yet.
    watchCleaning(c);
    if (s.cleaning.cycle.running()) return false;
    cleaner::CleaningStart start;
    start.reason = reason;
    start.mode = s.cleaner.mode;
    start.sizeMB = s.cleaner.sizeMB;
    if (const auto m = c.platform.memory.query()) start.freeBeforeBytes = m->availPhys;
    else start.freeBeforeBytes = s.memory.availBytes;
    start.atMs = c.platform.clock.monotonicMs();
    const platform::LocalTime utc = c.platform.clock.universalTime();
    start.atUtc = {utc.hour, utc.minute};
    const std::string startedText = c.nowText();

    if (!runCleaning(c, s.cleaner.mode, s.cleaner.slowStepBytes, s.cleaner.slowPauseMs)) {
        const std::string problem = c.platform.ramhold.loadProblem();
        // A cleaning of the same kind still running is no new cleaning.
        if (problem.empty()) return false;
        s.cleaning.startedText = startedText;
        recordResult(c, s.cleaning.cycle.notRun(start, s.cleaner.triggerBytes), problem);
        return false;
    }
    start.sizeMB = s.cleaner.sizeMB;   // as the call held it
    s.cleaning.cycle.begin(start);
    s.cleaning.startedText = startedText;
    setOnBothWindows(c, StatusControl::LastRunText, startedText);
    c.ui.watchCleaning(true);
    return true;
}

void watchCleaning(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!s.cleaning.cycle.running()) {
        c.ui.watchCleaning(false);
        return;
    }
    platform::AllocationLibrary& library = c.platform.ramhold;
    if (library.memoryHeldStatus() == 1) return;
    const bool interrupted = library.stepwiseClaimStatus() == platform::slowstatus::Interrupted;
    const auto m = c.platform.memory.query();
    const std::uint64_t freeAfter = m ? m->availPhys : s.memory.availBytes;
    const auto result = s.cleaning.cycle.finish(false, interrupted, freeAfter, c.platform.clock.monotonicMs(),
                                                s.cleaner.triggerBytes);
    c.ui.watchCleaning(false);
    if (result) recordResult(c, *result, {});
}

void cleanNow(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.ending) return;
    const auto box = [&](const std::string& text) { c.message(text, MessageIcon::Information); };
    if (!right::confirm(c)) {
        if (s.right.held) {
            // The file could not be read just now: nobody cleans on that.
            box("設定ファイルを読み込めないため、今はクリーニングできません。\r\nしばらくしてからやり直してください。");
            return;
        }
        const std::optional<std::string> holder = cleanerRightHolderName(c.platform, s);
        box(holder ? "メモリクリーナ実行権は「" + *holder + "」にあります" : std::string(kNoRightCaption));
        return;
    }
    if (s.cleaning.cycle.running() || isCleaning(c)) {
        box("メモリクリーナは実行中です。終わってからやり直してください。");
        return;
    }
    if (const std::optional<std::string> watched = cleaner::runningWatchedProgram(c.platform, s, s.watchNames)) {
        box(watched->empty() ? std::string("プロセス監視の対象を確認できないため、クリーニングしません。")
                             : "プロセス監視の対象「" + *watched + "」が実行中のため、クリーニングしません。");
        return;
    }
    cleanAndRecord(c, cleaner::CleaningReason::Manual);
}

void breakSlowCleaningWhenPlentiful(MonitorContext& c) {
    MonitorState& s = c.state;
    if (s.right.held && s.cleaner.mode == 1 && cleaner::asSigned(s.memory.availBytes) > s.cleaner.triggerBytes) {
        if (c.platform.ramhold.stepwiseClaimStatus() == platform::slowstatus::Claiming)
            s.cleaning.cycle.breakRequested();
        c.platform.ramhold.requestBreak();
    }
}

} // namespace tidemark::monitor::cleaning
