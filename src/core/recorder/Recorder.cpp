#include "core/recorder/Recorder.hpp"

#include "core/state/StringTable.hpp"

namespace krv::recorder {
namespace {

constexpr int kTextDateiErsetzen = 4;
constexpr int kTextDialogTitel = 7;
constexpr int kTextDialogFilter = 8;
constexpr int kTextRecorderStart = 6053;
constexpr int kTextRecorderStop = 6054;
constexpr const char* kStandardName = "default.log";

std::string dateiTitel(const std::string& pfad) {
    const auto schraegstrich = pfad.find_last_of('/');
    return schraegstrich == std::string::npos ? pfad : pfad.substr(schraegstrich + 1);
}

}  // namespace

int triggerAnzahl(int triggerIndex, int ringStart, int ringGroesse) {
    if (ringStart <= triggerIndex) return triggerIndex - ringStart + 1;
    return triggerIndex + ringGroesse - ringStart + 1;
}

Recorder::Recorder(app::ProgramState& state, app::MainFormState& controls, ports::Dialogs& dialogs,
                   ports::Clock& clock, ports::FileSink& datei, RecorderHost& host)
    : state_(state), c_(controls), dialogs_(dialogs), clock_(clock), datei_(datei), host_(host) {}

const std::string& Recorder::text(int id) const { return app::LoadResString(id, state_.sprachOffset()); }

void Recorder::meldung(int id, ports::MsgIcon icon) {
    dialogs_.messageBox({text(id), {}, icon, ports::MsgButtons::Ok});
}

void Recorder::fehlerMelden(const std::string& fehler) {
    dialogs_.messageBox({fehler, {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
}

void Recorder::Init_SpracheRecorder() {
    c_.cmdRecorderStartStop.setCaption(text(c_.mnuOpenLog.enabled() ? kTextRecorderStart : kTextRecorderStop));
}

void Recorder::cmdRecorderStartStop_Click() {
    if (c_.mnuOpenLog.enabled()) {
        mnuOpenLog_Click();
    } else {
        mnuCloseLog_Click();
    }
}

void Recorder::mnuOpenLog_Click() {
    if (z_.dateiOffen) return;
    const ports::FileDialogRequest dialog{text(kTextDialogTitel), text(kTextDialogFilter), kStandardName};
    for (;;) {
        const std::optional<std::string> pfad = dialogs_.saveFileName(dialog);
        if (!pfad) return;
        const ports::ExistsResult vorhanden = datei_.exists(*pfad);
        if (vorhanden.error) {
            fehlerMelden(*vorhanden.error);
            return;
        }
        ports::OpenMode modus = ports::OpenMode::Append;
        if (vorhanden.exists) {
            const ports::MsgResult antwort = dialogs_.messageBox(
                {text(kTextDateiErsetzen) + *pfad + "?", {}, ports::MsgIcon::Question, ports::MsgButtons::YesNoCancel});
            if (antwort == ports::MsgResult::Cancel) continue;  // choose again
            if (antwort == ports::MsgResult::Yes) modus = ports::OpenMode::Replace;
        }
        starteAufzeichnung(*pfad, modus);
        return;
    }
}

bool Recorder::starteAufzeichnung(const std::string& pfad, ports::OpenMode modus) {
    if (z_.dateiOffen) return false;
    if (const auto fehler = datei_.open(pfad, modus)) {
        fehlerMelden(*fehler);
        return false;
    }
    z_.dateiOffen = true;
    host_.setDateiname(dateiTitel(pfad));

    c_.mnuOpenLog.setEnabled(false);
    c_.cmdRecorderStartStop.setCaption(text(kTextRecorderStop));
    c_.cmdWiedergabeStart.setVisible(false);
    c_.mnuStartSimulation.setEnabled(false);
    c_.mnuCloseLog.setEnabled(true);
    host_.setTriggerAuswahlEnabled(false);

    Init_Recorder();
    if (!c_.mnuTimingDiagramm.checked()) host_.mnuTimingDiagramm_Click();
    if (!host_.datenuebertragungLaeuft()) host_.datenuebertragungStarten();
    // Nothing is written yet: the header group comes with the first telegram.
    return true;
}

void Recorder::Init_Recorder() {
    const bool offen = z_.dateiOffen;
    z_ = RecorderZustand{};
    z_.dateiOffen = offen;
    // The selector is locked while recording; a mode from elsewhere that the selector cannot
    // show counts as no trigger.
    const int modus = state_.einstellungen.TriggerModus;
    z_.TriggerModus = modus >= 0 && modus <= TriggerModusMax ? modus : 0;
    schreibAbbruch_ = false;
    host_.TimingStart();
}

void Recorder::RecorderTelegramm(const link::ReceiveState& s) {
    if (!z_.dateiOffen || beendetGerade_) return;
    if (s.DatenLaenge != 16 && s.DatenLaenge != 256) return;
    const std::size_t basis = s.DatenLaenge == 256 ? 224 : 0;
    StatusBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = s.datenByte(basis + i);
    telegramm(normalisiere(block));
}

void Recorder::telegramm(const StatusBlock& block) {
    if (!z_.RecKopfGeschrieben) {
        const bool geschrieben =
            SchreibeVersionsSatz() && SchreibeKanalSatz() && (z_.TriggerModus != 0 || SchreibeTriggerSatz());
        if (!geschrieben) {
            beenden();
            return;
        }
        z_.RecKopfGeschrieben = true;
        z_.RecNachTrigger = 0;
        z_.RecTriggerReferenz = 0;
        if (z_.TriggerModus > 1) {
            const TriggerBit bit = *triggerBit(z_.TriggerModus);
            z_.RecTriggerReferenz = block[bit.byte] & bit.maske;
        }
        host_.setTriggerAuswahlFarbe(app::kGelb);  // armed
    }

    if (z_.RecLetzterStatus == block) {
        if (z_.RecWiederholungen < 255) ++z_.RecWiederholungen;
        return;
    }

    if (z_.TriggerModus > 0 && z_.RecNachTrigger > 0) {
        ++z_.RecNachTrigger;
        if (z_.RecNachTrigger >= RecorderZustand::RecNachTriggerMax) {
            beenden();  // still stores the pending run
            meldung(MeldungTriggerAusgeloest, ports::MsgIcon::Information);
            return;
        }
    }

    if (z_.RecWiederholungen >= 1) {
        const Datensatz satz = baueSatz();
        if (z_.TriggerModus == 0) {
            if (!schreibe(satz)) {
                beenden();
                return;
            }
            ++z_.RecSatzZaehler;
            if (z_.RecSatzZaehler > RecorderZustand::RecSatzMax) {
                z_.RecWiederholungen = 0;  // written already
                beenden();
                meldung(MeldungMaximumErreicht, ports::MsgIcon::Information);
                return;
            }
        } else {
            z_.RecRing[static_cast<std::size_t>(z_.RecRingIndex)] = satz;
            if (z_.RecNachTrigger == 0 && triggerAusgeloest(satz)) {
                host_.setTriggerAuswahlFarbe(app::kGruen);
                z_.RecNachTrigger = 1;
                z_.RecTriggerIndex = z_.RecRingIndex;
            }
            ringWeiter();
        }
    }

    z_.RecLetzterStatus = block;
    z_.RecWiederholungen = 1;
}

Datensatz Recorder::baueSatz() { return datenSatz(*z_.RecLetzterStatus, z_.RecWiederholungen, clock_.nowDateValue()); }

void Recorder::ringWeiter() {
    z_.RecRingIndex = (z_.RecRingIndex + 1) % RecorderZustand::RecRingGroesse;
    // One slot always stays free, so the ring holds at most 199 records.
    if (z_.RecRingIndex == z_.RecRingStart) z_.RecRingStart = (z_.RecRingStart + 1) % RecorderZustand::RecRingGroesse;
}

bool Recorder::triggerAusgeloest(const Datensatz& satz) const {
    const TriggerBit bit = *triggerBit(z_.TriggerModus);
    const std::uint8_t wert = satz[2 + bit.byte] & bit.maske;
    if (z_.TriggerModus == 1) return wert == bit.maske;
    return wert != z_.RecTriggerReferenz;
}

void Recorder::mnuCloseLog_Click() { beenden(); }

void Recorder::beenden() {
    if (!z_.dateiOffen || beendetGerade_) return;
    beendetGerade_ = true;
    if (host_.datenuebertragungLaeuft()) host_.datenuebertragungStoppen();
    RecorderBeenden();
    host_.setTriggerAuswahlEnabled(true);
    const std::optional<std::string> schliessFehler = datei_.close();
    z_.dateiOffen = false;
    host_.TimingStop();

    c_.mnuOpenLog.setEnabled(true);
    c_.cmdRecorderStartStop.setCaption(text(kTextRecorderStart));
    c_.mnuStartSimulation.setEnabled(true);
    // The port panel's rule: with playback possible, data transfer can be started again.
    if (!host_.datenuebertragungLaeuft()) c_.mnuDatenuebertragungStart.setEnabled(true);
    c_.mnuCloseLog.setEnabled(false);
    c_.cmdWiedergabeStart.setVisible(true);
    beendetGerade_ = false;

    // The file is closed either way; what could not be synced is reported.
    if (schliessFehler) fehlerMelden(*schliessFehler);
}

void Recorder::RecorderBeenden() {
    if (z_.RecWiederholungen != 0) {
        const Datensatz satz = baueSatz();
        if (z_.TriggerModus == 0) {
            if (schreibe(satz)) ++z_.RecSatzZaehler;
        } else {
            z_.RecRing[static_cast<std::size_t>(z_.RecRingIndex)] = satz;
            ringWeiter();
        }
        z_.RecWiederholungen = 0;
        z_.RecLetzterStatus.reset();
    }
    if (z_.TriggerModus != 0 && SchreibeTriggerSatz()) {
        for (int i = z_.RecRingStart; i != z_.RecRingIndex; i = (i + 1) % RecorderZustand::RecRingGroesse) {
            if (!schreibe(z_.RecRing[static_cast<std::size_t>(i)])) break;
        }
    }
    host_.setTriggerAuswahlFarbe(std::nullopt);
}

bool Recorder::SchreibeVersionsSatz() { return schreibe(versionsSatz()); }

bool Recorder::SchreibeKanalSatz() { return schreibe(kanalSatz(state_.einstellungen.KanalTab)); }

bool Recorder::SchreibeTriggerSatz() {
    const int anzahl = triggerAnzahl(z_.RecTriggerIndex, z_.RecRingStart);
    return schreibe(triggerSatz(z_.TriggerModus, static_cast<std::int16_t>(anzahl)));
}

bool Recorder::schreibe(ByteView bytes) {
    while (!schreibAbbruch_) {
        const std::optional<std::string> fehler = datei_.write(bytes);
        if (!fehler) return true;
        const ports::MsgResult antwort =
            dialogs_.messageBox({*fehler, {}, ports::MsgIcon::Critical, ports::MsgButtons::RetryCancel});
        if (antwort != ports::MsgResult::Retry) schreibAbbruch_ = true;
    }
    return false;
}

}  // namespace krv::recorder
