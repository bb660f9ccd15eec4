#pragma once
// Playback of a protocol file (`Wiedergabe`). It is not a timed replay: the file's records are
// fed to the same ShowData as live telegrams, and the dispatcher stores what they show in the
// timing diagram's sample store. Only a window of records that fits the trace width is loaded;
// the scroll bar moves through the file record by record and reloads the window when the
// position leaves it. The device picture, the terminal LEDs and the CPU error window show the
// record under the cursor.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/ports/Dialogs.hpp"
#include "core/ports/FileSource.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"
#include "core/state/ScrollBarControl.hpp"

namespace krv::device {
class DeviceDisplay;
}
namespace krv::diag {
class CpuFehlerFenster;
}
namespace krv::link {
class ReceivePath;
}
namespace krv::timing {
class TimingDiagramm;
struct TimingFormState;
}  // namespace krv::timing

namespace krv::recorder {

// What playback and the CPU data replay need of the main window.
class WiedergabeHost {
public:
    virtual ~WiedergabeHost() = default;

    // The port's reset: line settings, receive state, back-log threshold, CPU error window.
    virtual void Init_Port() = 0;
    // Whether data transfer runs, and the handler of its stop menu item.
    virtual bool datenuebertragungLaeuft() const = 0;
    virtual void datenuebertragungStoppen() = 0;
    // The view menu's handlers.
    virtual void mnuTimingDiagramm_Click() = 0;
    virtual void mnuStatusFenster_Click() = 0;

    // The window's receive path (ShowData), timing diagram, device picture and CPU error window.
    virtual link::ReceivePath& receivePath() = 0;
    virtual timing::TimingDiagramm& timing() = 0;
    virtual timing::TimingFormState& timingControls() = 0;
    virtual device::DeviceDisplay& device() = 0;
    virtual diag::CpuFehlerFenster& cpuFehlerFenster() = 0;
};

// Playback's module variables. SimulationsStatus, AktuellerDatensatz, TriggerSatzNr and
// LogVersion are shared with the receive path (ProgramState::playback).
struct WiedergabeZustand {
    std::int64_t ErsterDatensatzPos = 0;  // 1-based byte position of the first data record
    std::int32_t AnzahlDatensaetze = 0;   // whole 19-byte slots from there on
    std::int32_t FensterStart = 0;        // first and last record held in the sample store;
    std::int32_t FensterEnde = -1;        // -1: nothing loaded
    std::int32_t HalbesFenster = 0;
    std::int32_t LetzteScrollPos = 0;     // position at the previous call of the window loader
    int ScrollGezogen = 0;                // 1 while the user drags the scroll box
};

// One window load reads at most this many records, so that a file whose data area holds no
// valid record is passed over in bounded steps instead of at one go. The recorder never
// writes more than 52632 records into a file.
inline constexpr std::int32_t kMaxSaetzeProFenster = 65536;

// A date value as the general date format shows it: date and time, only the date for a whole
// day, only the time on day zero; empty for a value that is no date.
std::string allgemeinesDatum(double datumswert);

class Wiedergabe {
public:
    // Connects itself to the scroll bar's Change and Scroll events.
    Wiedergabe(app::ProgramState& state, app::MainFormState& controls, app::ScrollBarControl& hsbTimingDiagram,
               ports::Dialogs& dialogs, ports::FileSource& dateien, WiedergabeHost& host);
    Wiedergabe(const Wiedergabe&) = delete;
    Wiedergabe& operator=(const Wiedergabe&) = delete;

    // File menu "Wiedergabe starten...": file dialog, checks, first window.
    void mnuStartSimulation_Click();
    // The button starts as the menu item does while the menu item is enabled.
    void cmdWiedergabeStart_Click();
    // File menu "Wiedergabe stoppen": menus and buttons back, the file closed.
    void mnuEndSimulation_Click();
    void cmdWiedergabeStop_Click() { mnuEndSimulation_Click(); }

    // The scroll bar's events: the position changed; the user drags the box.
    void hsbTimingDiagram_Change();
    void hsbTimingDiagram_Scroll() { z_.ScrollGezogen = 1; }

    // Loads the record's window if needed, moves the cursor to it, updates the labels.
    void ZeigeDatensatz(std::int32_t pos);
    // Loads the window that contains pos; on a reload pos becomes the window's first record.
    // False when the file failed: playback has then ended with the system's reason.
    bool LadeFenster(std::int32_t& pos);
    // Terminal LEDs and CPU error window from the sample under the scroll bar's position.
    void AnzeigeKlemmenStatus();

    bool laeuft() const { return datei_ != nullptr; }
    const WiedergabeZustand& zustand() const { return z_; }
    // The path of the file being played back; empty when none is.
    const std::string& dateiPfad() const { return dateiPfad_; }

    // The date-and-time labels' format; the Qt layer may put the system's own here.
    std::function<std::string(double)> DatumText = allgemeinesDatum;

private:
    bool oeffnen();
    bool kopfLesen();
    void ersterUndLetzterSatz();
    bool lese(std::uint64_t offset, std::size_t anzahl, Bytes& bytes);
    void dateiFehler(const std::string& text);
    void abbrechen(int textId);
    std::uint64_t satzOffset(std::int32_t satz) const;
    PlaybackState& playback() { return state_.playback; }
    const std::string& text(int id) const;

    app::ProgramState& state_;
    app::MainFormState& c_;
    app::ScrollBarControl& hsb_;
    ports::Dialogs& dialogs_;
    ports::FileSource& dateien_;
    WiedergabeHost& host_;
    WiedergabeZustand z_;
    std::unique_ptr<ports::ReadableFile> datei_;  // WiedergabeDateiNr
    std::string dateiTitel_;
    std::string dateiPfad_;
};

}  // namespace krv::recorder
