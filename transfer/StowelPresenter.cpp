#include "transfer/StowelPresenter.h"

#include <string>

#include "shared/settings/SettingsFiles.h"
#include "transfer/TransferStartup.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {
namespace {
constexpr int kCsidlDocuments = 5;   // CSIDL_PERSONAL
const std::string kFilter(text::kDialogFilter, sizeof text::kDialogFilter - 1);
} // namespace

bool stowelMayStart(platform::Platform& platform) { return administratorMayTransfer(platform, 0); }

void StowelPresenter::load() {
    view_.setCaption(text::kStowelCaption);
    view_.setText(StowelControl::Explanation, text::kCoverText);
    view_.setText(StowelControl::ExportButton, text::kSaveButton);
    view_.setText(StowelControl::ImportButton, text::kLoadButton);
}

void StowelPresenter::onSaveClicked() { transfer(Direction::Export); }

void StowelPresenter::onLoadClicked() { transfer(Direction::Import); }

void StowelPresenter::transfer(Direction direction) {
    const std::string settingsPath = sharedSettingsPath(platform_.process);
    TransferFileDialog dialog(platform_, dialogs_);
    const std::optional<std::string> transferPath =
        direction == Direction::Export
            ? dialog.chooseSavePath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments)
            : dialog.chooseOpenPath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments);
    if (!transferPath) return;
    const TransferOutcome outcome = direction == Direction::Export
                                        ? exportSettings(platform_, view_.handle(), settingsPath, *transferPath)
                                        : importSettings(platform_, view_.handle(), settingsPath, *transferPath);
    if (outcome == TransferOutcome::Done) view_.close();
}

} // namespace tidemark::transfer
