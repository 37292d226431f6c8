// The settings engine beside the system's own profile functions, over a
// corpus of awkward files: the same calls must give the same counts and the
// same buffer contents, and each side must read what the other wrote.
//
// Left out here are the few cases where Wine itself departs from Windows
// (the host tests check those against the Windows results): a quoted value
// read into a buffer exactly one larger than the unquoted text, a lookup of
// a commented-out key, text before the first section, "]" inside a section
// header, a default of spaces only, and a UTF-8 byte-order mark.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/TextConversion.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/Win32Platform.h"
#include "shared/profile/ProfileEngine.h"

namespace tidemark::profile {
namespace {

using std::nullopt;
using std::optional;
using std::string;

struct Query {
    optional<string> section{}, key{}, def{};
    std::uint32_t size = 255;
};

struct Corpus {
    const char* name;
    string utf8;          // converted to the ANSI code page before it is written
    std::vector<Query> queries;
};

class ProfileDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = platform::utf16ToUtf8(reinterpret_cast<const char16_t*>(temp)) + "tm_profile_diff_" +
                  std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryW(wide(folder_).c_str(), nullptr);
    }
    void TearDown() override {
        for (const auto& f : created_) ::DeleteFileW(wide(f).c_str());
        ::RemoveDirectoryW(wide(folder_).c_str());
    }

    static std::wstring wide(const string& utf8) {
        const std::u16string w = platform::utf8ToUtf16(utf8);
        return std::wstring(w.begin(), w.end());
    }
    string ansi(const string& utf8) { return sys_.platform().codePage.toAnsi(utf8); }

    string newFile(const string& stem) {
        const string path = folder_ + "\\" + stem + std::to_string(created_.size()) + ".ini";
        created_.push_back(path);
        return path;
    }
    void putBytes(const string& path, const string& bytes) {
        HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(h);
    }

    // The system's GetPrivateProfileStringA with UTF-8 arguments converted to ANSI.
    ProfileReadResult realRead(const Query& q, const string& path) {
        const optional<string> s = q.section ? optional(ansi(*q.section)) : nullopt;
        const optional<string> k = q.key ? optional(ansi(*q.key)) : nullopt;
        const optional<string> d = q.def ? optional(ansi(*q.def)) : nullopt;
        string buffer(q.size + 16, '\xCC');
        ::SetLastError(0);
        const DWORD n = ::GetPrivateProfileStringA(s ? s->c_str() : nullptr, k ? k->c_str() : nullptr,
                                                   d ? d->c_str() : nullptr, buffer.data(), q.size,
                                                   ansi(path).c_str());
        ProfileReadResult r;
        r.count = n;
        r.ansi = buffer.substr(0, n);
        r.lastError = ::GetLastError();
        return r;
    }
    bool realWrite(const optional<string>& s, const optional<string>& k, const optional<string>& v,
                   const string& path) {
        const optional<string> as = s ? optional(ansi(*s)) : nullopt;
        const optional<string> ak = k ? optional(ansi(*k)) : nullopt;
        const optional<string> av = v ? optional(ansi(*v)) : nullopt;
        return ::WritePrivateProfileStringA(as ? as->c_str() : nullptr, ak ? ak->c_str() : nullptr,
                                            av ? av->c_str() : nullptr, ansi(path).c_str()) != 0;
    }

    static string describe(const Query& q) {
        return "[" + q.section.value_or("(null)") + "] " + q.key.value_or("(null)") + " default " +
               q.def.value_or("(null)") + " size " + std::to_string(q.size);
    }

    void compare(const Corpus& c, const string& path) {
        ProfileEngine engine(sys_.platform());
        for (const Query& q : c.queries) {
            const ProfileReadResult real = realRead(q, path);
            const ProfileReadResult ours = engine.getString(q.section, q.key, q.def, q.size, path);
            EXPECT_EQ(ours.count, real.count) << c.name << ": " << describe(q);
            EXPECT_EQ(ours.ansi.substr(0, ours.count), real.ansi) << c.name << ": " << describe(q);
        }
    }

