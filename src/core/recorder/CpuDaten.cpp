#include "core/recorder/CpuDaten.hpp"

#include <algorithm>
#include <utility>

#include "core/link/ReceivePath.hpp"
#include "core/state/StringTable.hpp"

namespace krv::recorder {
namespace {

constexpr int kTextNichtGefunden = 3;
constexpr int kTextDateiErsetzen = 4;
constexpr int kTextWiedergabeTitel = 5;
constexpr int kTextWiedergabeFilter = 6;
constexpr int kTextSpeichernTitel = 7;
constexpr int kTextSpeichernFilter = 8;
constexpr const char* kStandardName = "default.log";

}  // namespace

CpuDaten::CpuDaten(app::ProgramState& state, app::MainFormState& controls, ports::Dialogs& dialogs,
                   ports::FileSink& speicherDatei, ports::FileSource& dateien, WiedergabeHost& host)
    : state_(state), c_(controls), dialogs_(dialogs), speicherDatei_(speicherDatei), dateien_(dateien), host_(host) {}

const std::string& CpuDaten::text(int id) const { return app::LoadResString(id, state_.sprachOffset()); }

void CpuDaten::fehlerMelden(const std::string& fehler) {
    dialogs_.messageBox({fehler, {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
}

// ---- Storing ------------------------------------------------------------------------------

void CpuDaten::mnuOpenCpuDatenAbspeichern_Click() {
    if (speicherDatei_.isOpen()) return;
    const ports::FileDialogRequest dialog{text(kTextSpeichernTitel), text(kTextSpeichernFilter), kStandardName};
    std::string pfad;
    ports::OpenMode modus = ports::OpenMode::Append;
    for (;;) {
        const std::optional<std::string> gewaehlt = dialogs_.saveFileName(dialog);
        if (!gewaehlt) return;
        const ports::ExistsResult vorhanden = speicherDatei_.exists(*gewaehlt);
        if (vorhanden.error) {
            fehlerMelden(*vorhanden.error);
            return;
        }
        modus = ports::OpenMode::Append;
        if (vorhanden.exists) {
            const ports::MsgResult antwort = dialogs_.messageBox({text(kTextDateiErsetzen) + *gewaehlt + "?", {},
                                                                  ports::MsgIcon::Question,
                                                                  ports::MsgButtons::YesNoCancel});
            if (antwort == ports::MsgResult::Cancel) continue;  // choose again
            if (antwort == ports::MsgResult::Yes) modus = ports::OpenMode::Replace;
        }
        pfad = *gewaehlt;
        break;
    }

    if (const std::optional<std::string> fehler = speicherDatei_.open(pfad, modus)) {
        fehlerMelden(*fehler);
        speicherDatei_.close();
        return;
    }
    // The file is written at its end from here on.
    wartend_.clear();
    c_.mnuOpenCpuDatenAbspeichern.setEnabled(false);
    c_.mnuCloseCpuDatenAbspeichern.setEnabled(true);
}

void CpuDaten::mnuCloseCpuDatenAbspeichern_Click() {
    std::optional<std::string> fehler;
    if (speicherDatei_.isOpen()) fehler = speicherDatei_.close();
    wartend_.clear();
    c_.mnuOpenCpuDatenAbspeichern.setEnabled(true);
    c_.mnuCloseCpuDatenAbspeichern.setEnabled(false);
    // Closed either way; what could not be put on the disk is reported.
    if (fehler) fehlerMelden(*fehler);
}

void CpuDaten::aufrufEnde(ByteView chunk) {
    if (!speicherDatei_.isOpen() || chunk.empty()) return;
    wartend_.insert(wartend_.end(), chunk.begin(), chunk.end());
    // A chunk that arrives while the error box of an earlier one is open follows it.
    if (schreibtGerade_) return;
    schreibtGerade_ = true;
    while (!wartend_.empty() && speicherDatei_.isOpen()) {
        const Bytes stueck = std::exchange(wartend_, {});
        if (!schreibeMitNachfrage(stueck)) break;
    }
    wartend_.clear();
    schreibtGerade_ = false;
}

bool CpuDaten::schreibeMitNachfrage(ByteView bytes) {
    for (;;) {
        const std::optional<std::string> fehler = speicherDatei_.write(bytes);
        if (!fehler) return true;
        const ports::MsgResult antwort =
            dialogs_.messageBox({*fehler, {}, ports::MsgIcon::Critical, ports::MsgButtons::RetryCancel});
        if (antwort != ports::MsgResult::Retry) {
            mnuCloseCpuDatenAbspeichern_Click();
            return false;
        }
    }
}

// ---- Replay -------------------------------------------------------------------------------

void CpuDaten::mnuStartCpuDatenWiedergabe_Click() {
    if (quelle_) return;
    const std::uint64_t lauf = ++laufNr_;
    host_.Init_Port();
    c_.mnuDatenuebertragungStart.setEnabled(false);
    c_.mnuStartCpuDatenWiedergabe.setEnabled(false);
    c_.mnuStopCpuDatenWiedergabe.setEnabled(true);

    const ports::FileDialogRequest dialog{text(kTextWiedergabeTitel), text(kTextWiedergabeFilter), kStandardName};
    std::string pfad;
    for (;;) {
        const std::optional<std::string> gewaehlt = dialogs_.openFileName(dialog);
        if (!gewaehlt) {
            mnuStopCpuDatenWiedergabe_Click();
            return;
        }
        const ports::ExistsResult vorhanden = dateien_.exists(*gewaehlt);
        if (vorhanden.error) {
            fehlerMelden(*vorhanden.error);
            mnuStopCpuDatenWiedergabe_Click();
            return;
        }
        if (vorhanden.exists) {
            pfad = *gewaehlt;
            break;
        }
        fehlerMelden(*gewaehlt + text(kTextNichtGefunden));
    }

    ports::OpenResult geoeffnet = dateien_.open(pfad);
    if (geoeffnet.error || !geoeffnet.file) {
        fehlerMelden(geoeffnet.error.value_or(std::string()));
        mnuStopCpuDatenWiedergabe_Click();
        return;
    }
    quelle_ = std::move(geoeffnet.file);

    state_.playback.SimulationsStatus = 0;
    state_.CpuWiedergabeAktiv = true;
    host_.mnuStatusFenster_Click();
    host_.receivePath().dispatch().SatzZeit = 0.0;

    abspielen(lauf);
    // Unless the user stopped it meanwhile, the replay ends as the stop menu item ends it.
    if (laufNr_ == lauf) mnuStopCpuDatenWiedergabe_Click();
}

void CpuDaten::abspielen(std::uint64_t lauf) {
    // The file as it was at the start: bytes the replay itself appends (storing into the
    // replayed file) are not replayed again.
    const ports::SizeResult laenge = quelle_->size();
    if (laenge.error) {
        fehlerMelden(*laenge.error);
        return;
    }
    const std::uint64_t gesamt = laenge.size;
    std::uint64_t position = 0;
    link::ReceivePath& pfad = host_.receivePath();

    while (laufNr_ == lauf && position < gesamt) {
        const auto anzahl = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockGroesse, gesamt - position));
        ports::ReadResult gelesen = quelle_->read(position, anzahl);
        if (gelesen.error) {
            fehlerMelden(*gelesen.error);
            return;
        }
        if (gelesen.bytes.empty()) return;
        position += gelesen.bytes.size();

        pfad.ShowData(gelesen.bytes);
        zeigeFortschritt(position, gesamt);
        pumpen();
        // Work off the telegrams the display rule left waiting: empty calls until one changes
        // nothing, so that every complete telegram is shown before the next chunk comes.
        while (laufNr_ == lauf) {
            const std::size_t vorher = pfad.receive().EmpfangsLaenge();
            pfad.ShowData({});
            pumpen();
            if (pfad.receive().EmpfangsLaenge() == vorher) break;
        }
    }
}

void CpuDaten::zeigeFortschritt(std::uint64_t position, std::uint64_t gesamt) {
    c_.SSPanel3.setCaption(std::to_string(position) + "/" + std::to_string(gesamt));
}

void CpuDaten::pumpen() {
    if (ereignisseVerarbeiten) ereignisseVerarbeiten();
}

void CpuDaten::mnuStopCpuDatenWiedergabe_Click() {
    ++laufNr_;  // a running replay ends before its next chunk
    state_.CpuWiedergabeAktiv = false;
    quelle_.reset();
    c_.mnuDatenuebertragungStart.setEnabled(true);
    c_.mnuStartCpuDatenWiedergabe.setEnabled(true);
    c_.mnuStopCpuDatenWiedergabe.setEnabled(false);
}

}  // namespace krv::recorder
