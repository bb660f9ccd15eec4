#pragma once
// CPU data (service mode): the raw received byte stream stored in a file exactly as it reached
// ShowData, and such a file fed back through the receive path as if it arrived on the line. A
// replay exercises the whole framing, checking and display chain. It runs inside the menu
// command and keeps the window responsive by letting events run between its chunks; a stop
// chosen meanwhile ends it before the next chunk.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/common/Bytes.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/FileSink.hpp"
#include "core/ports/FileSource.hpp"
#include "core/recorder/Wiedergabe.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::recorder {

class CpuDaten {
public:
    // Bytes handed to ShowData at a time during a replay.
    static constexpr std::size_t kBlockGroesse = 512;

    CpuDaten(app::ProgramState& state, app::MainFormState& controls, ports::Dialogs& dialogs,
             ports::FileSink& speicherDatei, ports::FileSource& dateien, WiedergabeHost& host);
    CpuDaten(const CpuDaten&) = delete;
    CpuDaten& operator=(const CpuDaten&) = delete;

    // "CPU-Daten abspeichern starten": file dialog, replace/append question, file opened at its end.
    void mnuOpenCpuDatenAbspeichern_Click();
    // "CPU-Daten abspeichern beenden".
    void mnuCloseCpuDatenAbspeichern_Click();
    // "CPU-Daten Wiedergabe start": choose a file and replay it to its end (or to a stop).
    void mnuStartCpuDatenWiedergabe_Click();
    // "CPU-Daten Wiedergabe stop": also ends a replay that is running.
    void mnuStopCpuDatenWiedergabe_Click();

    // End of every ShowData call: the chunk is appended to the CPU data file while one is
    // open. A write error asks Retry/Cancel; Cancel closes the file and drops the chunk.
    void aufrufEnde(ByteView chunk);

    bool speichert() const { return speicherDatei_.isOpen(); }  // CpuDatenDateiNr <> 0
    bool wiedergabeLaeuft() const { return quelle_ != nullptr; }

    // Lets pending window events run (the Qt layer passes its event processing). Called after
    // every chunk and every empty call of the drain.
    std::function<void()> ereignisseVerarbeiten;

private:
    bool schreibeMitNachfrage(ByteView bytes);
    void abspielen(std::uint64_t lauf);
    void zeigeFortschritt(std::uint64_t position, std::uint64_t gesamt);
    void pumpen();
    void fehlerMelden(const std::string& fehler);
    const std::string& text(int id) const;

    app::ProgramState& state_;
    app::MainFormState& c_;
    ports::Dialogs& dialogs_;
    ports::FileSink& speicherDatei_;
    ports::FileSource& dateien_;
    WiedergabeHost& host_;

    std::unique_ptr<ports::ReadableFile> quelle_;  // the replayed file (WiedergabeDateiNr)
    // Every start and every stop counts one up: a replay loop runs while the count is its own.
    std::uint64_t laufNr_ = 0;
    // Chunks that arrive while a write error box is open wait here, so the file keeps their order.
    Bytes wartend_;
    bool schreibtGerade_ = false;
};

}  // namespace krv::recorder
