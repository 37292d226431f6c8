// OS version backend: GetVersionExW with the extended record.
#include "platform/win32/Win32OsVersion.h"

#include "platform/win32/WindowsApi.h"

namespace tidemark::win32 {

std::optional<platform::OsVersionInfo> Win32OsVersion::query() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Deprecated in favour of the version-helper tests, but the suite wants
    // the numbers; the programs' manifests make it report the real system.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    const BOOL ok = ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
    if (!ok) return std::nullopt;
    platform::OsVersionInfo out;
    out.majorVersion = info.dwMajorVersion;
    out.minorVersion = info.dwMinorVersion;
    out.buildNumber = info.dwBuildNumber;
    out.platformId = info.dwPlatformId;
    out.servicePackMajor = info.wServicePackMajor;
    out.servicePackMinor = info.wServicePackMinor;
    out.suiteMask = info.wSuiteMask;
    out.productType = info.wProductType;
    return out;
}

} // namespace tidemark::win32
