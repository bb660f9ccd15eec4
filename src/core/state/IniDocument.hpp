#pragma once
// The text of a settings file with the classic private-profile rules: "[Section]" lines open a
// section, "key=value" lines inside it hold the values. Section and key names match without
// regard to ASCII case and surrounding blanks; the first matching section and the first
// matching key in it win. Every line the program does not change (comments, blank lines,
// unknown lines, other keys) is written back exactly as it was read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace krv::app {

class IniDocument {
public:
    IniDocument() = default;
    // Any byte string is accepted; lines that are neither a section nor a key are kept as they are.
    explicit IniDocument(std::string_view text);

    // Trimmed value, one pair of surrounding double quotes removed; the default when missing.
    std::string getString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

    // An optional sign and the leading decimal digits of the value; no digits read as 0,
    // values beyond the int range are clamped. The default when section or key is missing.
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Raw value (trimmed, quotes kept), or nothing when section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Sets one key. An existing key line is rewritten as "key=value" in the caller's spelling;
    // a new key goes after the last non-blank line of its section; a new section is appended
    // at the end of the text. False, and nothing changed, for names or values that cannot be
    // stored on one line (empty names, line breaks, '=' in a key, ']' in a section).
    bool set(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

    // The leading digits rule on its own (also used for values read elsewhere).
    static int parseInt(std::string_view value);

private:
    struct Line {
        std::string content;  // without the line break
        std::string eol;      // "\n", "\r\n" or "" for a last line without a break
    };

    // Index of the header line of the first matching section.
    std::optional<std::size_t> findSection(std::string_view section) const;
    // One past the last line of the section whose header is at index header.
    std::size_t sectionEnd(std::size_t header) const;
    std::optional<std::size_t> findKey(std::size_t header, std::string_view key) const;
    void insertLine(std::size_t index, std::string content);

    std::string bom_;              // a UTF-8 byte order mark in front of the first line
    std::vector<Line> lines_;
    std::string newline_ = "\n";   // line break for new lines: the one the text already uses
};

}  // namespace krv::app
