#include "core/state/IniDocument.hpp"

#include <climits>
#include <cstdint>

namespace krv::app {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view unquote(std::string_view v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

enum class Kind { Other, Section, Key };

struct ParsedLine {
    Kind kind = Kind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed
};

// A line that starts with '[' always opens a section, even without its ']', so that the keys
// after a damaged header never count as keys of the section before it.
ParsedLine parseLine(std::string_view line) {
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return {};
    if (t.front() == '[') {
        const auto close = t.find(']', 1);
        const auto inner = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
        return {Kind::Section, trim(inner), {}};
    }
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    const auto key = trim(t.substr(0, eq));
    if (key.empty()) return {};
    return {Kind::Key, key, trim(t.substr(eq + 1))};
}

bool isBlank(std::string_view line) { return trim(line).empty(); }

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) {
        bom_ = kUtf8Bom;
        text.remove_prefix(kUtf8Bom.size());
    }
    bool newlineSeen = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines_.push_back({std::string(text.substr(pos)), ""});
            break;
        }
        const bool crlf = nl > pos && text[nl - 1] == '\r';
        const std::size_t end = crlf ? nl - 1 : nl;
        const std::string_view eol = crlf ? "\r\n" : "\n";
        if (!newlineSeen) {
            newline_ = std::string(eol);
            newlineSeen = true;
        }
        lines_.push_back({std::string(text.substr(pos, end - pos)), std::string(eol)});
        pos = nl + 1;
    }
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const {
    const auto wanted = trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto p = parseLine(lines_[i].content);
        if (p.kind == Kind::Section && sameName(p.name, wanted)) return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && parseLine(lines_[i].content).kind != Kind::Section) ++i;
    return i;
}

std::optional<std::size_t> IniDocument::findKey(std::size_t header, std::string_view key) const {
    const auto wanted = trim(key);
    const auto end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto p = parseLine(lines_[i].content);
        if (p.kind == Kind::Key && sameName(p.name, wanted)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    const auto line = findKey(*header, key);
    if (!line) return std::nullopt;
    return std::string(parseLine(lines_[*line].content).value);
}

std::string IniDocument::getString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    const auto value = find(section, key);
    if (!value) return std::string(defaultValue);
    return std::string(unquote(*value));
}

int IniDocument::getInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    if (!value) return defaultValue;
    return parseInt(unquote(*value));
}

int IniDocument::parseInt(std::string_view value) {
    const auto t = trim(value);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    // Accumulate in 64 bits and stop growing once past the int range; the clamp below does the rest.
    constexpr std::int64_t kBeyond = static_cast<std::int64_t>(INT_MAX) + 2;
    std::int64_t magnitude = 0;
    for (; i < t.size() && isDigit(t[i]); ++i) {
        if (magnitude < kBeyond) magnitude = magnitude * 10 + (t[i] - '0');
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) return INT_MAX;
    if (signedValue < INT_MIN) return INT_MIN;
    return static_cast<int>(signedValue);
}

void IniDocument::insertLine(std::size_t index, std::string content) {
    // A last line without a line break gets one before anything follows it.
    if (index > 0 && lines_[index - 1].eol.empty()) lines_[index - 1].eol = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(content), newline_});
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const auto sectionName = trim(section);
    const auto keyName = trim(key);
    if (sectionName.empty() || sectionName.find_first_of("]\r\n") != std::string_view::npos) return false;
    if (keyName.empty() || keyName.find_first_of("=\r\n") != std::string_view::npos) return false;
    // Such a key line would read back as a section header or a comment.
    if (keyName.front() == '[' || keyName.front() == ';' || keyName.front() == '#') return false;
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;

    std::string keyLine = std::string(keyName) + "=" + std::string(value);
    const auto header = findSection(sectionName);
    if (!header) {
        // Separate the new section from the text before it by one blank line.
        if (!lines_.empty() && !isBlank(lines_.back().content)) insertLine(lines_.size(), "");
        insertLine(lines_.size(), "[" + std::string(sectionName) + "]");
        insertLine(lines_.size(), std::move(keyLine));
        return true;
    }
    if (const auto line = findKey(*header, keyName)) {
        lines_[*line].content = std::move(keyLine);
        return true;
    }
    // After the section's last non-blank line, so the blank lines before the next section stay.
    std::size_t last = sectionEnd(*header) - 1;
    while (last > *header && isBlank(lines_[last].content)) --last;
    insertLine(last + 1, std::move(keyLine));
    return true;
}

std::string IniDocument::text() const {
    std::string out = bom_;
    for (const auto& line : lines_) {
        out += line.content;
        out += line.eol;
    }
    return out;
}

}  // namespace krv::app
