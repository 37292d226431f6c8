#include "monitor/core/MemoryCleaner.h"

#include <algorithm>
#include <limits>

#include "monitor/core/MonitorSettings.h"
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

void cleanAndRecord(MonitorContext& c) {
    MonitorState& s = c.state;
    if (!runCleaning(c, s.cleaner.mode, s.cleaner.slowStepBytes, s.cleaner.slowPauseMs)) return;
    s.lastRunText = c.nowText();
    writeShared(c, section::AppSettingFlag, key::ShExTime, s.lastRunText);
    setOnBothWindows(c, StatusControl::LastRunText, s.lastRunText);
}

void breakSlowCleaningWhenPlentiful(MonitorContext& c) {
    const MonitorState& s = c.state;
    if (s.right.held && s.cleaner.mode == 1 && cleaner::asSigned(s.memory.availBytes) > s.cleaner.triggerBytes)
        c.platform.ramhold.requestBreak();
}

} // namespace tidemark::monitor::cleaning
