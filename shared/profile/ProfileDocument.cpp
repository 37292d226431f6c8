#include "shared/profile/ProfileDocument.h"

#include <unordered_map>

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
typename ProfileDocument<Char>::String ProfileDocument<Char>::folded(View name) const {
    String out(name);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLead(out[i]) && i + 1 < out.size()) ++i;   // a trail byte is never folded
        else out[i] = foldAscii(out[i]);
    }
    return out;
}

template <class Char>
std::vector<std::pair<typename ProfileDocument<Char>::String, typename ProfileDocument<Char>::String>>
ProfileDocument<Char>::entries(View section) const {
    std::vector<std::pair<String, String>> out;
    const int s = findSection(section);
    if (s < 0) return out;
    std::unordered_map<String, std::size_t> first;   // folded name -> its first entry
    for (std::size_t i = sections_[s] + 1; i < lines_.size() && lines_[i].section == s; ++i) {
        if (lines_[i].kind != Kind::Key) continue;
        const auto [at, added] = first.emplace(folded(lines_[i].name), out.size());
        out.emplace_back(lines_[i].name, added ? lines_[i].val : out[at->second].second);
    }
    return out;
}

// The document's lines as a linked list that edits splice, with the sections
// and their keys found through folded names: each edit costs about the same
// however long the file is.
template <class Char>
class ProfileDocument<Char>::Batch {
public:
    explicit Batch(const ProfileDocument& doc) : doc_(doc), nodes_(doc.lines_.size()) {
        const int n = static_cast<int>(nodes_.size());
        for (int i = 0; i < n; ++i) {
            nodes_[i].line = static_cast<std::size_t>(i);
            nodes_[i].prev = i - 1;
            nodes_[i].next = i + 1 < n ? i + 1 : -1;
        }
        head_ = n > 0 ? 0 : -1;
        tail_ = n - 1;
        for (std::size_t s = 0; s < doc.sections_.size(); ++s) {
            sections_.emplace_back().header = static_cast<int>(doc.sections_[s]);
            sectionsByName_[doc.folded(doc.lines_[doc.sections_[s]].name)].ids.push_back(static_cast<int>(s));
        }
    }

    void setValue(const String& section, const String& key, const String& value) {
        int s = findSection(section);
        if (s < 0) {
            // A new section goes at the end, with no blank line before it.
            s = static_cast<int>(sections_.size());
            const int header = newNode(String(1, Char('[')) + section + Char(']'), {}, tail_);
            Section& added = sections_.emplace_back();
            added.header = header;
            added.indexed = true;   // nothing of it in the file yet
            sectionsByName_[doc_.folded(section)].ids.push_back(s);
        }
        Section& sec = indexed(s);
        const String name = doc_.folded(key);
        if (const int k = firstAlive(sec.keysByName[name]); k >= 0) {
            // Keep the spelling of the existing name; replace the rest of the line.
            nodes_[k].content = nameOf(k) + Char('=') + value;
            nodes_[k].own = true;
            return;
        }
        // A new key goes right after the section's last key line (or its
        // header), before any trailing comments and blank lines.
        while (!sec.keys.empty() && !nodes_[sec.keys.back()].alive) sec.keys.pop_back();
        const int anchor = sec.keys.empty() ? sec.header : sec.keys.back();
        const int k = newNode(key + Char('=') + value, key, anchor);
        sec.keys.push_back(k);
        sec.keysByName[name].ids.push_back(k);
    }

    void deleteKey(const String& section, const String& key) {
        const int s = findSection(section);
        if (s < 0) return;
        if (const int k = firstAlive(indexed(s).keysByName[doc_.folded(key)]); k >= 0) unlink(k);
    }

    void deleteSection(const String& section) {
        const int s = findSection(section);
        if (s < 0) return;
        Section& sec = indexed(s);
        unlink(sec.header);
        for (int k : sec.keys)
            if (nodes_[k].alive) unlink(k);
        sec.alive = false;
    }

