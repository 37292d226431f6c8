// The text of one settings (INI) file, read and edited the way the Windows
// profile functions do: lines trimmed, names matched without regard to ASCII
// case, first matching section and key win, and edits made in place so that
// every line not touched keeps its bytes (blank lines, comments, spacing).
//
// Char is char for files in the ANSI code page (double-byte characters are
// recognised through the lead-byte table) or char16_t for UTF-16LE files.
#pragma once
#include <array>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::profile {

// Which bytes start a double-byte character in the file's code page.
using LeadByteTable = std::array<bool, 256>;

template <class Char>
class ProfileDocument {
public:
    using String = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    // lead may be null (UTF-16, or a single-byte code page).
    ProfileDocument(String text, const LeadByteTable* lead);

    const String& text() const { return text_; }

    // The value of the first matching key in the first matching section,
    // trimmed, quotes left on; nullopt when there is no such key.
    std::optional<String> value(View section, View key) const;
    // Names of the key lines of the first matching section, duplicates kept.
    std::vector<String> keyNames(View section) const;
    // Every section header's name in file order, duplicates kept.
    std::vector<String> sectionNames() const;

    // Each key line of the first matching section in file order, duplicates
    // kept, with the value a lookup of its name gives (the first line's).
    std::vector<std::pair<String, String>> entries(View section) const;

    // One write: a null key deletes the section (its header and key lines;
    // its comments, blank lines and other lines stay), a null value the key.
    // Names are given trimmed.
    struct Edit {
        String section;
        std::optional<String> key;
        std::optional<String> value;
    };
    // Makes the edits in order, with the result of making them one at a time
    // as the write call does, in one pass over the text.
    void apply(const std::vector<Edit>& edits);

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    struct Line {
        std::size_t begin = 0;       // first unit of the line
        std::size_t end = 0;         // one past the last unit before the terminator
        std::size_t next = 0;        // one past the terminator
        Kind kind = Kind::Blank;
        int section = -1;            // index into sections_, -1 before the first header
        String name;                 // section or key name, trimmed
        String val;                  // key value, trimmed
    };

    void parse();
    int findSection(View section) const;
    int findKeyLine(int section, View key) const;
    bool namesEqual(View a, View b) const;
    bool isLead(Char c) const;
    // The name with ASCII letters folded: equal for names that match.
    String folded(View name) const;
    class Batch;

    String text_;
    const LeadByteTable* lead_;
    std::vector<Line> lines_;
    std::vector<std::size_t> sections_;   // line index of each header
};

extern template class ProfileDocument<char>;
extern template class ProfileDocument<char16_t>;

} // namespace tidemark::profile
