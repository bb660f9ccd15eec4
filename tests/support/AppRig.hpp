#pragma once
// The whole program over scripted ports, started as the real program starts: settings from a
// text, a serial port the test feeds, dialogs and printer that keep every request, the data
// directory (help files) a fresh temporary directory. Main window, hex dump, help window,
// service access and language switch are the real ones, wired by app::Programm.
#include <set>

#include "LinkRig.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/app/Programm.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "support/TempVerzeichnis.hpp"

namespace krv::test {

struct AppRig {
    explicit AppRig(const std::string& ini = "") : profile(ini) {}
    struct Sperre : ports::InstanceLock {
        bool frei = true;
        bool acquire() override { return frei; }
    };

    Log log;
    TempVerzeichnis daten;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    LoggingDialogs dialogs{log};
    ScriptedSerialPort port{log};
    Sperre lock;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink datei, cpuDatei;
    ports::MemoryFileSource quelle;
    app::ProgramState state;
    app::MainFormState c;
    app::Programm p{state, c, {profile, clock, dialogs, port, pictures, printer, datei, cpuDatei, quelle}};
    std::vector<Bytes> angezeigt;            // payloads that reached the display, in order
    std::vector<std::string> neuGezeichnet;  // windows repainted after a language switch
    std::set<std::string> gemeldet;          // controls of the main and hex dump window that changed

    bool start() {
        p.form.onAnzeige = [this](const link::ReceiveState& s) {
            angezeigt.emplace_back(s.payload().begin(), s.payload().end());
        };
        p.sprache.onNeuZeichnen = [this](const std::string& name) { neuGezeichnet.push_back(name); };
        c.setListener([this](const app::Control& k) { gemeldet.insert(k.name()); });
        p.hexDump.controls().setListener([this](const app::Control& k) { gemeldet.insert(k.name()); });
        if (!app::ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, daten.programmPfad(), {})) {
            return false;
        }
        p.form.Form_Load();
        app::ProgrammStartNachDemLaden(state, p.form);
        return true;
    }
    // One receive event with these bytes waiting at the port.
    void sende(const Bytes& bytes) {
        port.wartend.insert(port.wartend.end(), bytes.begin(), bytes.end());
        port.raise(ports::CommEvent::Empfang);
    }
    // A short live telegram: model and flags in byte 0, a counter in byte 2, the CPU error in 15.
    void kurz(std::uint8_t byte0, std::uint8_t byte2 = 0, std::uint8_t byte15 = 0) {
        sende(link::kurzTelegramm({byte0, 0, byte2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, byte15}));
    }
    link::ReceiveState& receive() { return p.form.receivePath().receive(); }
    // The receive buffer as the display leaves it: "L1" and then the telegram's data bytes.
    void puffer(const Bytes& daten, std::size_t laenge) {
        receive().reset();
        receive().EmpfangsString.append(Bytes{'L', '1'});
        receive().EmpfangsString.append(daten);
        receive().DatenStart = 3;
        receive().DatenLaenge = laenge;
    }
    std::string wert(const char* section, const char* key) {
        return profile.GetPrivateProfileString(section, key, "fehlt");
    }
};

}  // namespace krv::test
