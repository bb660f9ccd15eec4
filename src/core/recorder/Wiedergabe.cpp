#include "core/recorder/Wiedergabe.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/device/DeviceDisplay.hpp"
#include "core/device/LedTables.hpp"
#include "core/diag/CpuFehlerFenster.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "core/state/StringTable.hpp"
#include "core/timing/TimingDiagramm.hpp"
#include "core/timing/TimingFormState.hpp"

namespace krv::recorder {
namespace {

constexpr int kTextNichtGefunden = 3;
constexpr int kTextDialogTitel = 5;
constexpr int kTextDialogFilter = 6;
constexpr int kTextLegende = 3002;
constexpr int kTextLadeDaten = 3003;
constexpr int kTextRecorderStart = 6053;
constexpr int kTextRecorderStop = 6054;
constexpr const char* kStandardName = "default.log";
constexpr const char* kMaxLedFehler = "Error in Programmteil  - picTimingSpur_MouseDown -  Max_LED überschritten";

constexpr std::size_t kVersionsSatzLaenge = 5;
constexpr int kKlemmenBits = 39;  // terminal bits 0..38 have a display position
// Records fetched with one read while a window loads.
constexpr std::int32_t kSaetzeProLesen = 64;

// n / 2 rounded to the nearest whole number, halves to the even one, as assigning a fraction to
// a whole number does.
std::int32_t halbGerundet(std::int64_t n) {
    const std::int64_t q = n / 2;
    const std::int64_t r = n % 2;
    if (r == 0 || q % 2 == 0) return static_cast<std::int32_t>(q);
    return static_cast<std::int32_t>(q + r);
}

app::Colour klemmenFarbe(std::uint8_t pegel) {
    switch (pegel) {
    case 0: return app::kRot;
    case 1: return app::kGelb;
    case 2: return app::kGruen;
    default: return app::kWeiss;
    }
}

std::string dateiTitel(const std::string& pfad) {
    const auto schraegstrich = pfad.find_last_of('/');
    return schraegstrich == std::string::npos ? pfad : pfad.substr(schraegstrich + 1);
}

// The first record of the new window when pos has left the loaded one.
std::int64_t neuerFensterStart(const WiedergabeZustand& z, std::int32_t pos) {
    if (pos == static_cast<std::int64_t>(z.LetzteScrollPos) + 1) {
        // One step right moves the window by a quarter of its length; a window of one or two
        // records still moves by one, or single steps would never leave it.
        return std::max<std::int64_t>(z.FensterStart + halbGerundet(z.HalbesFenster), z.FensterStart + 1);
    }
    if (pos == static_cast<std::int64_t>(z.LetzteScrollPos) - 1) return pos - halbGerundet(z.HalbesFenster);
    if (pos == z.AnzahlDatensaetze - 1 || z.ScrollGezogen == 1) return pos - z.HalbesFenster;
    if (pos <= z.LetzteScrollPos) {
        // Page left.
        return std::min<std::int64_t>(static_cast<std::int64_t>(z.FensterStart) - (z.FensterEnde - z.FensterStart), pos);
    }
    return static_cast<std::int64_t>(z.FensterEnde) + 1;  // page right
}

}  // namespace

std::string allgemeinesDatum(double wert) {
    if (!std::isfinite(wert)) return {};
    // To the nearest second first, so that 23:59:59.6 becomes the next day.
    const auto z = zeitpunkt(std::round(wert * 86400.0) / 86400.0);
    if (!z) return {};
    char datum[16];
    char zeit[16];
    std::snprintf(datum, sizeof datum, "%04d-%02d-%02d", z->jahr, z->monat, z->tag);
    std::snprintf(zeit, sizeof zeit, "%02d:%02d:%02d", z->stunde, z->minute, z->sekunde);
    const bool tagNull = z->jahr == 1899 && z->monat == 12 && z->tag == 30;
    const bool mitternacht = z->stunde == 0 && z->minute == 0 && z->sekunde == 0;
    if (tagNull) return zeit;
    if (mitternacht) return datum;
    return std::string(datum) + " " + zeit;
}

Wiedergabe::Wiedergabe(app::ProgramState& state, app::MainFormState& controls, app::ScrollBarControl& hsb,
                       ports::Dialogs& dialogs, ports::FileSource& dateien, WiedergabeHost& host)
    : state_(state), c_(controls), hsb_(hsb), dialogs_(dialogs), dateien_(dateien), host_(host) {
    hsb_.onChange = [this] { hsbTimingDiagram_Change(); };
    hsb_.onScroll = [this] { hsbTimingDiagram_Scroll(); };
}

const std::string& Wiedergabe::text(int id) const { return app::LoadResString(id, state_.sprachOffset()); }

std::uint64_t Wiedergabe::satzOffset(std::int32_t satz) const {
    return static_cast<std::uint64_t>(z_.ErsterDatensatzPos - 1) +
           DatensatzLaenge * static_cast<std::uint64_t>(std::max<std::int32_t>(satz, 0));
}

void Wiedergabe::cmdWiedergabeStart_Click() {
    if (c_.mnuStartSimulation.enabled()) mnuStartSimulation_Click();
}

void Wiedergabe::mnuStartSimulation_Click() {
    if (datei_) return;
    host_.Init_Port();
    if (host_.datenuebertragungLaeuft()) host_.datenuebertragungStoppen();

    c_.mnuStartSimulation.setEnabled(false);
    c_.mnuOpenLog.setEnabled(false);
    c_.cmdRecorderStartStop.setCaption(text(kTextRecorderStop));
    c_.mnuEndSimulation.setEnabled(true);
    c_.mnuDatenuebertragungStart.setEnabled(false);

    if (!oeffnen() || !kopfLesen()) return;

    timing::TimingDiagramm& timing = host_.timing();
    timing::TimingFormState& tc = host_.timingControls();
    timing.Init_TimingWiedergabe();  // traces cleared, cursor at 0, no trigger count
    hsb_.setMax(std::max<std::int32_t>(z_.AnzahlDatensaetze - 1, 0));
    hsb_.setValue(0);
    hsb_.setVisible(true);
    timing.zeigeCursorLinien(true);
    c_.cmdTimingDiagrammStartStop.setVisible(false);
    c_.cmdRecorderStartStop.setVisible(false);
    c_.cmdWiedergabeStart.setVisible(false);
    c_.cmdWiedergabeStop.setVisible(true);

    // The header area once: channels, trigger mode and trigger count.
    Bytes kopf;
    if (z_.ErsterDatensatzPos > 1) {
        if (!lese(0, static_cast<std::size_t>(z_.ErsterDatensatzPos - 1), kopf)) return;
        host_.receivePath().ShowData(kopf);
    }
    ersterUndLetzterSatz();
    if (!datei_) return;

    timing.samples().SampleKapazitaet = 0;
    z_.FensterStart = 0;
    z_.FensterEnde = -1;
    std::int32_t pos = 0;
    if (!LadeFenster(pos)) return;

    if (timing.samples().AnzahlSamples == 0) {
        c_.SSPanel2.setCaption(text(kTextLegende));
        abbrechen(MeldungKeineLogDatei);
        return;
    }

    state_.playback.SimulationsStatus = 2;
    c_.SSPanel3.setCaption("1/" + std::to_string(z_.AnzahlDatensaetze));
    host_.mnuTimingDiagramm_Click();
    c_.mnuStatusFenster.setEnabled(false);
    c_.mnuHardwareAuswahl.setEnabled(false);
    tc.fraTimingStatus.setVisible(true);
    tc.cboKlemmen[timing::kTriggerSelektor].setEnabled(false);
    AnzeigeKlemmenStatus();
    hsb_.setFocus();
    tc.lblDateiname.setCaption(dateiTitel_);
    tc.lblAktuelleZeit.setCaption(DatumText(timing.samples().SampleZeit(1)));
    c_.SSPanel2.setCaption(text(kTextLegende));
    c_.mnuExportieren.setEnabled(true);
}

bool Wiedergabe::oeffnen() {
    const ports::FileDialogRequest dialog{text(kTextDialogTitel), text(kTextDialogFilter), kStandardName};
    std::string pfad;
    for (;;) {
        const std::optional<std::string> gewaehlt = dialogs_.openFileName(dialog);
        if (!gewaehlt) {
            mnuEndSimulation_Click();
            return false;
        }
        const ports::ExistsResult vorhanden = dateien_.exists(*gewaehlt);
        if (vorhanden.error) {
            dialogs_.messageBox({*vorhanden.error, {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
            c_.mnuStartSimulation.setEnabled(true);
            mnuEndSimulation_Click();
            return false;
        }
        if (vorhanden.exists) {
            pfad = *gewaehlt;
            break;
        }
        dialogs_.messageBox(
            {*gewaehlt + text(kTextNichtGefunden), {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
    }

    ports::OpenResult geoeffnet = dateien_.open(pfad);
    if (geoeffnet.error || !geoeffnet.file) {
        dateiFehler(geoeffnet.error.value_or(std::string()));
        return false;
    }
    datei_ = std::move(geoeffnet.file);
    dateiTitel_ = dateiTitel(pfad);
    dateiPfad_ = pfad;
    return true;
}

bool Wiedergabe::kopfLesen() {
    playback().SimulationsStatus = 1;
    // Only this file's version record counts.
    playback().LogVersion = 0;
    Bytes bytes;
    if (!lese(0, kVersionsSatzLaenge, bytes)) return false;
    host_.receivePath().ShowData(bytes);
    if (playback().LogVersion < 1) {
        abbrechen(MeldungUnbekannteVersion);
        return false;
    }

    if (!lese(0, KopfSuchBereich, bytes)) return false;
    const std::optional<std::size_t> erster = ersterDatensatzPos(bytes);
    if (!erster) {
        abbrechen(MeldungKeineLogDatei);
        return false;
    }
    z_.ErsterDatensatzPos = static_cast<std::int64_t>(*erster);
    c_.SSPanel2.setCaption(text(kTextLadeDaten));

    const ports::SizeResult laenge = datei_->size();
    if (laenge.error) {
        dateiFehler(*laenge.error);
        return false;
    }
    const std::uint64_t datenBereich = laenge.size >= *erster - 1 ? laenge.size - (*erster - 1) : 0;
    z_.AnzahlDatensaetze = static_cast<std::int32_t>(
        std::min<std::uint64_t>(datenBereich / DatensatzLaenge, std::numeric_limits<std::int32_t>::max()));
    return true;
}

void Wiedergabe::ersterUndLetzterSatz() {
    if (z_.AnzahlDatensaetze < 1) return;  // no whole record to take a time stamp from
    timing::TimingFormState& tc = host_.timingControls();
    const std::pair<std::int32_t, app::Control*> saetze[] = {{0, &tc.lblStartDatum},
                                                             {z_.AnzahlDatensaetze - 1, &tc.lblEndeDatum}};
    for (const auto& [satz, label] : saetze) {
        Bytes bytes;
        if (!lese(satzOffset(satz), DatensatzLaenge, bytes)) return;
        host_.receivePath().ShowData(bytes);
        label->setCaption(DatumText(host_.receivePath().dispatch().SatzZeit));
    }
}

bool Wiedergabe::lese(std::uint64_t offset, std::size_t anzahl, Bytes& bytes) {
    ports::ReadResult gelesen = datei_->read(offset, anzahl);
    if (gelesen.error) {
        dateiFehler(*gelesen.error);
        return false;
    }
    bytes = std::move(gelesen.bytes);
    return true;
}

void Wiedergabe::dateiFehler(const std::string& fehler) {
    dialogs_.messageBox({fehler, {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
    mnuEndSimulation_Click();
}

void Wiedergabe::abbrechen(int textId) {
    dialogs_.messageBox({text(textId), {}, ports::MsgIcon::Information, ports::MsgButtons::Ok});
    mnuEndSimulation_Click();
}

bool Wiedergabe::LadeFenster(std::int32_t& pos) {
    if (z_.FensterEnde == -1) {
        z_.HalbesFenster = 0;
        z_.ScrollGezogen = 0;
        z_.LetzteScrollPos = 0;
    }
    if (z_.FensterStart <= pos && pos <= z_.FensterEnde) {
        z_.ScrollGezogen = 0;
        z_.LetzteScrollPos = pos;
        return true;
    }

    std::int64_t start = pos;
    if (z_.FensterEnde != -1) {
        start = neuerFensterStart(z_, pos);
        start = std::max<std::int64_t>(std::min<std::int64_t>(start, z_.AnzahlDatensaetze - 1), 0);
    }
    const auto s = static_cast<std::int32_t>(start);

    timing::TimingDiagramm& timing = host_.timing();
    timing::SampleStore& samples = timing.samples();
    link::ReceivePath& pfad = host_.receivePath();
    recorder::PlaybackState& pb = playback();

    z_.ScrollGezogen = 0;
    samples.leeren();
    pb.AktuellerDatensatz = s;
    z_.FensterStart = s;
    pb.SimulationsStatus = 1;
    samples.alleDatensatzNrSetzen(z_.AnzahlDatensaetze - 1);
    // A window's contents depend on its records only, not on what an earlier window left
    // half-read in the receive buffer.
    pfad.resetReceiveState();

    const int maxSamples = timing.MaxSamples();
    std::int32_t gefuettert = 0;
    bool weiter = true;
    Bytes block;
    while (weiter && pb.AktuellerDatensatz < z_.AnzahlDatensaetze) {
        const std::int32_t anzahl = std::min(z_.AnzahlDatensaetze - pb.AktuellerDatensatz, kSaetzeProLesen);
        if (!lese(satzOffset(pb.AktuellerDatensatz), static_cast<std::size_t>(anzahl) * DatensatzLaenge, block)) {
            return false;
        }
        const auto ganze = static_cast<std::int32_t>(block.size() / DatensatzLaenge);
        for (std::int32_t i = 0; i < ganze && weiter; ++i) {
            pfad.ShowData(ByteView(block).subspan(static_cast<std::size_t>(i) * DatensatzLaenge, DatensatzLaenge));
            if (samples.AnzahlSamples > maxSamples) {
                weiter = false;
            } else {
                ++pb.AktuellerDatensatz;
                weiter = ++gefuettert < kMaxSaetzeProFenster;
            }
        }
        if (ganze < anzahl) weiter = false;  // the end of the file came first
    }

    z_.FensterEnde = pb.AktuellerDatensatz - 1;
    pb.AktuellerDatensatz = s;
    pb.SimulationsStatus = 2;
    z_.HalbesFenster = halbGerundet(static_cast<std::int64_t>(z_.FensterEnde) - z_.FensterStart);
    hsb_.setLargeChange(z_.FensterEnde - z_.FensterStart + 1);

    timing.ZeichneAusSpeicher();

    z_.LetzteScrollPos = pos;
    pos = s;
    return true;
}

void Wiedergabe::ZeigeDatensatz(std::int32_t pos) {
    std::int32_t fensterPos = pos;
    if (!LadeFenster(fensterPos)) return;

    timing::TimingDiagramm& timing = host_.timing();
    const timing::SampleStore& samples = timing.samples();
    const int i = samples.sampleZuDatensatz(pos);
    host_.timingControls().lblAktuelleZeit.setCaption(DatumText(samples.SampleZeit(i)));
    timing.setzeCursorLinien(2 * (i - 1));
    c_.SSPanel3.setCaption(std::to_string(static_cast<std::int64_t>(pos) + 1) + "/" +
                           std::to_string(z_.AnzahlDatensaetze));
    AnzeigeKlemmenStatus();
}

void Wiedergabe::hsbTimingDiagram_Change() {
    // The start of a playback sets the position before any window is loaded.
    if (!datei_ || playback().SimulationsStatus != 2) return;
    ZeigeDatensatz(hsb_.value());
}

void Wiedergabe::AnzeigeKlemmenStatus() {
    const timing::SampleStore& samples = host_.timing().samples();
    if (samples.AnzahlSamples == 0) return;
    const int s = samples.sampleZuDatensatz(hsb_.value());

    diag::CpuFehlerFenster& fenster = host_.cpuFehlerFenster();
    if (const std::uint8_t fehler = samples.SampleCpuFehler(s); fehler != 0) {
        fenster.Show();
        fenster.SetTextCaption(fehler);
        fenster.InDenVordergrund();
        hsb_.setFocus();
    } else {
        fenster.Unload();
    }

    device::DeviceDisplay& geraet = host_.device();
    for (int t = 0; t < kKlemmenBits; ++t) {
        const std::int16_t n = geraet.KonvertBitToLed(static_cast<std::int16_t>(t));
        if (n == device::kKeineLed) continue;
        if (n < 0 || n > device::Max_LED) {
            dialogs_.messageBox({kMaxLedFehler, {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
            return;
        }
        // The control repaints only when the colour really changes.
        c_.shpLed[static_cast<std::size_t>(n)].setColour(klemmenFarbe(samples.SampleKlemmen(t + 1, s)));
    }
}

void Wiedergabe::mnuEndSimulation_Click() {
    timing::TimingDiagramm& timing = host_.timing();
    timing::TimingFormState& tc = host_.timingControls();

    tc.cboKlemmen[timing::kTriggerSelektor].setEnabled(true);
    c_.mnuStatusFenster.setEnabled(true);
    c_.mnuHardwareAuswahl.setEnabled(true);

    hsb_.setVisible(false);
    c_.cmdTimingDiagrammStartStop.setVisible(true);
    c_.cmdRecorderStartStop.setVisible(true);
    c_.cmdWiedergabeStart.setVisible(true);
    c_.cmdWiedergabeStop.setVisible(false);

    playback().SimulationsStatus = 0;
    tc.fraTimingStatus.setVisible(false);
    timing.zeigeCursorLinien(false);
    timing.TimingLoeschen();

    datei_.reset();
    dateiPfad_.clear();
    c_.mnuExportieren.setEnabled(false);

    c_.mnuStartSimulation.setEnabled(true);
    c_.mnuOpenLog.setEnabled(true);
    c_.cmdRecorderStartStop.setCaption(text(kTextRecorderStart));
    c_.mnuEndSimulation.setEnabled(false);
    c_.mnuDatenuebertragungStart.setEnabled(true);
}

}  // namespace krv::recorder
