// Writes settings through the engine from a process of its own, for the
// tests of concurrent and interrupted writers.
//   tm_profile_writer keys <file> <id> <count> <start-event>
//     waits for the event, then writes [w] p<id>k<n>=n for n < count and,
//     every tenth write, [w] shared=<id>:<n>. Exit code 0 when all succeeded.
//   tm_profile_writer loop <file> <ready-event>
//     signals the event, then rewrites keys for ever (until it is killed).
#include <string>

#include "platform/TextConversion.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"
#include "shared/profile/ProfileEngine.h"

namespace {

std::string narrow(const wchar_t* w) {
    return tidemark::platform::utf16ToUtf8(reinterpret_cast<const char16_t*>(w));
}

int writeKeys(const std::string& file, const std::string& id, int count, const wchar_t* eventName) {
    HANDLE go = ::OpenEventW(SYNCHRONIZE, FALSE, eventName);
    if (go) {
        ::WaitForSingleObject(go, 30000);
        ::CloseHandle(go);
    }
    tidemark::win32::Win32Platform sys;
    tidemark::profile::ProfileEngine engine(sys.platform());
    int failures = 0;
    for (int n = 0; n < count; ++n) {
        if (!engine.writeString("w", "p" + id + "k" + std::to_string(n), std::to_string(n), file)) ++failures;
        if (n % 10 == 0 && !engine.writeString("w", "shared", id + ":" + std::to_string(n), file)) ++failures;
    }
    return failures == 0 ? 0 : 1;
}

int loop(const std::string& file, const wchar_t* eventName) {
    tidemark::win32::Win32Platform sys;
    tidemark::profile::ProfileEngine engine(sys.platform());
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    if (ready) {
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    for (unsigned n = 0;; ++n) engine.writeString("w", "k" + std::to_string(n % 2500), std::to_string(n), file);
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) return 2;
    if (argc == 6 && std::wstring(argv[1]) == L"keys") return writeKeys(narrow(argv[2]), narrow(argv[3]), _wtoi(argv[4]), argv[5]);
    if (argc == 4 && std::wstring(argv[1]) == L"loop") return loop(narrow(argv[2]), argv[3]);
    return 2;
}
