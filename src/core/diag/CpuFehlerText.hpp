#pragma once
// The texts of the CPU error numbers. They live in one plain-text file per language in the data
// directory, "Fehler0.txt" (German) and "Fehler1.txt" (English): comma-delimited records of
// error number and message text, closed by the end record 999 "Dateiende".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace krv::diag {

inline constexpr int kFehlerDateiEndeNr = 999;
inline constexpr std::string_view kFehlerDateiEndeText = "Dateiende";

// At most this much of an error text file is read. A longer file counts only when its end record
// lies in this first part; otherwise it is treated as a faulty file.
inline constexpr std::size_t kFehlerDateiMaxBytes = 1024 * 1024;

// Result of reading one file's records for one error number.
struct FehlerTextSuche {
    bool dateiGueltig = false;         // the records were read up to the end record
    std::optional<std::string> text;   // the last record with the number asked for, UTF-8
};

// Reads the records in `inhalt` (the file's bytes) and looks up `iFehlerNr`. `abgeschnitten`
// says that the bytes are only the first part of a longer file: an unquoted field running into
// their end is then a read error, as it may go on beyond the cut.
//
// Rules: fields are separated by commas or line ends (CR, LF or CRLF); blanks around a field
// are dropped; a field that starts with a double quote runs to the next double quote (commas
// and line ends included), and anything between that quote and the next separator is skipped.
// The number is a decimal 16-bit integer; anything else, a missing text field or an unclosed
// quote is a read error, which makes the file faulty. Blank lines between records are skipped.
// A later record with the same number replaces an earlier one; reading stops at the end record.
// A leading UTF-8 byte-order mark is dropped; a file that is not valid UTF-8 is taken as
// Windows-1252 and its texts are converted.
FehlerTextSuche sucheFehlerText(std::string_view inhalt, int iFehlerNr, bool abgeschnitten = false);

// programmPfad (ends with a separator) & "Fehler" & language index & ".txt".
std::string fehlerDateiName(const std::string& programmPfad, int sprachOffset);

// Opens, reads (at most kFehlerDateiMaxBytes) and closes the file. A missing or unreadable
// file, or anything that is not a regular file, gives an invalid result.
FehlerTextSuche leseFehlerTextDatei(const std::string& dateiName, int iFehlerNr);

// The text the error window shows for an error number: the file's text; "unbekannte
// Fehlernummer" (5001) when a valid file lacks the number; "Datei nicht gefunden oder Fehler in
// der Datei: " (5002) when the file is missing, unreadable or lacks its end record.
std::string GetCpuFehlerText(const std::string& programmPfad, int sprachOffset, int iFehlerNr);

}  // namespace krv::diag
