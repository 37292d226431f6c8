#include "shared/profile/ProfileDocument.h"

namespace tidemark::profile {
namespace {

template <class Char>
bool isBlankUnit(Char c) {
    // The profile functions trim space, tab and vertical tab.
    return c == Char(' ') || c == Char('\t') || c == Char('\v');
}

template <class Char>
std::basic_string<Char> trimmed(std::basic_string_view<Char> s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlankUnit(s[b])) ++b;
    while (e > b && isBlankUnit(s[e - 1])) --e;
    return std::basic_string<Char>(s.substr(b, e - b));
}

template <class Char>
Char foldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? Char(c - Char('A') + Char('a')) : c;
}

template <class Char>
std::basic_string<Char> lit(const char* s) {
    std::basic_string<Char> out;
    while (*s) out += static_cast<Char>(static_cast<unsigned char>(*s++));
    return out;
}

} // namespace

template <class Char>
ProfileDocument<Char>::ProfileDocument(String text, const LeadByteTable* lead) : text_(std::move(text)), lead_(lead) {
    parse();
}

template <class Char>
bool ProfileDocument<Char>::isLead(Char c) const {
    if constexpr (sizeof(Char) == 1) {
        return lead_ && (*lead_)[static_cast<unsigned char>(c)];
    } else {
        return false;
    }
}