    // What the edit script leaves, as the system reads it.
    void expectScriptResult(const string& path) {
        EXPECT_EQ(realRead({"AppSettingFlag", "MemCleanSize"}, path).ansi, "256");
        EXPECT_EQ(realRead({"ExitTrigProcList", "notepad.exe"}, path).ansi, "D:\\notepad.exe");
        EXPECT_EQ(realRead({"ExitTrigProcList", "メモ帳.exe"}, path).ansi, ansi("C:\\ツール\\メモ帳.exe"));
        EXPECT_EQ(realRead({"UserAccountName", "S-1-5-21-1004336348-1177238915-682003330-1001"}, path).ansi,
                  ansi("山田太郎"));
        EXPECT_EQ(realRead({"s", "spaced", "gone"}, path).ansi, "gone");
        EXPECT_EQ(realRead({"s", "quoted"}, path).ansi, "a b");
        EXPECT_EQ(realRead({"s", "equals"}, path).ansi, "x=y;z");
        EXPECT_EQ(realRead({"s", "long", nullopt, 1024}, path).count, 300u);
        EXPECT_EQ(realRead({"gone", nullopt}, path).count, 0u);
    }

    // Every section, key list and key of the file reads the same on both sides.
    void agreeOnEverything(const string& path) {
        ProfileEngine engine(sys_.platform());
        std::vector<Query> queries{{nullopt, nullopt, nullopt, 10240}};
        for (const char* section : {"AppSettingFlag", "UserAccountName", "ExitTrigProcList", "s", "gone"}) {
            queries.push_back({section, nullopt, nullopt, 10240});
            for (const auto& k : engine.readKeyNames(section, 10240, path).names)
                queries.push_back({section, k, "missing", 1024});
        }
        EXPECT_GT(queries.size(), 12u);
        compare({"written file", "", queries}, path);
    }

    win32::Win32Platform sys_;
    string folder_;
    std::vector<string> created_;
};

string manyKeys() {
    string s = "[big]\r\n";
    for (int i = 0; i < 1200; ++i) s += "key" + std::to_string(100000 + i) + "=v\r\n";   // 10 bytes a name
    return s;
}

std::vector<Corpus> corpus() {
    const string value300(300, 'x');
    return {
        {"spaces around names and values", "[S]\r\n K = v \r\n\tk2\t=\tx y\t\r\nk3=   \r\n[  spaced  ]\r\nk=1\r\n",
         {{"s", "k"}, {"S", "K2"}, {"s", "k3", "d"}, {"s", "nokey", "d"}, {" spaced ", "k"}, {"s", nullopt},
          {nullopt, nullopt}}},
        {"quoted values", "[s]\r\nd=\"abc\"\r\nm=\"abc'\r\ne=\"\"\r\nq=\"\"abc\"\"\r\nsq='x'\r\nlone=\"\r\n",
         {{"s", "d"}, {"s", "m"}, {"s", "e", "d"}, {"s", "q"}, {"s", "sq"}, {"s", "lone"}, {"s", "m", nullopt, 4}}},
        {"comments and lines without equals", "; head\r\n[s]\r\n;c=1\r\n#h=2\r\nk=v ;x\r\nbare line\r\n//x=3\r\n",
         {{"s", "#h"}, {"s", "k"}, {"s", "//x"}, {"s", "bare line", "d"}, {"s", nullopt}}},
        {"duplicate sections and keys", "[s]\r\na=1\r\na=9\r\n[s]\r\nb=2\r\n[t]\r\nx=1\r\n",
         {{"s", "a"}, {"s", "b", "none"}, {"s", nullopt}, {nullopt, nullopt}, {"t", "x"}}},
        {"blank lines and LF endings", "\r\n\r\n[a]\n\nk=1\n\n[b]\r\n\r\nk=2\r\n",
         {{"a", "k"}, {"b", "k"}, {nullopt, nullopt}, {"a", nullopt}}},
        {"CR endings and no final break", "[a]\rk=1\r[b]\r\nk=2\nj=3",
         {{"a", "k"}, {"b", "k"}, {"b", "j"}}},
        {"Shift-JIS names and values", "[設定]\r\nア=ソソ\r\nキー=値の表\r\n[xゾ]\r\nk=1\r\n",
         {{"設定", "ア"}, {"設定", "ヂ", "d"}, {"設定", "キー"}, {"設定", nullopt}, {"xゾ", "k"}, {nullopt, nullopt},
          {"設定", "キー", nullopt, 5}}},
        {"empty values", "[s]\r\ne=\r\nf= \r\n", {{"s", "e", "d"}, {"s", "f", "d"}, {"s", nullopt}}},
        {"300-character value", "[s]\r\nlong=" + value300 + "\r\n",
         {{"s", "long", nullopt, 255}, {"s", "long", nullopt, 1024}, {"s", "long", nullopt, 301},
          {"s", "long", nullopt, 300}, {"s", "long", nullopt, 2}, {"s", "long", nullopt, 1}}},
        {"12000-byte key list", manyKeys(),
         {{"big", nullopt, nullopt, 10240}, {"big", nullopt, nullopt, 20000}, {"big", nullopt, nullopt, 16},
          {"big", "key100777"}}},
        {"first equals splits, text after the header ignored", "[s] trailing\r\na=b=c\r\n",
         {{"s", "a"}, {nullopt, nullopt}}},
        {"defaults", "[s]\r\nk=1\r\n",
         {{"s", "none", "def  "}, {"s", "none", " d\t"}, {"s", "none", nullopt}, {"s", "none", "long default", 5}}},
    };
}

