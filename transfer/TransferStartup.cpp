#include "transfer/TransferStartup.h"

#include <string>

#include "shared/settings/SettingsKeys.h"
#include "shared/accounts/AccountGroups.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {

bool administratorMayTransfer(platform::Platform& p, platform::NativeWindow owner) {
    const Membership membership = AccountGroups(p).isMember(ini::word::Administrators);
    if (membership.succeeded() && membership.member) return true;
    platform::MessageRequest r;
    r.owner = owner;
    r.title = text::kAdminTitle;
    r.icon = platform::MessageIcon::Error;
    if (membership.succeeded()) r.text = text::kAdminText;
    else if (membership.error == GroupCheckError::UserName) r.text = std::string(kUserNameFailedMessage) + text::kCrLf + text::kCannotRun;
    else r.text = std::string(kUserGroupFailedMessage) + text::kCrLf + text::kCannotRun;
    p.messages.show(r);
    return false;
}

} // namespace tidemark::transfer
