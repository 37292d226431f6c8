#include "transfer/StowelPresenter.h"

#include <string>

#include "shared/IniOpe.h"
#include "transfer/TransferStartup.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {
namespace {
constexpr int kCsidlDocuments = 5;   // CSIDL_PERSONAL
const std::string kFilter(text::kDialogFilter, sizeof text::kDialogFilter - 1);
} // namespace

bool StowelMayStart(platform::Platform& platform) { return administratorMayTransfer(platform, 0); }

void StowelPresenter::Form_Load() {
    view_.setCaption(text::kStowelCaption);
    view_.setText(StowelControl::lblCover, text::kCoverText);
    view_.setText(StowelControl::cmdSave, text::kSaveButton);
    view_.setText(StowelControl::cmdLoad, text::kLoadButton);
}

void StowelPresenter::cmdSave_Click() { transfer(Direction::Export); }

void StowelPresenter::cmdLoad_Click() { transfer(Direction::Import); }

void StowelPresenter::transfer(Direction direction) {
    const std::string settingsPath = sharedSettingsPath(platform_.process);
    std::string transferPath;
    ComnDiag dialogs(platform_, dialogs_);
    const bool chosen =
        direction == Direction::Export
            ? dialogs.GetSavePath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments, transferPath)
            : dialogs.GetLoadPath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments, transferPath);
    if (!chosen) return;
    const TransferOutcome outcome = direction == Direction::Export
                                        ? ExportIniTask(platform_, view_.handle(), settingsPath, transferPath)
                                        : ImportIniTask(platform_, view_.handle(), settingsPath, transferPath);
    if (outcome == TransferOutcome::Done) view_.close();
}

} // namespace tidemark::transfer
