#include "shared/profile/ProfileEngine.h"

#include <algorithm>
#include <cctype>

#include "platform/TextConversion.h"
#include "shared/profile/ProfileDocument.h"

namespace tidemark::profile {
namespace {

constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kLockTimeout = 1460;   // ERROR_TIMEOUT
constexpr std::uint32_t kLockWaitMs = 10000;
constexpr int kReadRetries = 50;
// Batches of this many edits are worked out before the lock is taken.
constexpr std::size_t kPreparedBatch = 64;

LeadByteTable leadBytesOf(platform::CodePage& cp) {
    LeadByteTable lead{};
    for (int b = 0; b < 256; ++b) lead[b] = cp.isLeadByte(static_cast<unsigned char>(b));
    return lead;
}

bool hasUtf16Mark(const std::string& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

std::u16string decodeUtf16le(const std::string& bytes) {
    std::u16string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

std::string encodeUtf16le(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// Names given by the caller lose their spaces at both ends (spaces only).
std::string trimSpaces(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// Copies at most `room` bytes without cutting a double-byte character.
std::string cutAnsi(const std::string& s, std::size_t room, platform::CodePage& cp) {
    if (s.size() <= room) return s;
    std::size_t i = 0;
    while (i < room) {
        const std::size_t len = cp.isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + len > room) break;
        i += len;
    }
    return s.substr(0, i);
}

// A value that starts and ends with the same quote loses that one pair.
template <class String>
String unquoted(const String& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// A list of names as the read call fills the buffer: each name and a NUL,
// one more NUL at the end; cut to fit with two NULs after the cut.
ProfileReadResult packList(const std::vector<std::string>& names, std::uint32_t size) {
    ProfileReadResult r;
    std::string all;
    for (const auto& n : names) {
        all += n;
        all += '\0';
    }
    if (size < 2 || all.empty()) return r;
    if (all.size() + 1 <= size) {
        r.ansi = all;
        r.count = static_cast<std::uint32_t>(all.size());
    } else {
        r.ansi = all.substr(0, size - 2);
        r.ansi += '\0';
        r.count = size - 2;
    }
    return r;
}

bool hasAny(const std::string& s, const char* chars) { return s.find_first_of(chars, 0) != std::string::npos; }
bool hasNul(const std::string& s) { return s.find('\0') != std::string::npos; }

bool acceptable(const ProfileEdit& e) {
    if (hasAny(e.section, "\r\n]") || hasNul(e.section)) return false;
    if (e.key && !isWritableKeyName(*e.key)) return false;
    if (e.value && (hasAny(*e.value, "\r\n") || hasNul(*e.value))) return false;
    return true;
}

// convert turns UTF-8 into the document's own text.
template <class Doc, class Convert>
void applyEdits(Doc& doc, const std::vector<ProfileEdit>& edits, Convert convert) {
    std::vector<typename Doc::Edit> converted;
    converted.reserve(edits.size());
    const std::string* lastSection = nullptr;   // a batch names a few sections many times
    for (const ProfileEdit& e : edits) {
        typename Doc::Edit& c = converted.emplace_back();
        if (lastSection && *lastSection == e.section) c.section = converted[converted.size() - 2].section;
        else c.section = convert(trimSpaces(e.section));
        lastSection = &e.section;
        if (e.key) c.key = convert(trimSpaces(*e.key));
        if (e.key && e.value) c.value = convert(*e.value);
    }
    doc.apply(converted);
}

} // namespace

bool isWritableKeyName(const std::string& key) {
    const std::string k = trimSpaces(key);
    if (k.empty() || hasAny(k, "\r\n=") || hasNul(k)) return false;
    const auto first = k.find_first_not_of(" \t\v");
    return first != std::string::npos && k[first] != ';' && k[first] != '[';
}

ProfileEngine::ProfileEngine(platform::Platform& platform) : platform_(platform) {}

std::string ProfileEngine::lockNameFor(const std::string& path) {
    // Named after the folder itself rather than its spelling: another drive
    // letter for it (SUBST, a mapped share, Wine's Z:), a junction or a short
    // name reach the same folder and take the same lock. The file is
    // replaced on every write, so its own identity would not last.
    const std::string full = platform_.files.absolutePath(path);
    const auto slash = full.find_last_of("\\/");
    std::optional<std::string> folder;
    if (slash != std::string::npos && slash > 0)
        folder = platform_.files.folderIdentity(full.substr(0, (slash == 2 && full[1] == ':') ? 3 : slash));
    std::string key = "Tidemark.Profile.";
    std::string name = full.substr(slash + 1);
    // A short name of the file itself ("TIDEMA~1.INI") is spelled out.
    if (folder && name.find('~') != std::string::npos) {
        const std::string canonical = platform_.files.canonicalPath(path);
        name = canonical.substr(canonical.find_last_of("\\/") + 1);
    }
    const std::string spelled = folder ? *folder + "\\" + name : platform_.files.canonicalPath(path);
    for (char c : spelled) {
        const char d = (c == '/') ? '\\' : c;
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(d)));
    }
    return key;
}

platform::FileReadResult ProfileEngine::readForReading(const std::string& path) {
    platform::FileReadResult file = platform_.files.readAll(path);
    for (int i = 0; i < kReadRetries && !file.ok &&
                    (file.error == platform::fileerror::SharingViolation || file.error == platform::fileerror::AccessDenied);
         ++i) {
        platform_.clock.sleepMs(1);   // the file is being replaced by a writer
        file = platform_.files.readAll(path);
    }
    if (!file.ok && (file.error == platform::fileerror::FileNotFound ||
                     file.error == platform::fileerror::SharingViolation)) {
        // Where replacing a file is not one atomic step, a writer may be
        // between moving the old file out and the new one in, or rewriting
        // it in place: ask again once no writer holds the file.
        if (const auto hold = platform_.locks.acquire(lockNameFor(path), kLockWaitMs))
            file = platform_.files.readAll(path);
    }
    return file;
}

ProfileReadResult ProfileEngine::getString(const std::optional<std::string>& section,
                                           const std::optional<std::string>& key,
                                           const std::optional<std::string>& defaultValue, std::uint32_t bufferSize,
                                           const std::string& path) {
    auto& cp = platform_.codePage;
    platform::FileReadResult file = readForReading(path);

    std::vector<std::string> names;          // ANSI
    std::optional<std::string> found;        // ANSI, trimmed, quotes on
    if (file.ok) {
        const LeadByteTable lead = leadBytesOf(cp);
        auto toAnsi16 = [&](const std::u16string& s) { return cp.toAnsi(platform::utf16ToUtf8(s)); };
        if (hasUtf16Mark(file.bytes)) {
            const ProfileDocument<char16_t> doc(decodeUtf16le(file.bytes), nullptr);
            auto w = [](const std::string& s) { return platform::utf8ToUtf16(trimSpaces(s)); };
            if (!section) {
                for (const auto& n : doc.sectionNames()) names.push_back(toAnsi16(n));
            } else if (!key) {
                for (const auto& n : doc.keyNames(w(*section))) names.push_back(toAnsi16(n));
            } else if (auto v = doc.value(w(*section), w(*key))) {
                found = toAnsi16(*v);
            }
        } else {
            const ProfileDocument<char> doc(file.bytes, &lead);
            auto a = [&](const std::string& s) { return cp.toAnsi(trimSpaces(s)); };
            if (!section) names = doc.sectionNames();
            else if (!key) names = doc.keyNames(a(*section));
            else found = doc.value(a(*section), a(*key));
        }
    }

    ProfileReadResult r;
    r.lastError = file.ok ? 0 : platform::fileerror::FileNotFound;
    lastError_ = r.lastError;
    const bool unreadable = !file.ok && file.error != platform::fileerror::FileNotFound &&
                            file.error != platform::fileerror::PathNotFound;
    r.unreadable = unreadable;
    if (!section || !key) {
        r = packList(names, bufferSize);
        r.lastError = lastError_;
        r.unreadable = unreadable;
        return r;
    }
    std::string text;
    if (found) {
        text = unquoted(*found);
    } else {
        // The default loses its trailing spaces (only spaces).
        text = cp.toAnsi(defaultValue.value_or(std::string()));
        while (!text.empty() && text.back() == ' ') text.pop_back();
    }
    if (bufferSize == 0) return r;
    r.ansi = cutAnsi(text, bufferSize - 1, cp);
    r.count = static_cast<std::uint32_t>(r.ansi.size());
    return r;
}

bool ProfileEngine::writeString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                                const std::optional<std::string>& value, const std::string& path) {
    if (!section) {
        lastError_ = kInvalidParameter;
        return false;
    }
    return edit({{*section, key, value}}, nullptr, path, BatchBase::ExistingFile) == WriteOutcome::Written;
}

bool ProfileEngine::writeAll(const std::vector<ProfileEdit>& edits, const std::string& path, BatchBase base) {
    return edit(edits, nullptr, path, base) == WriteOutcome::Written;
}

WriteOutcome ProfileEngine::writeStringIf(const std::vector<ExpectedValue>& expected, const std::string& section,
                                          const std::string& key, const std::optional<std::string>& value,
                                          const std::string& path) {
    return edit({{section, key, value}}, &expected, path, BatchBase::ExistingFile);
}

WriteOutcome ProfileEngine::writeAllIf(const std::vector<ExpectedValue>& expected,
                                       const std::vector<ProfileEdit>& edits, const std::string& path) {
    return edit(edits, &expected, path, BatchBase::ExistingFile);
}

namespace {
// True when every expected value reads as given (a missing key reads as
// empty). convert turns UTF-8 into the document's own text.
template <class Doc, class Convert>
bool valuesAsExpected(const Doc& doc, const std::vector<ExpectedValue>* expected, Convert convert) {
    if (!expected) return true;
    for (const ExpectedValue& e : *expected) {
        const auto current = doc.value(convert(trimSpaces(e.section)), convert(trimSpaces(e.key)));
        if (unquoted(current.value_or(typename Doc::String())) != convert(e.value)) return false;
    }
    return true;
}
} // namespace

// The file's new text from what was read: nullopt when a condition did not
// hold.
std::optional<std::string> ProfileEngine::newText(const platform::FileReadResult& file,
                                                  const std::vector<ProfileEdit>& edits,
                                                  const std::vector<ExpectedValue>* expected, BatchBase base) {
    auto& cp = platform_.codePage;
    const bool fromFile = file.ok && base == BatchBase::ExistingFile;
    if (fromFile && hasUtf16Mark(file.bytes)) {
        // A Unicode file stays Unicode.
        ProfileDocument<char16_t> doc(decodeUtf16le(file.bytes), nullptr);
        auto w = [](const std::string& t) { return platform::utf8ToUtf16(t); };
        if (!valuesAsExpected(doc, expected, w)) return std::nullopt;
        applyEdits(doc, edits, w);
        return encodeUtf16le(doc.text());
    }
    const LeadByteTable lead = leadBytesOf(cp);
    ProfileDocument<char> doc(fromFile ? file.bytes : std::string(), &lead);
    auto a = [&cp](const std::string& t) { return cp.toAnsi(t); };
    if (!valuesAsExpected(doc, expected, a)) return std::nullopt;
    applyEdits(doc, edits, a);
    return doc.text();
}

WriteOutcome ProfileEngine::edit(const std::vector<ProfileEdit>& edits, const std::vector<ExpectedValue>* expected,
                                 const std::string& path, BatchBase base) {
    for (const ProfileEdit& e : edits) {
        if (!acceptable(e)) {
            lastError_ = kInvalidParameter;
            return WriteOutcome::Failed;
        }
    }
    const std::string lockName = lockNameFor(path);
    // A long batch is worked out before the lock is taken, from the file as
    // it is now; under the lock it is used where the file is still the same.
    struct Prepared {
        platform::FileReadResult from;
        std::optional<std::string> text;
    };
    std::optional<Prepared> early;
    if (edits.size() >= kPreparedBatch) {
        platform::FileReadResult before = platform_.files.readAll(path);
        if (before.ok || before.error == platform::fileerror::FileNotFound) {
            auto text = newText(before, edits, expected, base);
            early = Prepared{std::move(before), std::move(text)};
        }
    }

    const auto hold = platform_.locks.acquire(lockName, kLockWaitMs);
    if (!hold) {
        lastError_ = kLockTimeout;
        return WriteOutcome::Failed;
    }
    // A temporary file beside the target is left only by a writer that died
    // holding the lock (or with the machine); holding it, no other writer is
    // midway.
    if (hold->mayFollowADeadHolder()) {
        const auto slash = path.find_last_of("\\/");
        if (slash != std::string::npos)
            platform_.files.deleteMatching(path.substr(0, slash), path.substr(slash + 1) + ".~*.tmp");
    }
    platform::FileReadResult file = platform_.files.readAll(path);
    if (!file.ok && file.error != platform::fileerror::FileNotFound) {
        lastError_ = file.error;
        return WriteOutcome::Failed;
    }
    const bool onlyDeletions =
        std::all_of(edits.begin(), edits.end(), [](const ProfileEdit& e) { return !e.key || !e.value; });
    if (!file.ok && onlyDeletions && !expected && base == BatchBase::ExistingFile) {
        lastError_ = 0;   // nothing to delete from a file that does not exist
        return WriteOutcome::Written;
    }
    const bool unchangedSince = early && early->from.ok == file.ok &&
                                (base == BatchBase::EmptyFile || early->from.bytes == file.bytes);
    const std::optional<std::string> bytes =
        unchangedSince ? std::move(early->text) : newText(file, edits, expected, base);
    if (!bytes) {
        lastError_ = 0;
        return WriteOutcome::Unchanged;
    }
    lastError_ = platform_.files.replaceContents(path, *bytes);
    // A folder that admits no new file (a program folder that only opened
    // this file to every account) refuses the file beside the target that an
    // atomic replace needs: whoever may write the file writes it where it is,
    // still under the lock.
    if (lastError_ == platform::fileerror::AccessDenied && file.ok)
        lastError_ = platform_.files.rewriteInPlace(path, *bytes);
    return lastError_ == 0 ? WriteOutcome::Written : WriteOutcome::Failed;
}

ProfileSection ProfileEngine::readSection(const std::string& section, const std::string& path) {
    const platform::FileReadResult file = readForReading(path);
    lastError_ = file.ok ? 0 : platform::fileerror::FileNotFound;
    if (!file.ok) {
        ProfileSection out;
        out.error = file.error;
        return out;
    }
    return sectionIn(file.bytes, section);
}

ProfileSection ProfileEngine::sectionAsWritten(const std::string& fileBytes, const std::string& section) {
    if (!hasUtf16Mark(fileBytes)) return sectionIn(fileBytes, section);
    ProfileSection out;
    out.fileRead = true;
    const ProfileDocument<char16_t> doc(decodeUtf16le(fileBytes), nullptr);
    for (const auto& [name, value] : doc.entries(platform::utf8ToUtf16(trimSpaces(section))))
        out.entries.push_back({platform::utf16ToUtf8(name), platform::utf16ToUtf8(unquoted(value))});
    return out;
}

ProfileSection ProfileEngine::sectionIn(const std::string& fileBytes, const std::string& section) {
    ProfileSection out;
    out.fileRead = true;
    auto& cp = platform_.codePage;
    // Names and values go through the ANSI code page, as the read calls
    // give them.
    auto collect = [&](const auto& doc, auto convert, auto back) {
        for (const auto& [name, value] : doc.entries(convert(trimSpaces(section))))
            out.entries.push_back({cp.fromAnsi(back(name)), cp.fromAnsi(back(unquoted(value)))});
    };
    if (hasUtf16Mark(fileBytes)) {
        const ProfileDocument<char16_t> doc(decodeUtf16le(fileBytes), nullptr);
        collect(doc, [](const std::string& t) { return platform::utf8ToUtf16(t); },
                [&cp](const std::u16string& t) { return cp.toAnsi(platform::utf16ToUtf8(t)); });
    } else {
        const LeadByteTable lead = leadBytesOf(cp);
        const ProfileDocument<char> doc(fileBytes, &lead);
        collect(doc, [&cp](const std::string& t) { return cp.toAnsi(t); }, [](const std::string& t) { return t; });
    }
    return out;
}

ProfileText ProfileEngine::readValue(const std::string& section, const std::string& key, std::uint32_t bufferSize,
                                     const std::string& path, const std::string& defaultValue) {
    const ProfileReadResult r = getString(section, key, defaultValue, bufferSize, path);
    return {platform_.codePage.fromAnsi(r.ansi), r.count, r.unreadable};
}

namespace {
std::vector<std::string> splitList(const std::string& ansi, platform::CodePage& cp) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < ansi.size()) {
        const auto end = ansi.find('\0', start);
        const std::string name = ansi.substr(start, (end == std::string::npos ? ansi.size() : end) - start);
        if (name.empty()) break;
        out.push_back(cp.fromAnsi(name));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}
} // namespace

ProfileNameList ProfileEngine::readKeyNames(const std::string& section, std::uint32_t bufferSize,
                                            const std::string& path) {
    const ProfileReadResult r = getString(section, std::nullopt, std::nullopt, bufferSize, path);
    return {splitList(r.ansi, platform_.codePage), r.count, r.unreadable};
}

ProfileNameList ProfileEngine::readSectionNames(std::uint32_t bufferSize, const std::string& path) {
    const ProfileReadResult r = getString(std::nullopt, std::nullopt, std::nullopt, bufferSize, path);
    return {splitList(r.ansi, platform_.codePage), r.count};
}

} // namespace tidemark::profile
