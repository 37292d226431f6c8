#include "transfer/TransferStartup.h"

#include <string>

#include "shared/IniKeys.h"
#include "shared/accounts/GetUsrCl.h"
#include "transfer/TransferTexts.h"

namespace tidemark::transfer {

bool administratorMayTransfer(platform::Platform& p, platform::NativeWindow owner) {
    bool succeeded = false;
    long level = grouperr::None, errorNumber = 0;
    const bool member = GetUsrCl(p).JudgeThisUserGroup(ini::word::Administrators, succeeded, level, errorNumber);
    if (succeeded && member) return true;
    platform::MessageRequest r;
    r.owner = owner;
    r.title = text::kAdminTitle;
    r.icon = platform::MessageIcon::Error;
    if (succeeded) r.text = text::kAdminText;
    else if (level == grouperr::UserName) r.text = std::string(kUserNameFailedMessage) + text::kCrLf + text::kCannotRun;
    else r.text = std::string(kUserGroupFailedMessage) + text::kCrLf + text::kCannotRun;
    p.messages.show(r);
    return false;
}

} // namespace tidemark::transfer