TEST_F(ProfileDifferential, ReadsMatchTheSystemOverTheCorpus) {
    for (const Corpus& c : corpus()) {
        const string path = newFile("corpus");
        putBytes(path, ansi(c.utf8));
        compare(c, path);
    }
}

TEST_F(ProfileDifferential, MissingFileGivesTheDefaultAndErrorTwoOnBothSides) {
    const string path = folder_ + "\\nosuch.ini";
    const Query q{"s", "k", "dflt"};
    ProfileEngine engine(sys_.platform());
    const auto real = realRead(q, path);
    const auto ours = engine.getString(q.section, q.key, q.def, q.size, path);
    EXPECT_EQ(ours.ansi, real.ansi);
    EXPECT_EQ(ours.count, real.count);
    EXPECT_EQ(real.lastError, 2u);
    EXPECT_EQ(ours.lastError, 2u);
    compare({"missing file", "", {{"s", nullopt}, {nullopt, nullopt}}}, path);
}

struct Op {
    optional<string> section, key, value;
};

std::vector<Op> editScript() {
    return {
        {"AppSettingFlag", "MemCleanRightUser", "S-1-5-21-1004336348-1177238915-682003330-1001"},
        {"AppSettingFlag", "MemCleanSize", "128"},
        {"AppSettingFlag", "ShExTime", "2026/12/07 09:00:00"},
        {"UserAccountName", "S-1-5-21-1004336348-1177238915-682003330-1001", "山田太郎"},
        {"ExitTrigProcList", "notepad.exe", "C:\\Windows\\notepad.exe"},
        {"ExitTrigProcList", "メモ帳.exe", "C:\\ツール\\メモ帳.exe"},
        {"s", "spaced", " v w "},
        {"s", "quoted", "\"a b\""},
        {"s", "equals", "x=y;z"},
        {"s", "empty", ""},
        {"s", "long", string(300, 'z')},
        {"AppSettingFlag", "MemCleanSize", "256"},
        {"s", "spaced", nullopt},
        {"gone", "k", "1"},
        {"gone", nullopt, nullopt},
        {"ExitTrigProcList", "NOTEPAD.EXE", "D:\\notepad.exe"},
    };
}

TEST_F(ProfileDifferential, SystemReadsWhatTheEngineWrote) {
    const string path = newFile("engine_wrote");
    ProfileEngine engine(sys_.platform());
    for (const Op& op : editScript()) ASSERT_TRUE(engine.writeString(op.section, op.key, op.value, path));
    agreeOnEverything(path);
    expectScriptResult(path);
}

TEST_F(ProfileDifferential, EngineReadsWhatTheSystemWrote) {
    const string path = newFile("system_wrote");
    for (const Op& op : editScript()) ASSERT_TRUE(realWrite(op.section, op.key, op.value, path));
    agreeOnEverything(path);
    expectScriptResult(path);
}

TEST_F(ProfileDifferential, EngineEditsAFileTheSystemWroteAndTheSystemSeesTheEdit) {
    const string path = newFile("mixed");
    ASSERT_TRUE(realWrite("a", "k", "1", path));
    ASSERT_TRUE(realWrite("b", "k", "2", path));
    ProfileEngine engine(sys_.platform());
    ASSERT_TRUE(engine.writeString("a", "n", "中", path));
    ASSERT_TRUE(engine.writeString("b", "k", "3", path));
    ::Sleep(1100);   // the system caches a file by its time stamp
    EXPECT_EQ(realRead({"a", "n"}, path).ansi, ansi("中"));
    EXPECT_EQ(realRead({"b", "k"}, path).ansi, "3");
    EXPECT_EQ(realRead({"a", "k"}, path).ansi, "1");
}

} // namespace
} // namespace tidemark::profile
