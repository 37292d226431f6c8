// The registry backend reading a profile-list fixture the test writes the
// way a multi-user machine looks.
#include "platform/win32/Win32Registry.h"

#include "TestSupport.h"
#include "platform/win32/Win32Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tidemark::win32 {
namespace {

using platform::RegistryRoot;

constexpr char kFakeSid[] = "S-1-5-21-1004336348-1177238915-682003330-1001";
constexpr wchar_t kFakeSidW[] = L"S-1-5-21-1004336348-1177238915-682003330-1001";
constexpr wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr char kProfileListUtf8[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr wchar_t kProfileImagePath[] = L"C:\\Users\\\u30c6\u30b9\u30c8";   // テスト
constexpr char kProfileImagePathUtf8[] = "C:\\Users\\\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88";
constexpr wchar_t kAppData[] = L"C:\\Users\\\u30c6\u30b9\u30c8\\AppData\\Roaming";
constexpr wchar_t kScratchKey[] = L"Software\\Tidemark\\BackendTest";

UniqueRegKey createKey(HKEY root, const std::wstring& path) {
    UniqueRegKey key;
    const LONG status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "creating key";
    return key;
}

void setString(HKEY key, const wchar_t* name, DWORD type, const std::wstring& text, bool withTerminator = true) {
    const DWORD bytes = static_cast<DWORD>((text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), bytes),
              ERROR_SUCCESS);
}

void setDword(HKEY key, const wchar_t* name, DWORD value) {
    ASSERT_EQ(::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)),
              ERROR_SUCCESS);
}

class Win32RegistryProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        removeFixture();
        const std::wstring profileKey = std::wstring(kProfileList) + L"\\" + kFakeSidW;
        UniqueRegKey profile = createKey(HKEY_LOCAL_MACHINE, profileKey);
        ASSERT_TRUE(profile.valid());
        setString(profile.get(), L"ProfileImagePath", REG_EXPAND_SZ, kProfileImagePath);
        setDword(profile.get(), L"RefCount", 256);

        UniqueRegKey volatileEnvironment =
            createKey(HKEY_USERS, std::wstring(kFakeSidW) + L"\\Volatile Environment");
        ASSERT_TRUE(volatileEnvironment.valid());
        setString(volatileEnvironment.get(), L"APPDATA", REG_SZ, kAppData);
    }

    void TearDown() override {
        removeFixture();
        UniqueRegKey check;
        EXPECT_NE(::RegOpenKeyExW(HKEY_USERS, kFakeSidW, 0, KEY_READ, check.receive()), ERROR_SUCCESS)
            << "fixture left behind";
    }

    static void removeFixture() {
        UniqueRegKey profileList;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_ALL_ACCESS, profileList.receive()) ==
            ERROR_SUCCESS) {
            ::RegDeleteTreeW(profileList.get(), kFakeSidW);
        }
        ::RegDeleteTreeW(HKEY_USERS, kFakeSidW);
        ::RegDeleteKeyW(HKEY_USERS, kFakeSidW);
    }

    Win32Registry registry;
};

TEST_F(Win32RegistryProfiles, EnumerationFindsTheProfileAndEndsWithNoMoreItems) {
    auto profileList = registry.openKey(RegistryRoot::LocalMachine, kProfileListUtf8);
    ASSERT_NE(profileList, nullptr);
    bool found = false;
    std::uint32_t index = 0;
    platform::SubKeyEnumResult entry;
    for (;; ++index) {
        entry = profileList->enumSubKey(index);
        if (entry.status != platform::regstatus::Success) break;
        EXPECT_FALSE(entry.name.empty());
        if (entry.name == kFakeSid) found = true;
        ASSERT_LT(index, 10000u);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(entry.status, platform::regstatus::NoMoreItems);
    EXPECT_EQ(entry.status, 259);
}

TEST_F(Win32RegistryProfiles, ExpandStringComesBackAsUtf8WithOneTerminator) {
    auto profile = registry.openKey(RegistryRoot::LocalMachine, std::string(kProfileListUtf8) + "\\" + kFakeSid);
    ASSERT_NE(profile, nullptr);
    const auto value = profile->queryValue("ProfileImagePath");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::regtype::ExpandString);
    EXPECT_EQ(value->data, std::string(kProfileImagePathUtf8) + '\0');
    EXPECT_EQ(value->data.size(), std::strlen(kProfileImagePathUtf8) + 1);
}

