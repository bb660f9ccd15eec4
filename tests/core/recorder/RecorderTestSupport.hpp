#pragma once
// A recorder behind a real receive path, with files in memory, a clock set per telegram and a
// main window stand-in that notes what the recorder asks of it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/app/MainForm.hpp"
#include "core/app/MainFormState.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/app/ProgramState.hpp"
#include "core/link/Crc8.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "core/recorder/Recorder.hpp"
#include "core/recorder/Wiedergabe.hpp"

namespace krv::recorder::test {

// The main window as host of playback and CPU data replay, counting the calls tests look at.
struct FormHost : WiedergabeHost {
    explicit FormHost(app::MainForm& f) : form(f) {}
    app::MainForm& form;
    int initPort = 0;
    int transferStops = 0;

    void Init_Port() override {
        ++initPort;
        form.Init_Port();
    }
    bool datenuebertragungLaeuft() const override { return form.datenuebertragungLaeuft(); }
    void datenuebertragungStoppen() override {
        ++transferStops;
        form.mnuDatenuebertragungStop_Click();
    }
    void mnuTimingDiagramm_Click() override { form.mnuTimingDiagramm_Click(); }
    void mnuStatusFenster_Click() override { form.mnuStatusFenster_Click(); }
    link::ReceivePath& receivePath() override { return form.receivePath(); }
    timing::TimingDiagramm& timing() override { return form.timing(); }
    timing::TimingFormState& timingControls() override { return form.timingControls(); }
    device::DeviceDisplay& device() override { return form.device(); }
    diag::CpuFehlerFenster& cpuFehlerFenster() override { return form.cpuFehlerFenster(); }
};

struct FakeHost : RecorderHost {
    bool transferLaeuft = true;
    int transferStarts = 0;
    int transferStops = 0;
    int timingStarts = 0;
    int timingStops = 0;
    int timingAnsicht = 0;
    bool triggerAuswahlEnabled = true;
    std::vector<std::optional<app::Colour>> farben;  // every colour the trigger selector got
    std::string dateiname;
    // What the real data transfer stop also does: Init_Port empties the receive state.
    std::function<void()> beimStopp;

    bool datenuebertragungLaeuft() const override { return transferLaeuft; }
    void datenuebertragungStarten() override {
        ++transferStarts;
        transferLaeuft = true;
    }
    void datenuebertragungStoppen() override {
        ++transferStops;
        transferLaeuft = false;
        if (beimStopp) beimStopp();
    }
    void TimingStart() override { ++timingStarts; }
    void TimingStop() override { ++timingStops; }
    void mnuTimingDiagramm_Click() override { ++timingAnsicht; }
    void setTriggerAuswahlEnabled(bool enabled) override { triggerAuswahlEnabled = enabled; }
    void setTriggerAuswahlFarbe(std::optional<app::Colour> farbe) override { farben.push_back(farbe); }
    void setDateiname(const std::string& titel) override { dateiname = titel; }
};

// Hands every accepted telegram to the recorder, first, as the dispatcher does; before that
// the clock is set for the k-th accepted telegram.
struct ZumRecorder : link::DispatchHooks {
    Recorder* rec = nullptr;
    std::function<void(int)> uhrStellen;
    int angenommen = 0;
    void RecorderTelegramm(const link::ReceiveState& s) override {
        uhrStellen(++angenommen);
        rec->RecorderTelegramm(s);
    }
};

inline Bytes operator+(Bytes a, ByteView b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The protocol file's records spelled out byte by byte, independently of the writer.
inline Bytes version1() { return {'L', '0', 'V', 1, 1}; }
inline Bytes kanaele(std::array<std::uint8_t, 9> k) {
    Bytes b{'L', '0', 'K', 9};
    b.insert(b.end(), k.begin(), k.end());
    return b;
}
inline Bytes trigger(std::uint8_t modus, std::uint16_t anzahl) {
    return {'L', '0', 'T', 3, modus, static_cast<std::uint8_t>(anzahl & 0xFF), static_cast<std::uint8_t>(anzahl >> 8)};
}
// A data record for a raw block: stored bytes 0, count, 2, 3|2, 4|1, 5, 6, time, 15 (or 0).
inline Bytes satz(const link::StatusBlock& roh, std::uint8_t anzahl, double zeit) {
    Bytes b{'L', '3', static_cast<std::uint8_t>(roh[0] & 0x1F), anzahl, roh[2], static_cast<std::uint8_t>(roh[3] | 2),
            static_cast<std::uint8_t>(roh[4] | 1), roh[5], roh[6]};
    std::uint8_t bits[8];
    std::memcpy(bits, &zeit, 8);
    b.insert(b.end(), bits, bits + 8);
    b.push_back((roh[0] & 0x10) ? roh[15] : 0);
    b.push_back(link::crc8(b));
    return b;
}

// A status block that differs from block(j) for every j != i in a stored byte.
inline link::StatusBlock block(int i, std::uint8_t byte0 = 0x05) {
    link::StatusBlock b{};
    b[0] = byte0;
    b[2] = static_cast<std::uint8_t>(i & 0x7F);
    b[5] = static_cast<std::uint8_t>(i >> 7);
    b[15] = 0x42;
    return b;
}

class RecorderFixture : public ::testing::Test {
protected:
    RecorderFixture() {
        hooks.rec = &rec;
        hooks.uhrStellen = [this](int k) { uhr.setDateValue(zeit(k)); };
        host.beimStopp = [this] { path.initPort(); };
        controls.mnuOpenLog.setEnabled(true);
        controls.mnuCloseLog.setEnabled(false);
    }

    // Time stamp of telegram k: 2026-03-01 10:00:00 + k seconds.
    static double zeit(int k) {
        Zeitpunkt z{2026, 3, 1, 10, 0, 0, 0};
        z.minute = k / 60 % 60;
        z.stunde = 10 + k / 3600;
        z.sekunde = k % 60;
        return datumswert(z);
    }

    void starte(const std::string& pfad = "/rec/a.log", ports::OpenMode modus = ports::OpenMode::Replace) {
        ASSERT_TRUE(rec.starteAufzeichnung(pfad, modus));
    }

    // Bytes arrive on the port; the clock reads zeit(k) while the k-th telegram is handled.
    void sende(const link::StatusBlock& b) { sendeRoh(link::kurzTelegramm(b)); }
    void sendeRoh(ByteView daten) {
        path.ShowData(daten);
        path.drain();
    }
    // The user stops; the clock reads the time of one more telegram.
    void stoppe() {
        uhr.setDateValue(zeit(hooks.angenommen + 1));
        rec.mnuCloseLog_Click();
    }

    const Bytes& datei(const std::string& pfad = "/rec/a.log") { return files.files.at(pfad); }
    std::vector<std::string> meldungen() const {
        std::vector<std::string> texte;
        for (const auto& box : dialogs.boxes) texte.push_back(box.text);
        return texte;
    }

    app::ProgramState state;
    app::MainFormState controls;
    ports::ScriptedDialogs dialogs;
    ports::ManualClock uhr;
    ports::MemoryFileSink files;
    FakeHost host;
    Recorder rec{state, controls, dialogs, uhr, files, host};
    ZumRecorder hooks;
    app::MemoryProfile profile;
    ports::ManualClock pfadUhr;
    link::ReceivePath path{state.einstellungen, state.playback, profile, pfadUhr, hooks};
};

}  // namespace krv::recorder::test
