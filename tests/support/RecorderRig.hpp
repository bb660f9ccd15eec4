#pragma once
// The main window as the program starts it, with files in memory, a port that opens and trace strips
// 27 pixels wide (10 samples fit); and the protocol file's records spelled out, not written.
#include <gtest/gtest.h>

#include <cstring>

#include "core/app/MainForm.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/link/Crc8.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/NullSerialPort.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/timing/RasterSpur.hpp"

namespace krv::recorder::test {

inline Bytes operator+(Bytes a, ByteView b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// 2026-03-01 10:00:00 + k seconds.
inline double zeit(int k) { return datumswert({2026, 3, 1, 10 + k / 3600, k / 60 % 60, k % 60}); }

inline Bytes version1() { return {'L', '0', 'V', 1, 1}; }
inline Bytes kanaele(std::array<std::uint8_t, 9> k) {
    return Bytes{'L', '0', 'K', 9} + Bytes(k.begin(), k.end());
}
inline Bytes trigger(std::uint8_t modus, std::uint16_t n) {
    return {'L', '0', 'T', 3, modus, static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>(n >> 8)};
}
// A data record for a raw block: stored bytes 0, count, 2, 3|2, 4|1, 5, 6, time, 15 (or 0).
inline Bytes satz(const link::StatusBlock& roh, std::uint8_t anzahl, double t) {
    Bytes b{'L', '3', static_cast<std::uint8_t>(roh[0] & 0x1F), anzahl, roh[2],
            static_cast<std::uint8_t>(roh[3] | 2), static_cast<std::uint8_t>(roh[4] | 1), roh[5], roh[6]};
    std::uint8_t bits[8];
    std::memcpy(bits, &t, 8);
    b.insert(b.end(), bits, bits + 8);
    b.push_back((roh[0] & 0x10) ? roh[15] : 0);
    b.push_back(link::crc8(b));
    return b;
}
// Model 9; differs from block(j) for every j != i in a stored byte; terminal bit 0 on for odd i.
inline link::StatusBlock block(int i, std::uint8_t byte0 = 0) {
    link::StatusBlock b{};
    b[0] = byte0 ? byte0 : 0x09;
    b[2] = static_cast<std::uint8_t>((i & 0x7F) | (i % 2 ? 0x80 : 0));
    b[5] = static_cast<std::uint8_t>(i >> 7);
    b[15] = 0x42;
    return b;
}
// Header group (channel 0 shows terminal bit 0) and n records of block(i), stamped zeit(i).
inline Bytes protokoll(int n, int cpuFehlerSatz = -1) {
    Bytes b = version1() + kanaele({1, 0, 0, 0, 0, 0, 0, 0, 36}) + trigger(3, 12);
    for (int i = 0; i < n; ++i) b = std::move(b) + satz(block(i, i == cpuFehlerSatz ? 0x19 : 0), 1, zeit(i));
    return b;
}

// Scripted answers; the test may act before each box (events go on while a box is open).
struct Dialoge : ports::ScriptedDialogs {
    std::function<void(std::size_t kasten)> waehrendBox;
    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override {
        if (waehrendBox) waehrendBox(boxes.size() + 1);
        return ScriptedDialogs::messageBox(request);
    }
    std::vector<std::string> texte() const {
        std::vector<std::string> t;
        for (const auto& b : boxes) t.push_back(b.text);
        return t;
    }
};
struct FreieInstanz : ports::InstanceLock {
    bool acquire() override { return true; }
};

struct Fenster {
    explicit Fenster(ports::FileSink* protokollDatei = nullptr)
        : form(state, controls, app::Ports{profile, uhr, dialogs, port, bilder, drucker,
                                           protokollDatei ? *protokollDatei : protokoll, cpuDatei, quelle}) {
        app::ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, "/data/", {});
        form.Form_Load();
        app::ProgrammStartNachDemLaden(state, form);
        std::array<timing::Spur*, timing::kAnzahlKanaele> zeiger{};
        for (std::size_t i = 0; i < spuren.size(); ++i) {
            spuren[i] = std::make_unique<timing::RasterSpur>(27, 16);
            zeiger[i] = spuren[i].get();
        }
        form.timing().setzeSpuren(zeiger);
        form.onAnzeige = [this](const link::ReceiveState& s) {
            angezeigt.emplace_back(s.payload().begin(), s.payload().end());
        };
        form.cpuDaten().ereignisseVerarbeiten = [this] { ++pumpen, beimPumpen ? beimPumpen() : void(); };
    }

    // Recording to pfad; telegram k arrives at zeit(k), the stop one second after the last one.
    bool starte(const std::string& pfad = "/rec/a.log") {
        dialogs.fileAnswers.push_back(pfad);
        form.mnuOpenLog_Click();
        return form.recorder().laeuft();
    }
    void sende(const link::StatusBlock& b) { sendeRoh(link::kurzTelegramm(b)); }
    void sendeRoh(ByteView daten) { uhr.setDateValue(zeit(++k)), form.receivePath().ShowData(daten); }
    void stoppe() { uhr.setDateValue(zeit(++k)), form.mnuCloseLog_Click(); }
    const Bytes& datei() { return protokoll.files.at("/rec/a.log"); }

    // Playback (or the CPU data replay) of a file chosen in the file dialog.
    bool spiele(const Bytes& inhalt, const std::string& pfad = "/log/a.log", bool cpu = false) {
        quelle.files[pfad] = inhalt;
        dialogs.fileAnswers.push_back(pfad);
        cpu ? form.mnuStartCpuDatenWiedergabe_Click() : form.mnuStartSimulation_Click();
        return form.wiedergabe().laeuft();
    }
    std::pair<std::int32_t, std::int32_t> fenster() {
        return {form.wiedergabe().zustand().FensterStart, form.wiedergabe().zustand().FensterEnde};
    }
    app::ScrollBarControl& hsb() { return controls.hsbTimingDiagram; }
    timing::TimingFormState& tc() { return form.timingControls(); }

    app::MemoryProfile profile;
    ports::ManualClock uhr;
    Dialoge dialogs;
    ports::NullSerialPort port;
    FreieInstanz lock;
    ports::AlwaysLoads bilder;
    ports::RecordingPrinter drucker;
    ports::MemoryFileSink protokoll, cpuDatei;
    ports::MemoryFileSource quelle;
    app::ProgramState state;
    app::MainFormState controls;
    app::MainForm form;
    std::array<std::unique_ptr<timing::RasterSpur>, timing::kAnzahlKanaele> spuren;
    std::vector<Bytes> angezeigt;  // payload of every status block shown
    int k = 0, pumpen = 0;
    std::function<void()> beimPumpen;
};

}  // namespace krv::recorder::test