TEST_F(Win32RegistryProfiles, DwordComesBackAsItsFourBytesLowFirst) {
    auto profile = registry.openKey(RegistryRoot::LocalMachine, std::string(kProfileListUtf8) + "\\" + kFakeSid);
    ASSERT_NE(profile, nullptr);
    const auto value = profile->queryValue("RefCount");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::regtype::Dword);
    ASSERT_EQ(value->data.size(), 4u);
    EXPECT_EQ(value->data[0], '\0');
    EXPECT_EQ(value->data[1], '\x01');
    EXPECT_EQ(value->data[2], '\0');
    EXPECT_EQ(value->data[3], '\0');
}

TEST_F(Win32RegistryProfiles, VolatileEnvironmentOfAnotherUserIsReadable) {
    auto environment = registry.openKey(RegistryRoot::Users, std::string(kFakeSid) + "\\Volatile Environment");
    ASSERT_NE(environment, nullptr);
    const auto value = environment->queryValue("APPDATA");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::regtype::String);
    EXPECT_EQ(value->data, fromWide(kAppData) + '\0');
}

TEST_F(Win32RegistryProfiles, MissingKeysAndValuesAreReportedAsAbsent) {
    EXPECT_EQ(registry.openKey(RegistryRoot::Users, std::string(kFakeSid) + "\\No Such Key"), nullptr);
    auto profile = registry.openKey(RegistryRoot::LocalMachine, std::string(kProfileListUtf8) + "\\" + kFakeSid);
    ASSERT_NE(profile, nullptr);
    EXPECT_FALSE(profile->queryValue("NoSuchValue").has_value());
    const auto past = profile->enumSubKey(0);
    EXPECT_EQ(past.status, platform::regstatus::NoMoreItems);
}

class Win32RegistryStrings : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        key = createKey(HKEY_CURRENT_USER, kScratchKey);
        ASSERT_TRUE(key.valid());
    }
    void TearDown() override {
        key.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }

    std::optional<platform::RegistryValue> readBack(const char* name) {
        auto opened = registry.openKey(RegistryRoot::CurrentUser, fromWide(kScratchKey));
        if (!opened) {
            ADD_FAILURE() << "scratch key not readable through the current-user root";
            return std::nullopt;
        }
        return opened->queryValue(name);
    }

    UniqueRegKey key;
    Win32Registry registry;
};

TEST_F(Win32RegistryStrings, StringStoredWithoutTerminatorGetsExactlyOne) {
    setString(key.get(), L"Bare", REG_SZ, L"abc", false);
    const auto value = readBack("Bare");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, std::string("abc", 4));
}

TEST_F(Win32RegistryStrings, StringStoredWithSeveralTerminatorsKeepsOnlyOne) {
    const std::wstring padded(L"abc\0\0\0", 6);
    ASSERT_EQ(::RegSetValueExW(key.get(), L"Padded", 0, REG_SZ, reinterpret_cast<const BYTE*>(padded.data()),
                               static_cast<DWORD>(padded.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const auto value = readBack("Padded");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, std::string("abc", 4));
}

TEST_F(Win32RegistryStrings, EmptyStringIsOneTerminator) {
    setString(key.get(), L"Empty", REG_SZ, L"");
    const auto value = readBack("Empty");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, std::string(1, '\0'));
}

TEST_F(Win32RegistryStrings, BinaryValuesComeBackRaw) {
    const BYTE raw[] = {0x00, 0xFF, 0x10, 0x00, 0x7F};
    ASSERT_EQ(::RegSetValueExW(key.get(), L"Raw", 0, REG_BINARY, raw, sizeof(raw)), ERROR_SUCCESS);
    const auto value = readBack("Raw");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, platform::regtype::Binary);
    EXPECT_EQ(value->data, std::string("\x00\xFF\x10\x00\x7F", 5));
}

TEST_F(Win32RegistryStrings, LongStringIsReadWhole) {
    const std::wstring longText(5000, L'\u4e2d');
    setString(key.get(), L"Long", REG_SZ, longText);
    const auto value = readBack("Long");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, fromWide(longText) + '\0');
}

} // namespace
} // namespace tidemark::win32