template <class Char>
bool ProfileDocument<Char>::namesEqual(View a, View b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLead(a[i]) && i + 1 < a.size()) {
            // A double-byte character matches only itself: its trail byte may
            // look like an ASCII letter but must not be folded.
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

template <class Char>
void ProfileDocument<Char>::parse() {
    lines_.clear();
    sections_.clear();
    std::size_t pos = 0;
    const std::size_t n = text_.size();
    while (pos < n) {
        Line line;
        line.begin = pos;
        std::size_t i = pos;
        while (i < n && text_[i] != Char('\r') && text_[i] != Char('\n')) ++i;
        line.end = i;
        if (i < n && text_[i] == Char('\r') && i + 1 < n && text_[i + 1] == Char('\n')) i += 2;
        else if (i < n) i += 1;
        line.next = i;
        pos = i;

        const View content(text_.data() + line.begin, line.end - line.begin);
        const String t = trimmed(content);
        line.section = sections_.empty() ? -1 : static_cast<int>(sections_.size()) - 1;
        if (t.empty()) {
            line.kind = Kind::Blank;
        } else if (t[0] == Char(';')) {
            line.kind = Kind::Comment;
        } else if (t[0] == Char('[')) {
            // The name ends at the first ']' (a double-byte character's trail
            // byte is not one); without ']' the rest of the line is the name.
            std::size_t k = 1;
            while (k < t.size() && t[k] != Char(']')) k += (isLead(t[k]) && k + 1 < t.size()) ? 2 : 1;
            line.kind = Kind::Section;
            line.name = trimmed(View(t).substr(1, (k < t.size() ? k : t.size()) - 1));
            sections_.push_back(lines_.size());
            line.section = static_cast<int>(sections_.size()) - 1;
        } else {
            std::size_t k = 0;
            while (k < t.size() && t[k] != Char('=')) k += (isLead(t[k]) && k + 1 < t.size()) ? 2 : 1;
            if (k < t.size()) {
                line.kind = Kind::Key;
                line.name = trimmed(View(t).substr(0, k));
                line.val = trimmed(View(t).substr(k + 1));
            } else {
                line.kind = Kind::Other;
            }
        }
        lines_.push_back(std::move(line));
    }
}

template <class Char>
int ProfileDocument<Char>::findSection(View section) const {
    for (std::size_t s = 0; s < sections_.size(); ++s)
        if (namesEqual(lines_[sections_[s]].name, section)) return static_cast<int>(s);
    return -1;
}

template <class Char>
int ProfileDocument<Char>::findKeyLine(int section, View key) const {
    if (section < 0) return -1;
    for (std::size_t i = sections_[section] + 1; i < lines_.size() && lines_[i].section == section; ++i)
        if (lines_[i].kind == Kind::Key && namesEqual(lines_[i].name, key)) return static_cast<int>(i);
    return -1;
}

template <class Char>
std::optional<typename ProfileDocument<Char>::String> ProfileDocument<Char>::value(View section, View key) const {
    const int line = findKeyLine(findSection(section), key);
    if (line < 0) return std::nullopt;
    return lines_[line].val;
}

template <class Char>
std::vector<typename ProfileDocument<Char>::String> ProfileDocument<Char>::keyNames(View section) const {
    std::vector<String> out;
    const int s = findSection(section);
    if (s < 0) return out;
    for (std::size_t i = sections_[s] + 1; i < lines_.size() && lines_[i].section == s; ++i)
        if (lines_[i].kind == Kind::Key) out.push_back(lines_[i].name);
    return out;
}

template <class Char>
std::vector<typename ProfileDocument<Char>::String> ProfileDocument<Char>::sectionNames() const {
    std::vector<String> out;
    for (std::size_t idx : sections_) out.push_back(lines_[idx].name);
    return out;
}

template <class Char>
void ProfileDocument<Char>::insertAt(std::size_t pos, const String& piece) {
    text_.insert(pos, piece);
    parse();
}

template <class Char>
void ProfileDocument<Char>::erase(std::size_t begin, std::size_t end) {
    text_.erase(begin, end - begin);
    parse();
}

template <class Char>
void ProfileDocument<Char>::setValue(View section, View key, View value) {
    const String crlf = lit<Char>("\r\n");
    const String entry = String(key) + Char('=') + String(value);
    const int s = findSection(section);
    if (s < 0) {
        // A new section goes at the end, with no blank line before it.
        String piece;
        if (!text_.empty() && text_.back() != Char('\n') && text_.back() != Char('\r')) piece += crlf;
        piece += Char('[');
        piece += String(section);
        piece += Char(']');
        piece += crlf + entry + crlf;
        insertAt(text_.size(), piece);
        return;
    }
    const int existing = findKeyLine(s, key);
    if (existing >= 0) {
        // Keep the spelling of the existing name; replace the rest of the line.
        const Line& line = lines_[existing];
        const String replaced = line.name + Char('=') + String(value);
        text_.replace(line.begin, line.end - line.begin, replaced);
        parse();
        return;
    }
    // A new key goes right after the section's last key line (or its header),
    // before any trailing comments and blank lines.
    std::size_t after = sections_[s];
    for (std::size_t i = sections_[s] + 1; i < lines_.size() && lines_[i].section == s; ++i)
        if (lines_[i].kind == Kind::Key) after = i;
    const Line& anchor = lines_[after];
    if (anchor.next == anchor.end) {
        insertAt(anchor.end, crlf + entry + crlf);   // the anchor ends the file without a line break
    } else {
        insertAt(anchor.next, entry + crlf);
    }
}

template <class Char>
void ProfileDocument<Char>::deleteKey(View section, View key) {
    const int line = findKeyLine(findSection(section), key);
    if (line < 0) return;
    erase(lines_[line].begin, lines_[line].next);
}

template <class Char>
void ProfileDocument<Char>::deleteSection(View section) {
    const int s = findSection(section);
    if (s < 0) return;
    // Erase from the back so earlier offsets stay valid.
    std::vector<std::size_t> doomed{sections_[s]};
    for (std::size_t i = sections_[s] + 1; i < lines_.size() && lines_[i].section == s; ++i)
        if (lines_[i].kind == Kind::Key) doomed.push_back(i);
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        text_.erase(lines_[*it].begin, lines_[*it].next - lines_[*it].begin);
    parse();
}

template class ProfileDocument<char>;
template class ProfileDocument<char16_t>;

} // namespace tidemark::profile
