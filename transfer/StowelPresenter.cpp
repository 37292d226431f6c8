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

void StowelPresenter::cmdSave_Click() {
    const std::string settingsPath = sharedSettingsPath(platform_.process);
    std::string transferPath;
    if (!ComnDiag(platform_, dialogs_)
             .GetSavePath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments, transferPath))
        return;
    finish(ExportIniTask(platform_, view_.handle(), settingsPath, transferPath));
}

void StowelPresenter::cmdLoad_Click() {
    const std::string settingsPath = sharedSettingsPath(platform_.process);
    std::string transferPath;
    if (!ComnDiag(platform_, dialogs_)
             .GetLoadPath(view_.handle(), kFilter, text::kDefaultExtension, kCsidlDocuments, transferPath))
        return;
    finish(ImportIniTask(platform_, view_.handle(), settingsPath, transferPath));
}

void StowelPresenter::finish(TransferOutcome outcome) {
    if (outcome == TransferOutcome::Done) view_.close();
}

} // namespace tidemark::transfer
