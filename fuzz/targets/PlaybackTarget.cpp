#include "PlaybackTarget.hpp"

#include <algorithm>
#include <string>

#include "core/recorder/ProtocolFile.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/state/StringTable.hpp"
#include "FuzzCheck.hpp"
#include "HeadlessProgramm.hpp"

namespace krv::fuzz {
namespace {

constexpr const char* kDateiPfad = "/fuzz/wiedergabe.log";

// The reader's figures, checked against the file format's rules.
void pruefeLeser(ByteView datei, const recorder::LeseErgebnis& r) {
    using namespace krv::recorder;
    if (r.ablehnung) {
        KRV_FUZZ_PRUEFE(*r.ablehnung == MeldungUnbekannteVersion || *r.ablehnung == MeldungKeineLogDatei,
                        "the reader refuses with 6013 or 6010 only");
    }
    if (r.ablehnung == MeldungUnbekannteVersion) return;
    KRV_FUZZ_PRUEFE(r.kopf.version >= 1, "a file past the version check has a version of at least 1");
    if (r.kopf.ersterDatensatzPos == 0) return;  // no data record in the header area
    const std::size_t erster = r.kopf.ersterDatensatzPos;
    KRV_FUZZ_PRUEFE(erster + 1 <= std::min(datei.size(), KopfSuchBereich),
                    "the first data record's \"L3\" lies in the first 128 bytes");
    KRV_FUZZ_PRUEFE(datei[erster - 1] == 'L' && datei[erster] == '3', "the first data record starts with L3");
    KRV_FUZZ_PRUEFE(r.kopf.anzahlDatensaetze == (datei.size() - (erster - 1)) / DatensatzLaenge,
                    "the data area is counted in whole 19-byte slots");
    if (!r.ablehnung) {
        bool probe = false;
        for (std::size_t i = 0; i < r.kopf.anzahlDatensaetze && !probe; ++i) {
            const ByteView s = slot(datei, erster, i);
            probe = istDatensatz(s) && s[3] >= 1;
        }
        KRV_FUZZ_PRUEFE(probe, "an accepted file holds a data record with a repeat count");
    }
}

std::string erwarteteZeile(std::int32_t wert, std::int32_t anzahl) {
    return std::to_string(static_cast<std::int64_t>(wert) + 1) + "/" + std::to_string(anzahl);
}

}  // namespace

WiedergabeErgebnis wiedergabeZiel(ByteView datei) {
    WiedergabeErgebnis e;
    const recorder::LeseErgebnis gelesen = recorder::leseProtokolldatei(datei);
    pruefeLeser(datei, gelesen);
    e.leserAblehnung = gelesen.ablehnung;
    e.anzahlDatensaetze = gelesen.kopf.anzahlDatensaetze;

    HeadlessProgramm p("[Einstellungen]\nSprache=0\n");
    app::MainForm& form = p.form();
    recorder::Wiedergabe& w = form.wiedergabe();
    app::ScrollBarControl& hsb = p.controls.hsbTimingDiagram;
    p.dateiQuelle.files[kDateiPfad] = Bytes(datei.begin(), datei.end());
    p.dialogs.fileAnswers.push_back(kDateiPfad);
    form.mnuStartSimulation_Click();

    const std::string& versionsText = app::LoadResString(recorder::MeldungUnbekannteVersion, 0);
    const bool versionAbgelehnt = std::any_of(p.dialogs.boxes.begin(), p.dialogs.boxes.end(),
                                              [&](const ports::MessageBoxRequest& b) { return b.text == versionsText; });
    KRV_FUZZ_PRUEFE(versionAbgelehnt == (gelesen.ablehnung == recorder::MeldungUnbekannteVersion),
                    "playback and the reader agree on the version record");

    e.wiedergabeLief = w.laeuft();
    if (w.laeuft()) {
        const recorder::WiedergabeZustand& z = w.zustand();
        const timing::SampleStore& samples = form.timing().samples();
        KRV_FUZZ_PRUEFE(z.ErsterDatensatzPos == static_cast<std::int64_t>(gelesen.kopf.ersterDatensatzPos),
                        "playback and the reader find the same first data record");
        KRV_FUZZ_PRUEFE(z.AnzahlDatensaetze == static_cast<std::int32_t>(gelesen.kopf.anzahlDatensaetze),
                        "playback and the reader count the same slots");
        KRV_FUZZ_PRUEFE(hsb.max() == std::max(z.AnzahlDatensaetze - 1, 0), "the scroll bar spans the records");

        std::int32_t letztesFenster = z.FensterStart;
        // One move of the scroll bar, then the rules every loaded window keeps.
        const auto bewege = [&](std::int32_t wert) {
            hsb.setValue(wert);
            if (!w.laeuft()) return;  // a file in memory does not fail, but stay safe
            KRV_FUZZ_PRUEFE(p.state.playback.SimulationsStatus == 2, "a loaded window leaves SimulationsStatus 2");
            KRV_FUZZ_PRUEFE(0 <= z.FensterStart && z.FensterStart <= z.FensterEnde &&
                                z.FensterEnde < z.AnzahlDatensaetze,
                            "the loaded window lies in the file");
            KRV_FUZZ_PRUEFE(samples.AnzahlSamples >= 0 && samples.AnzahlSamples <= samples.obereGrenze() + 1,
                            "the samples fit the store's arrays");
            KRV_FUZZ_PRUEFE(p.controls.SSPanel3.caption() == erwarteteZeile(hsb.value(), z.AnzahlDatensaetze),
                            "the status line names the record under the scroll bar");
            if (z.FensterStart != letztesFenster) ++e.fensterLadungen;
            letztesFenster = z.FensterStart;
        };

        KRV_FUZZ_PRUEFE(p.state.playback.SimulationsStatus == 2, "the first window is loaded");
        KRV_FUZZ_PRUEFE(samples.AnzahlSamples > 0, "a running playback has samples to show");
        bewege(hsb.value() + hsb.smallChange());
        bewege(hsb.value() + hsb.smallChange());
        bewege(hsb.value() + hsb.largeChange());
        bewege(hsb.value() + hsb.largeChange());
        bewege(hsb.value() - hsb.largeChange());
        bewege(hsb.value() - hsb.smallChange());
        hsb.ziehen();
        bewege(hsb.max() / 2);
        // A click on the first strip, left and right of the samples.
        form.timing().picTimingSpur_MouseDown(0, 1, 0, 3.0, 5.0);
        form.timing().picTimingSpur_MouseDown(0, 1, 0, 1.0e6, 5.0);
        bewege(hsb.max());
        bewege(hsb.value() - hsb.smallChange());
        bewege(hsb.value() - hsb.largeChange());
        bewege(0);
        form.mnuEndSimulation_Click();
    }
    KRV_FUZZ_PRUEFE(!w.laeuft() && p.state.playback.SimulationsStatus == 0, "playback ends with its file closed");
    e.meldungen = static_cast<int>(p.dialogs.boxes.size());
    return e;
}

}  // namespace krv::fuzz
