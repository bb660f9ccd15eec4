#pragma once
// A protocol file for other tools: spreadsheet rows (CSV) or a Value Change Dump (VCD, IEEE
// 1364) that waveform viewers open. `krvdiag-cli dump` and the window's export both write
// through exportiereProtokoll(); it reads the file as playback does and writes to a stream the
// caller owns (standard output, a file, memory), so it does no file I/O of its own.
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "core/ports/FileSource.hpp"
#include "core/recorder/ProtocolFile.hpp"

namespace krv::recorder {

enum class ExportFormat { Csv, Vcd };

// The telegram spacing of the line: a record with repeat count n stands for n telegrams.
inline constexpr long long kTelegrammAbstandMs = 20;

// The level the terminal LED shows for terminal bit n (0..35) of a stored block: 0 red (0 V or
// open), 1 yellow (high impedance), 2 green (24 V), with the display's two corrections (bit 9 of
// the models whose index is not a multiple of 4 follows bit 11 inverted; terminals 12, 13, 20
// can be high impedance).
int klemmenPegel(const StatusBlock& block, int n);
// Whether model 0..15 has an LED, and so a terminal, for terminal bit n.
bool hatKlemme(int modell, int n);

struct ExportErgebnis {
    std::optional<int> ablehnung;       // the reader's rejection (text id 6010 or 6013)
    std::optional<std::string> fehler;  // the system's reason a read failed
    std::size_t datensaetze = 0;        // data records written
};

// Reads the protocol file `datei` (named `dateiName` in the VCD comment) through the reader's
// rules and writes every data record in `format` to `out`. `fortschritt(gelesen, gesamt)` is
// called after each block of slots, for a progress display. Nothing is written for a rejected
// file; a read failure leaves what was written so far.
ExportErgebnis exportiereProtokoll(ports::ReadableFile& datei, const std::string& dateiName,
                                   ExportFormat format, std::ostream& out,
                                   const std::function<void(std::size_t, std::size_t)>& fortschritt = {});

}  // namespace krv::recorder