    String text() const {
        const String crlf{Char('\r'), Char('\n')};
        String out;
        out.reserve(doc_.text_.size() + doc_.text_.size() / 8 + 64);
        for (int i = head_; i >= 0; i = nodes_[i].next) {
            const Node& node = nodes_[i];
            if (node.line == kNew) {
                out += node.content;
                out += crlf;
                continue;
            }
            const Line& line = doc_.lines_[node.line];
            if (node.own) out += node.content;
            else out.append(doc_.text_, line.begin, line.end - line.begin);
            if (line.next > line.end) out.append(doc_.text_, line.end, line.next - line.end);
            else if (node.broken) out += crlf;   // the file's last line, without a line break until now
        }
        return out;
    }

private:
    static constexpr std::size_t kNew = static_cast<std::size_t>(-1);
    struct Node {
        std::size_t line = kNew;   // the original line, kNew for a line of this batch
        String content;            // a new line's text, or an original line's replacement
        String name;               // a new key line's name
        bool own = false;          // content replaces the original line's text
        bool broken = false;       // a line was put after it: it ends with a line break
        bool alive = true;
        int prev = -1, next = -1;
    };
    // Lines or sections of one folded name in file order; those before
    // `first` are all gone.
    struct Slot {
        std::vector<int> ids;
        std::size_t first = 0;
    };
    struct Section {
        int header = -1;
        bool indexed = false;
        bool alive = true;
        std::vector<int> keys;   // key lines in file order, gone ones among them
        std::unordered_map<String, Slot> keysByName;
    };

    int firstAlive(Slot& slot) const {
        while (slot.first < slot.ids.size() && !alive(slot.ids[slot.first])) ++slot.first;
        return slot.first < slot.ids.size() ? slot.ids[slot.first] : -1;
    }
    bool alive(int id) const { return id >= 0 && nodes_[id].alive; }
    int findSection(const String& section) {
        const auto it = sectionsByName_.find(doc_.folded(section));
        if (it == sectionsByName_.end()) return -1;
        Slot& slot = it->second;
        while (slot.first < slot.ids.size() && !sections_[slot.ids[slot.first]].alive) ++slot.first;
        return slot.first < slot.ids.size() ? slot.ids[slot.first] : -1;
    }
    // The section's key lines, gathered on its first use.
    Section& indexed(int s) {
        Section& sec = sections_[s];
        if (sec.indexed) return sec;
        sec.indexed = true;
        const auto& lines = doc_.lines_;
        for (std::size_t i = static_cast<std::size_t>(sec.header) + 1; i < lines.size() && lines[i].section == s; ++i) {
            if (lines[i].kind != Kind::Key) continue;
            sec.keys.push_back(static_cast<int>(i));
            sec.keysByName[doc_.folded(lines[i].name)].ids.push_back(static_cast<int>(i));
        }
        return sec;
    }
    const String& nameOf(int id) const {
        return nodes_[id].line == kNew ? nodes_[id].name : doc_.lines_[nodes_[id].line].name;
    }
    // A new line after `after` (-1: at the start of an empty document).
    int newNode(String content, String name, int after) {
        const int id = static_cast<int>(nodes_.size());
        Node node;
        node.content = std::move(content);
        node.name = std::move(name);
        node.prev = after;
        node.next = after >= 0 ? nodes_[after].next : head_;
        nodes_.push_back(std::move(node));
        if (nodes_[id].next >= 0) nodes_[nodes_[id].next].prev = id;
        else tail_ = id;
        if (after >= 0) {
            nodes_[after].next = id;
            nodes_[after].broken = true;
        } else {
            head_ = id;
        }
        return id;
    }
    void unlink(int id) {
        Node& node = nodes_[id];
        node.alive = false;
        if (node.prev >= 0) nodes_[node.prev].next = node.next;
        else head_ = node.next;
        if (node.next >= 0) nodes_[node.next].prev = node.prev;
        else tail_ = node.prev;
    }

    const ProfileDocument& doc_;
    std::vector<Node> nodes_;
    int head_ = -1, tail_ = -1;
    std::vector<Section> sections_;
    std::unordered_map<String, Slot> sectionsByName_;
};

template <class Char>
void ProfileDocument<Char>::apply(const std::vector<Edit>& edits) {
    if (edits.empty()) return;
    Batch batch(*this);
    for (const Edit& e : edits) {
        if (!e.key) batch.deleteSection(e.section);
        else if (!e.value) batch.deleteKey(e.section, *e.key);
        else batch.setValue(e.section, *e.key, *e.value);
    }
    text_ = batch.text();
    parse();
}

template class ProfileDocument<char>;
template class ProfileDocument<char16_t>;

} // namespace tidemark::profile
