#pragma once
// The real program without a window, for tools that feed bytes straight to ShowData (fuzz
// harnesses, benchmarks, the soak): settings from a text, every dialog answered from a script,
// files in memory unless a protocol file port is given, a serial port that opens and delivers
// nothing, a clock that moves only when told.
#include <string>
#include <string_view>

#include "core/app/ProgramEntry.hpp"
#include "core/app/Programm.hpp"
#include "core/ports/InstanceLock.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/NullSerialPort.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::app {

struct KeineAndereInstanz : ports::InstanceLock {
    bool acquire() override { return true; }
};

struct HeadlessProgramm {
    // programmPfad: where the error text files are looked for. protokollDatei: where recordings
    // go; without one they stay in memory (protokollDateien).
    explicit HeadlessProgramm(std::string_view einstellungen, std::string programmPfad = "./",
                              ports::FileSink* protokollDatei = nullptr)
        : profile(einstellungen), protokollZiel(protokollDatei ? *protokollDatei : protokollDateien) {
        ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, std::move(programmPfad), {});
        programm.form.Form_Load();
        ProgrammStartNachDemLaden(state, programm.form);
    }
    HeadlessProgramm(const HeadlessProgramm&) = delete;
    HeadlessProgramm& operator=(const HeadlessProgramm&) = delete;
    ~HeadlessProgramm() { programm.form.Form_Unload(); }

    MainForm& form() { return programm.form; }

    MemoryProfile profile;
    ports::ManualClock clock;
    ports::ScriptedDialogs dialogs;
    ports::NullSerialPort port;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink protokollDateien;
    ports::FileSink& protokollZiel;
    ports::MemoryFileSink cpuDatenDateien;
    ports::MemoryFileSource dateiQuelle;
    KeineAndereInstanz lock;
    ProgramState state;
    MainFormState controls;
    Programm programm{state, controls,
                      Ports{profile, clock, dialogs, port, pictures, printer, protokollZiel, cpuDatenDateien,
                            dateiQuelle}};
};

}  // namespace krv::app
