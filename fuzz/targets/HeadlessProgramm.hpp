#pragma once
// The real program without a window, as the command-line tool and the display benchmark build
// it: settings from a text, every dialog answered from a script, files in memory, a serial port
// that opens and delivers nothing (the harness hands the bytes to ShowData itself).
#include <string>
#include <string_view>

#include "core/app/MainFormState.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/app/ProgramEntry.hpp"
#include "core/app/ProgramState.hpp"
#include "core/app/Programm.hpp"
#include "core/ports/InstanceLock.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/MemoryFileSink.hpp"
#include "core/ports/MemoryFileSource.hpp"
#include "core/ports/NullSerialPort.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/ScriptedPictures.hpp"

namespace krv::fuzz {

struct KeineAndereInstanz : ports::InstanceLock {
    bool acquire() override { return true; }
};

// Where the program looks for its error text files: a directory that does not exist, so the CPU
// error window shows the "file not found" text and no harness depends on files outside.
inline constexpr const char* kProgrammPfad = "/nonexistent-krvdiag-fuzz/";

struct HeadlessProgramm {
    explicit HeadlessProgramm(std::string_view einstellungen) : profile(einstellungen) {
        app::ProgrammStartVorDemHauptfenster(state, profile, dialogs, lock, kProgrammPfad, {});
        programm.form.Form_Load();
        app::ProgrammStartNachDemLaden(state, programm.form);
    }
    HeadlessProgramm(const HeadlessProgramm&) = delete;
    HeadlessProgramm& operator=(const HeadlessProgramm&) = delete;
    ~HeadlessProgramm() { programm.form.Form_Unload(); }

    app::MainForm& form() { return programm.form; }

    app::MemoryProfile profile;
    ports::ManualClock clock;
    ports::ScriptedDialogs dialogs;
    ports::NullSerialPort port;
    ports::AlwaysLoads pictures;
    ports::RecordingPrinter printer;
    ports::MemoryFileSink protokollDateien;
    ports::MemoryFileSink cpuDatenDateien;
    ports::MemoryFileSource dateiQuelle;
    KeineAndereInstanz lock;
    app::ProgramState state;
    app::MainFormState controls;
    app::Programm programm{state, controls,
                           app::Ports{profile, clock, dialogs, port, pictures, printer, protokollDateien,
                                      cpuDatenDateien, dateiQuelle}};
};

}  // namespace krv::fuzz
