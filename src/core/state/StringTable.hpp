#pragma once
// The program's texts: German under id N, English under N + 10000 (the language offset).
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace krv::app {

class StringTable {
public:
    // Parses the table's text form ("ID<TAB>TEXT" lines, '#' comments, \n \t \\ escapes).
    // Throws std::runtime_error naming the line for a malformed line or a repeated id.
    static StringTable parse(std::string_view text);
    // The table compiled into the program, parsed on first use.
    static const StringTable& builtIn();

    // The text of exactly this id; an empty string for an id the table does not have.
    const std::string& text(int id) const;
    bool contains(int id) const;
    std::vector<int> ids() const;  // ascending

private:
    std::unordered_map<int, std::string> texts_;
};

// Text id N in the language given by the offset (0 German, 10000 English).
inline const std::string& LoadResString(int id, int sprachOffset) {
    return StringTable::builtIn().text(sprachOffset + id);
}

}  // namespace krv::app
