// The handle owners: they close what they own, move ownership, and keep
// the last error for the caller.
#include "platform/win32/Handles.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tidemark::win32 {
namespace {

bool isOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, ClosingKeepsTheLastError) {
    UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event.valid());
    const HANDLE raw = event.get();
    ::SetLastError(ERROR_SHARING_VIOLATION);
    event.reset();
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(isOpenHandle(raw));
}

TEST(Handles, MoveTransfersOwnership) {
    UniqueKernelHandle first(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(first.valid());
    const HANDLE raw = first.get();
    UniqueKernelHandle second(std::move(first));
    EXPECT_FALSE(first.valid());
    EXPECT_EQ(second.get(), raw);
    UniqueKernelHandle third;
    third = std::move(second);
    EXPECT_EQ(third.get(), raw);
    EXPECT_TRUE(isOpenHandle(raw));
    third.reset();
    EXPECT_FALSE(isOpenHandle(raw));
}

TEST(Handles, FailedCreateFileIsNotAHandle) {
    UniqueKernelHandle file(::CreateFileW(L"C:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(file.valid());
    EXPECT_FALSE(static_cast<bool>(file));
}

TEST(Handles, RegistryKeyIsClosed) {
    UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, key.receive()), ERROR_SUCCESS);
    EXPECT_TRUE(key.valid());
    const HKEY raw = key.get();
    key.reset();
    wchar_t name[256];
    DWORD length = 256;
    EXPECT_NE(::RegEnumKeyExW(raw, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST(Handles, LocalAllocationIsFreedKeepingTheLastError) {
    LocalPtr<wchar_t> text;
    PSID world = nullptr;
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_WORLD_SID_AUTHORITY;
    ASSERT_TRUE(::AllocateAndInitializeSid(&authority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &world));
    ASSERT_TRUE(::ConvertSidToStringSidW(world, text.receive()));
    ::FreeSid(world);
    EXPECT_STREQ(text.get(), L"S-1-1-0");
    ::SetLastError(ERROR_ACCESS_DENIED);
    text.reset();
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(text);
}

} // namespace
} // namespace tidemark::win32
