// The version backend: an NT-family record that tells the truth to a program
// whose manifest declares the current systems.
#include "platform/win32/Win32OsVersion.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tidemark::win32 {
namespace {

// RtlGetVersion ignores manifests and compatibility shims.
bool trueVersion(RTL_OSVERSIONINFOEXW& info) {
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) return false;
    const auto function = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    if (function == nullptr) return false;
    info = RTL_OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof(info);
    return function(&info) == 0;
}

TEST(Win32OsVersion, IsAnNtSystemOfXpOrLater) {
    Win32OsVersion os;
    const auto version = os.query();
    ASSERT_TRUE(version.has_value());
    std::printf("version %u.%u build %u platform %u sp %u.%u suite 0x%x product %u\n", version->majorVersion,
                version->minorVersion, version->buildNumber, version->platformId, version->servicePackMajor,
                version->servicePackMinor, version->suiteMask, version->productType);
    EXPECT_EQ(version->platformId, 2u);
    EXPECT_GE(version->majorVersion, 5u);
    EXPECT_GT(version->buildNumber, 0u);
    EXPECT_GE(version->productType, 1u);
    EXPECT_LE(version->productType, 3u);
}

TEST(Win32OsVersion, MatchesTheKernelsOwnAnswer) {
    RTL_OSVERSIONINFOEXW expected{};
    ASSERT_TRUE(trueVersion(expected));
    Win32OsVersion os;
    const auto version = os.query();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->majorVersion, expected.dwMajorVersion);
    EXPECT_EQ(version->minorVersion, expected.dwMinorVersion);
    EXPECT_EQ(version->buildNumber, expected.dwBuildNumber);
    EXPECT_EQ(version->productType, expected.wProductType);
}

} // namespace
} // namespace tidemark::win32
