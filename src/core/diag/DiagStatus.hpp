#pragma once
// `ModulDiagStatus`: turns status bytes 7..15 of a displayed telegram into the value texts of
// the status window (program version, release, muting values, input types, restart interlock,
// EDM, relay pre-warning and cycles, start test emulation, muting restart, time monitoring and
// the muting settings). A label is written only when the bits behind it changed.
#include <array>
#include <cstdint>
#include <string>

#include "core/link/ReceiveState.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::diag {

// Number of label pairs in the status window's arrays (index 11 does not exist).
inline constexpr int kStatusLabelAnzahl = 30;
inline constexpr int kFehlendesStatusLabel = 11;

// Background colours of the status window's labels.
inline constexpr app::Colour kStatusTextWeiss = 0xFFFFFF;  // captions 0..10
inline constexpr app::Colour kStatusTextGruen = 0x80FF80;  // captions 12..29
inline constexpr app::Colour kStatusWertRot = 0x0000FF;    // value labels, seen only when opaque

// The design-time state of the status window's labels: caption backgrounds, the red background
// of every value label, value labels transparent. Called once by the main window's load.
void setzeStatusfensterEntwurf(app::MainFormState& controls);

class DiagStatus {
public:
    DiagStatus(app::ProgramState& state, app::MainFormState& controls);

    // Captions and value words in the current language; every value label blanked. The
    // remembered status values are left alone.
    void InitDiagStatusText();

    // Shows status bytes 7..15 of the telegram named by s (DatenStart, DatenLaenge). Runs the
    // initialisation first when StatusInitialisiert was reset.
    void AnzeigeDiagStatus(const link::ReceiveState& s);

    // Remembered values, for the display code and tests: 256 = never shown, -1 = no relay cycle
    // number shown yet.
    static constexpr int kNieAngezeigt = 256;
    int AlterStatus(int k) const { return AlterStatus_[static_cast<std::size_t>(k)]; }
    long AlteRelaisZyklen() const { return AlteRelaisZyklen_; }

private:
    // The telegram's status bytes and relay cycle number as the rules read them.
    struct Block {
        std::array<int, 16> b{};
        long relaisZyklen = 0;
        bool kurz = false;
    };
    static Block leseBlock(const link::ReceiveState& s);

    bool geaendert(const Block& blk, int k, int maske) const;
    void schreibe(int label, const std::string& text);
    void schreibeEingangstyp(int label, int code, const std::array<int, 4>& tabelle);
    const std::string& wert(int j) const { return StatusWertText_[static_cast<std::size_t>(j)]; }

    void zeigeVersion(const Block& blk);
    void zeigeFreigabe(const Block& blk);
    void zeigeEingangstypen(const Block& blk);
    void zeigeKonfiguration(const Block& blk);
    std::string mutingRestart(const Block& blk) const;
    void zeigeMutingEinstellungen(const Block& blk);
    void zeigeMutingBetriebsart(const Block& blk);
    void zeigeRelaisZyklen(const Block& blk);

    app::ProgramState& state_;
    app::MainFormState& c_;

    std::array<int, 16> AlterStatus_;
    long AlteRelaisZyklen_ = -1;
    std::array<std::string, 19> StatusWertText_;
    std::string ZeitTextKurz_ = "--";
    std::string ZeitTextLang_ = "--";
};

}  // namespace krv::diag
