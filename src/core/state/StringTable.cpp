#include "core/state/StringTable.hpp"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

// Generated at build time from resources/strings.txt.
extern const char krvdiag_string_table_text[];
extern const std::size_t krvdiag_string_table_size;

namespace krv::app {

namespace {

// Ids have at most nine digits, so the value always fits an int.
constexpr std::size_t kMaxIdDigits = 9;

[[noreturn]] void fail(std::size_t lineNo, const std::string& what) {
    throw std::runtime_error("string table line " + std::to_string(lineNo) + ": " + what);
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

int parseId(std::string_view field, std::size_t lineNo) {
    if (field.empty()) fail(lineNo, "missing id");
    if (field.size() > kMaxIdDigits) fail(lineNo, "id too long: " + std::string(field));
    int id = 0;
    for (char c : field) {
        if (c < '0' || c > '9') fail(lineNo, "id is not a number: " + std::string(field));
        id = id * 10 + (c - '0');
    }
    return id;
}

std::string unescape(std::string_view raw, std::size_t lineNo) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i == raw.size()) fail(lineNo, "backslash at the end of the text");
        switch (raw[i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            default: fail(lineNo, std::string("unknown escape \\") + raw[i]);
        }
    }
    return out;
}

}  // namespace

StringTable StringTable::parse(std::string_view text) {
    StringTable table;
    std::unordered_map<int, std::size_t> firstLine;  // id -> line that defined it
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;

        // A file saved with CRLF line ends reads the same.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#' || isBlank(line)) continue;

        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) fail(lineNo, "no tab between id and text");
        const int id = parseId(line.substr(0, tab), lineNo);
        auto [it, inserted] = firstLine.emplace(id, lineNo);
        if (!inserted) {
            fail(lineNo, "id " + std::to_string(id) + " repeated (first on line " +
                             std::to_string(it->second) + ")");
        }
        table.texts_.emplace(id, unescape(line.substr(tab + 1), lineNo));
    }
    return table;
}

const StringTable& StringTable::builtIn() {
    static const StringTable table =
        parse(std::string_view(krvdiag_string_table_text, krvdiag_string_table_size));
    return table;
}

const std::string& StringTable::text(int id) const {
    static const std::string empty;
    const auto it = texts_.find(id);
    return it == texts_.end() ? empty : it->second;
}

bool StringTable::contains(int id) const { return texts_.count(id) != 0; }

std::vector<int> StringTable::ids() const {
    std::vector<int> result;
    result.reserve(texts_.size());
    for (const auto& entry : texts_) result.push_back(entry.first);
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace krv::app
