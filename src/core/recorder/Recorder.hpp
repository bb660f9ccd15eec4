#pragma once
// The data recorder (`ModulRecorder`): writes the accepted telegrams into a protocol file, one
// data record per run of identical status blocks. In a trigger mode the records are kept in a
// ring in memory and written, with a trigger record in front, when the recording ends; the
// recording then ends by itself 30 status changes after the trigger. Without a trigger every
// record goes to the file as soon as its run ends, up to 52631 + 1 records.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/link/ReceiveState.hpp"
#include "core/ports/Clock.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/FileSink.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "core/state/Control.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::recorder {

// What the recorder needs of the main window beyond the menu items and buttons it switches.
class RecorderHost {
public:
    virtual ~RecorderHost() = default;

    // Whether the port is open, and the data transfer menu handlers (start and stop).
    virtual bool datenuebertragungLaeuft() const = 0;
    virtual void datenuebertragungStarten() = 0;
    virtual void datenuebertragungStoppen() = 0;

    // Timing diagram: TimingStart (clear, run, stop caption), TimingStop, and the view menu's
    // handler that shows the diagram.
    virtual void TimingStart() = 0;
    virtual void TimingStop() = 0;
    virtual void mnuTimingDiagramm_Click() = 0;

    // The trigger selector cboKlemmen(9): enabled state and back colour (nothing = the normal
    // window background).
    virtual void setTriggerAuswahlEnabled(bool enabled) = 0;
    virtual void setTriggerAuswahlFarbe(std::optional<app::Colour> farbe) = 0;

    // lblDateiname: the file title of the recording.
    virtual void setDateiname(const std::string& titel) = 0;
};

// The recorder's module variables.
struct RecorderZustand {
    static constexpr int RecRingGroesse = 200;
    static constexpr int RecNachTriggerMax = 30;
    static constexpr std::int32_t RecSatzMax = 52631;  // 52631 x 19 = 999,989 bytes

    bool dateiOffen = false;  // RecorderDateiNr <> 0
    int TriggerModus = 0;     // the trigger mode of this recording (the selector is locked meanwhile)
    bool RecKopfGeschrieben = false;
    std::optional<StatusBlock> RecLetzterStatus;  // the pending run's normalised block; empty = none
    std::uint8_t RecWiederholungen = 0;           // its repeat count; 0 = nothing pending
    std::array<Datensatz, RecRingGroesse> RecRing{};
    int RecRingStart = 0;
    int RecTriggerIndex = -1;  // ring slot of the record in which the trigger fired; -1 = not fired
    int RecRingIndex = 0;      // slot the next record is built in
    std::uint8_t RecTriggerReferenz = 0;
    int RecNachTrigger = 0;  // records since the trigger fired; 0 = not fired
    std::int32_t RecSatzZaehler = 0;
};

// The trigger record's count: records from the ring start up to and including the trigger
// record; 200 - start when the trigger never fired (index -1).
int triggerAnzahl(int triggerIndex, int ringStart, int ringGroesse = RecorderZustand::RecRingGroesse);

class Recorder {
public:
    Recorder(app::ProgramState& state, app::MainFormState& controls, ports::Dialogs& dialogs, ports::Clock& clock,
             ports::FileSink& datei, RecorderHost& host);
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // File menu "Datenrecorder starten...": file dialog, replace/append question, start.
    void mnuOpenLog_Click();
    // File menu "Datenrecorder stoppen"; also the end at shutdown and when the port is lost.
    // Does nothing while no recording runs.
    void mnuCloseLog_Click();
    // The toggle button: start when the start menu item is enabled, else stop.
    void cmdRecorderStartStop_Click();

    // Starts a recording on path after the questions were answered: opens the file, switches
    // the menus and buttons, resets the recorder, starts the timing diagram and the data
    // transfer. False (after an exclamation box) when the file cannot be opened.
    bool starteAufzeichnung(const std::string& pfad, ports::OpenMode modus);

    // The dispatcher's first step for every accepted telegram.
    void RecorderTelegramm(const link::ReceiveState& s);

    // The button caption for the current language (part of the language switch).
    void Init_SpracheRecorder();

    bool laeuft() const { return z_.dateiOffen; }
    const RecorderZustand& zustand() const { return z_; }

private:
    void Init_Recorder();
    void telegramm(const StatusBlock& block);
    void beenden();
    void RecorderBeenden();
    // Builds the pending run's record with the current time.
    Datensatz baueSatz();
    void ringWeiter();
    bool triggerAusgeloest(const Datensatz& satz) const;

    bool SchreibeVersionsSatz();
    bool SchreibeKanalSatz();
    bool SchreibeTriggerSatz();
    // Writes one record; on failure asks Retry/Cancel with the system's reason. False after
    // Cancel, and for every write after that.
    bool schreibe(ByteView bytes);

    void meldung(int id, ports::MsgIcon icon);
    void fehlerMelden(const std::string& text);
    const std::string& text(int id) const;

    app::ProgramState& state_;
    app::MainFormState& c_;
    ports::Dialogs& dialogs_;
    ports::Clock& clock_;
    ports::FileSink& datei_;
    RecorderHost& host_;
    RecorderZustand z_;
    bool schreibAbbruch_ = false;  // the user cancelled a write error: nothing more is written
    bool beendetGerade_ = false;   // step D is running
};

}  // namespace krv::recorder
