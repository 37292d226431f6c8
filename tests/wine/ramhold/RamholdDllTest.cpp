// Ramhold.dll as a binary: its export table, its version resource, and the
// six functions called directly, the way any caller binding by name sees them.
#include "RamholdTestSupport.h"

#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace tidemark::ramhold::test {
namespace {

using StartFirstFn = std::int32_t(WINAPI*)(std::int32_t);
using StartSlowFn = std::int32_t(WINAPI*)(std::int32_t, std::int32_t, std::int32_t);
using QueryFn = std::int32_t(WINAPI*)();

const char* const kSixNames[] = {"MallocFirst",       "MallocSlow",        "GetMallocFirstFlag",
                                 "GetMallocSlowFlag", "GetRamholdMemFlag", "LetRamholdBreak"};

std::string dllPath() {
    return programFolder() + "Ramhold.dll";
}

HMODULE loadRamhold() {
    return ::LoadLibraryW(win32::toWide(dllPath()).c_str());
}

template <typename Fn>
Fn bindOrNull(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// Names in the module's export directory, read from the loaded image.
std::vector<std::string> exportedNames(HMODULE module, DWORD& functionCount) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    functionCount = 0;
    if (dir.VirtualAddress == 0) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    functionCount = exports->NumberOfFunctions;
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    std::sort(names.begin(), names.end());
    return names;
}

void waitForNothingHeld(HMODULE module) {
    const auto memFlag = bindOrNull<QueryFn>(module, "GetRamholdMemFlag");
    ASSERT_NE(memFlag, nullptr);
    ASSERT_TRUE(waitUntil([&] { return memFlag() == 0; }, 30000));
}

TEST(RamholdDllTest, GetProcAddressFindsAllSixPlainNames) {
    HMODULE module = loadRamhold();
    ASSERT_NE(module, nullptr) << dllPath();
    for (const char* name : kSixNames) EXPECT_NE(::GetProcAddress(module, name), nullptr) << name;
    // No decorated spellings beside them.
    EXPECT_EQ(::GetProcAddress(module, "MallocFirst@4"), nullptr);
    EXPECT_EQ(::GetProcAddress(module, "_MallocFirst@4"), nullptr);
}

TEST(RamholdDllTest, ExportsExactlyTheSixNames) {
    HMODULE module = loadRamhold();
    ASSERT_NE(module, nullptr);
    DWORD functions = 0;
    const std::vector<std::string> names = exportedNames(module, functions);
    std::vector<std::string> expected(std::begin(kSixNames), std::end(kSixNames));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(functions, 6u);
}

TEST(RamholdDllTest, CarriesItsVersionResource) {
    const std::wstring path = win32::toWide(dllPath());
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\OriginalFilename", &value, &length));
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"Ramhold.dll");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(RamholdDllTest, StartCallsSayWhetherTheyWereTaken) {
    HMODULE module = loadRamhold();
    ASSERT_NE(module, nullptr);
    const auto mallocFirst = bindOrNull<StartFirstFn>(module, "MallocFirst");
    const auto mallocSlow = bindOrNull<StartSlowFn>(module, "MallocSlow");
    const auto firstFlag = bindOrNull<QueryFn>(module, "GetMallocFirstFlag");
    const auto slowFlag = bindOrNull<QueryFn>(module, "GetMallocSlowFlag");
    const auto memFlag = bindOrNull<QueryFn>(module, "GetRamholdMemFlag");
    const auto letBreak = bindOrNull<QueryFn>(module, "LetRamholdBreak");
    ASSERT_TRUE(mallocFirst && mallocSlow && firstFlag && slowFlag && memFlag && letBreak);
    waitForNothingHeld(module);

    ASSERT_EQ(mallocSlow(8, 1048576, 10000), 1);
    EXPECT_EQ(slowFlag(), 1);
    EXPECT_EQ(memFlag(), 1);
    // Refused while it runs, whatever the kind.
    EXPECT_EQ(mallocSlow(8, 1048576, 10), 0);
    EXPECT_EQ(mallocFirst(8), 0);
    EXPECT_EQ(firstFlag(), 0);
    EXPECT_EQ(slowFlag(), 1);
    const ULONGLONG breakAt = ::GetTickCount64();
    letBreak();
    ASSERT_TRUE(waitUntil([&] { return memFlag() == 0; }, 5000));
    EXPECT_LT(::GetTickCount64() - breakAt, 2000u); // the pause was 10 s
    EXPECT_EQ(slowFlag(), 4);
}

TEST(RamholdDllTest, FastClaimTooLargeForTheAddressSpaceFailsQuietly) {
    HMODULE module = loadRamhold();
    ASSERT_NE(module, nullptr);
    const auto mallocFirst = bindOrNull<StartFirstFn>(module, "MallocFirst");
    const auto firstFlag = bindOrNull<QueryFn>(module, "GetMallocFirstFlag");
    const auto memFlag = bindOrNull<QueryFn>(module, "GetRamholdMemFlag");
    ASSERT_TRUE(mallocFirst && firstFlag && memFlag);
    waitForNothingHeld(module);
    // 2^31 - 1 MB is about 2 PB: no commit can succeed.
    ASSERT_EQ(mallocFirst(INT32_MAX), 1);
    ASSERT_TRUE(waitUntil([&] { return memFlag() == 0 && firstFlag() == 0; }, 10000));
    // And the library still works afterwards.
    ASSERT_EQ(mallocFirst(4), 1);
    ASSERT_TRUE(waitUntil([&] { return memFlag() == 0 && firstFlag() == 0; }, 10000));
}

} // namespace
} // namespace tidemark::ramhold::test
