#pragma once
// The program's core wired up for one headless run: the state right after start-up and a
// successful start of the data transfer, with an in-memory settings file, a clock that stands
// still, dialogs that answer OK and a port whose data come from the input file.
#include <string>

#include "cli/CliOptions.hpp"
#include "core/app/Programm.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/common/Bytes.hpp"
#include "core/ports/InstanceLock.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/NullSerialPort.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/RecordingPrinter.hpp"
#include "core/ports/ScriptedPictures.hpp"
#include "platform/PosixFileSink.hpp"
#include "platform/PosixFileSource.hpp"

namespace krv::cli {

class CliSession {
public:
    explicit CliSession(const CliOptions& options);

    // Every dispatch event after start-up also goes to these hooks.
    void beobachten(link::DispatchHooks& hooks) { programm_.form.beobachter = &hooks; }

    app::MainForm& form() { return programm_.form; }
    app::Programm& programm() { return programm_; }
    app::ProgramState& state() { return state_; }
    app::MainFormState& controls() { return controls_; }

private:
    struct NoOtherCopy : ports::InstanceLock {
        bool acquire() override { return true; }
    };

    app::MemoryProfile profile_;
    ports::ManualClock clock_;
    ports::ScriptedDialogs dialogs_;
    ports::NullSerialPort port_;
    ports::AlwaysLoads pictures_;  // headless: every picture counts as loaded
    ports::RecordingPrinter printer_;  // headless: nothing is printed
    platform::PosixFileSink protokollDatei_;
    platform::PosixFileSink cpuDatenDatei_;
    platform::PosixFileSource dateiQuelle_;
    NoOtherCopy lock_;
    app::ProgramState state_;
    app::MainFormState controls_;
    app::Programm programm_;
};

}  // namespace krv::cli
