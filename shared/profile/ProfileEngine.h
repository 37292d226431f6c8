// Reads and writes settings (INI) files with the results and file format of
// the Windows profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA), UTF-8 at its interface.
//
// Unlike those functions it is safe across processes: every write reads,
// edits and replaces the file under a machine-wide lock, and the file is
// replaced atomically, so concurrent writers of different keys lose nothing
// and a writer that dies leaves the old file or the new one, never a torn one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "platform/Platform.h"

namespace tidemark::profile {

// What an ANSI read call returns.
struct ProfileReadResult {
    // The buffer's contents without the final NUL, in the ANSI code page.
    // Key and section lists keep the NUL after each name.
    std::string ansi;
    // The call's return value: bytes of the ANSI code page.
    std::uint32_t count = 0;
    // 2 when the file does not exist, else 0.
    std::uint32_t lastError = 0;
    // The file exists (or may) but could not be read: held by a writer past
    // every retry, or refused. The result then says nothing about the keys.
    bool unreadable = false;
};

struct ProfileText {
    std::string text;            // UTF-8
    std::uint32_t count = 0;     // ANSI bytes, as the read call counts them
    bool unreadable = false;     // as in ProfileReadResult
};

struct ProfileNameList {
    std::vector<std::string> names;   // UTF-8
    std::uint32_t count = 0;
    bool unreadable = false;          // as in ProfileReadResult
};

// A value a conditional write expects to find.
struct ExpectedValue {
    std::string section, key, value;
};

// One write of a batch: a null key deletes the section, a null value the key.
struct ProfileEdit {
    std::string section;
    std::optional<std::string> key;
    std::optional<std::string> value;
};

// What a batch starts from.
enum class BatchBase {
    ExistingFile,   // the file as it is (or nothing where there is none)
    EmptyFile,      // nothing: the file ends up holding only the batch
};

// A key and its value as the read calls give them, read whole.
struct ProfileEntry {
    std::string name, value;   // UTF-8
};

struct ProfileSection {
    // File order, a repeated name repeated; each with the value the read
    // call gives for it (the first line's).
    std::vector<ProfileEntry> entries;
    bool fileRead = false;               // false: the file is missing or could not be read
    std::uint32_t error = 0;             // why not
};

// Whether the write call takes the name as a key: not empty, and no CR, LF,
// NUL or "=" in it, nor ";" or "[" first, which the file would read as
// something else.
bool isWritableKeyName(const std::string& key);

enum class WriteOutcome {
    Written,
    Unchanged,   // a conditional write whose condition did not hold
    Failed,
};

class ProfileEngine {
public:
    explicit ProfileEngine(platform::Platform& platform);

    // GetPrivateProfileStringA: a null section lists the section names, a
    // null key lists the section's key names, a null default means "".
    // bufferSize is the buffer's size in bytes (nSize).
    ProfileReadResult getString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                                const std::optional<std::string>& defaultValue, std::uint32_t bufferSize,
                                const std::string& path);

    // WritePrivateProfileStringA: a null key deletes the section, a null value
    // deletes the key. Text that would break the file's structure (CR, LF or
    // NUL anywhere; '=' in a key or a key starting with ';' or '['; ']' in a
    // section name; an empty key) is refused: false, nothing written.
    bool writeString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                     const std::optional<std::string>& value, const std::string& path);

    // The same write, made only where every expected value is still what
    // the read call would return (a missing key reads as empty), with the
    // check and the write under one hold of the file's lock.
    WriteOutcome writeStringIf(const std::vector<ExpectedValue>& expected, const std::string& section,
                               const std::string& key, const std::optional<std::string>& value,
                               const std::string& path);

    // The edits made together, only where every expected value is still
    // what the read call would return, under one hold of the file's lock:
    // several keys claimed at once or not at all.
    WriteOutcome writeAllIf(const std::vector<ExpectedValue>& expected, const std::vector<ProfileEdit>& edits,
                            const std::string& path);

    // Every edit made in order, and the file replaced once, under one hold
    // of its lock: readers see the file before the batch or after it. When
    // any edit would be refused by writeString, nothing is written (false,
    // lastError 87).
    bool writeAll(const std::vector<ProfileEdit>& edits, const std::string& path,
                  BatchBase base = BatchBase::ExistingFile);

    // A section's keys with their values, from one reading of the file and
    // without the read calls' buffer limits.
    ProfileSection readSection(const std::string& section, const std::string& path);
    // The same from a file's contents read beforehand.
    ProfileSection sectionIn(const std::string& fileBytes, const std::string& section);
    // The same, but a Unicode file's names and values as they stand rather
    // than through the ANSI code page: a text the code page cannot hold
    // stays itself (no "?" or best-fit letter), so that the caller can
    // refuse it before it is stored.
    ProfileSection sectionAsWritten(const std::string& fileBytes, const std::string& section);

    // Conveniences in UTF-8 over getString.
    ProfileText readValue(const std::string& section, const std::string& key, std::uint32_t bufferSize,
                          const std::string& path, const std::string& defaultValue = {});
    ProfileNameList readKeyNames(const std::string& section, std::uint32_t bufferSize, const std::string& path);
    ProfileNameList readSectionNames(std::uint32_t bufferSize, const std::string& path);

    // The last error of the last call (0, 2 file not found, 87 refused input,
    // or the file system's code of a failed write).
    std::uint32_t lastError() const { return lastError_; }

    // The name of the file's machine-wide lock.
    std::string lockNameFor(const std::string& path);

private:
    WriteOutcome edit(const std::vector<ProfileEdit>& edits, const std::vector<ExpectedValue>* expected,
                      const std::string& path, BatchBase base);
    platform::FileReadResult readForReading(const std::string& path);
    std::optional<std::string> newText(const platform::FileReadResult& file, const std::vector<ProfileEdit>& edits,
                                       const std::vector<ExpectedValue>* expected, BatchBase base);

    platform::Platform& platform_;
    std::uint32_t lastError_ = 0;
};

} // namespace tidemark::profile
