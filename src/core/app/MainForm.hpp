#pragma once
// The behaviour of the main window `frmKrvDiag`: its load sequence, menus, port panel, status
// line and timers, and the receive path behind it. The window's controls live in
// MainFormState; the Qt window renders them and forwards its events to the handlers here.
#include <functional>
#include <memory>
#include <string>

#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"
#include "core/device/DeviceDisplay.hpp"
#include "core/diag/CpuFehlerAnzeige.hpp"
#include "core/diag/CpuFehlerFenster.hpp"
#include "core/diag/DiagStatus.hpp"
#include "core/recorder/CpuDaten.hpp"
#include "core/recorder/Recorder.hpp"
#include "core/recorder/Wiedergabe.hpp"
#include "core/timing/TimingDiagramm.hpp"
#include "core/timing/TimingFormState.hpp"
#include "core/link/PortControl.hpp"
#include "core/link/PortHandler.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/Clock.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/FileSink.hpp"
#include "core/ports/FileSource.hpp"
#include "core/ports/Pictures.hpp"
#include "core/ports/Printer.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/ports/SerialPort.hpp"

namespace krv::app {

struct Ports {
    ports::ProfileStore& profile;
    ports::Clock& clock;
    ports::Dialogs& dialogs;
    ports::SerialPort& serial;
    ports::Pictures& pictures;
    ports::Printer& printer;
    ports::FileSink& protokollDatei;  // the recorder's protocol file
    ports::FileSink& cpuDatenDatei;   // the stored raw stream (service mode)
    ports::FileSource& dateiQuelle;   // files read for playback and replay
    ports::FileSink* exportDatei = nullptr;  // the file menu's export; none: nothing is exported
};

class MainForm : public link::DispatchHooks,
                 public link::PortHost,
                 public recorder::RecorderHost,
                 public recorder::WiedergabeHost {
public:
    MainForm(ProgramState& state, MainFormState& controls, Ports ports);
    ~MainForm() override;

    // Load sequence of the window, all steps in order.
    void Form_Load();
    // Unloading the window however it is triggered: other windows, port, recording.
    void Form_Unload();

    void Init_Sprache();
    void AnzeigePortStatus() override;
    void Init_Port() override { portControl_.Init_Port(); }

    // Menus.
    void mnuDatenuebertragungStart_Click() { portControl_.mnuDatenuebertragungStart_Click(); }
    void mnuDatenuebertragungStop_Click() { portControl_.mnuDatenuebertragungStop_Click(); }
    void mnuCom_Click(int index) { portControl_.mnuCom_Click(index); }
    void mnuStatusFenster_Click() override;
    void mnuTimingDiagramm_Click() override;
    void cmdTimingDiagrammStartStop_Click() { timing_.cmdTimingDiagrammStartStop_Click(); }
    void mnuHardwareAuswahl_Click();
    void mnuFileExit_Click();
    void mnuOpenLog_Click() { recorder_.mnuOpenLog_Click(); }
    void mnuCloseLog_Click() { recorder_.mnuCloseLog_Click(); }
    void cmdRecorderStartStop_Click() { recorder_.cmdRecorderStartStop_Click(); }
    void mnuStartSimulation_Click() { wiedergabe_.mnuStartSimulation_Click(); }
    void mnuEndSimulation_Click() { wiedergabe_.mnuEndSimulation_Click(); }
    void cmdWiedergabeStart_Click() { wiedergabe_.cmdWiedergabeStart_Click(); }
    void cmdWiedergabeStop_Click() { wiedergabe_.cmdWiedergabeStop_Click(); }
    void mnuOpenCpuDatenAbspeichern_Click() { cpuDaten_.mnuOpenCpuDatenAbspeichern_Click(); }
    void mnuCloseCpuDatenAbspeichern_Click() { cpuDaten_.mnuCloseCpuDatenAbspeichern_Click(); }
    void mnuStartCpuDatenWiedergabe_Click() { cpuDaten_.mnuStartCpuDatenWiedergabe_Click(); }
    void mnuStopCpuDatenWiedergabe_Click() { cpuDaten_.mnuStopCpuDatenWiedergabe_Click(); }

    // Status bar and model list.
    void SSPanel1_DblClick();
    void List1_Click();
    void List1_GotFocus();
    void List1_LostFocus();
    void AnzeigeHardwareAuswahl(int iIndex);

    // Timers and the port's events.
    void Timer1_Timer() { portHandler_.Timer1_Timer(); }
    void Timer2_Timer() { portHandler_.Timer2_Timer(); }
    // The serial port's notification (the Qt layer calls it from its event loop).
    void OnComm(int commEvent) { portHandler_.OnComm(commEvent); }

    // A transient text in the status line; the colour legend returns after 5 seconds.
    void zeigeStatuszeile(const std::string& text);

    // The window closes itself (exit menu); the Qt layer sets this.
    std::function<void()> onSchliessen;

    link::ReceivePath& receivePath() override { return receive_; }
    device::DeviceDisplay& device() override { return device_; }
    diag::DiagStatus& diagStatus() { return diagStatus_; }
    diag::CpuFehlerFenster& cpuFehlerFenster() override { return cpuFenster_; }
    timing::TimingDiagramm& timing() override { return timing_; }
    timing::TimingFormState& timingControls() override { return timingControls_; }
    recorder::Wiedergabe& wiedergabe() { return wiedergabe_; }
    recorder::CpuDaten& cpuDaten() { return cpuDaten_; }
    recorder::Recorder& recorder() { return recorder_; }
    ProgramState& state() { return state_; }
    MainFormState& controls() { return c_; }
    const std::string& text(int id) const;

    // PortHost.
    bool PortOffen() const override { return state_.PortOffen; }
    void setStatuszeile(const std::string& text) override { c_.SSPanel2.setCaption(text); }
    void setTimer1Enabled(bool enabled) override { c_.Timer1.setEnabled(enabled); }
    void setTimer2Enabled(bool enabled) override { c_.Timer2.setEnabled(enabled); }
    bool mnuHardwareAuswahlChecked() const override { return c_.mnuHardwareAuswahl.checked(); }
    void cpuFehlerZuruecksetzen() override;
    void setMnuComChecked(int nr, bool checked) override;
    void portVerloren() override { recorder_.mnuCloseLog_Click(); }

    // RecorderHost. The recorder asks the port itself: at unload the port closes before the
    // recording ends, while the mirror PortOffen still says open.
    bool datenuebertragungLaeuft() const override { return ports_.serial.isOpen(); }
    void datenuebertragungStarten() override { mnuDatenuebertragungStart_Click(); }
    void datenuebertragungStoppen() override { mnuDatenuebertragungStop_Click(); }
    void TimingStart() override { timing_.TimingStart(); }
    void TimingStop() override { timing_.TimingStop(); }
    void setTriggerAuswahlEnabled(bool enabled) override;
    void setTriggerAuswahlFarbe(std::optional<Colour> farbe) override;
    void setDateiname(const std::string& titel) override { timingControls_.lblDateiname.setCaption(titel); }

    // DispatchHooks: the window's own steps, each also passed on to the observer.
    void RecorderTelegramm(const link::ReceiveState& s) override;
    void aktivitaetsAnzeigeUmschalten() override;
    void crcFehler() override;
    void Anzeige(const link::ReceiveState& s) override;
    void nichtAngezeigt(const link::ReceiveState& s) override;
    void kopfsatzGelesen(std::uint8_t type, ByteView payload) override;
    void aufrufEnde(ByteView chunk) override;
    void samplesAnlegen(const link::DispatchState& d, int k) override;
    void samplesAbschliessen(int k) override;
    void kanalGeaendert(int j) override { timing_.selektorZeigen(j); }
    void triggerGeaendert() override { timing_.selektorZeigen(timing::kTriggerSelektor); }

    // Sees every dispatch event after the window has handled it (the command-line tool prints them).
    link::DispatchHooks* beobachter = nullptr;

    // Where the other subsystems join the window's sequences; each may stay empty.
    std::function<void(const link::ReceiveState&)> onAnzeige;  // after the display of one status block
    std::function<void()> onAndereFensterSchliessen;   // hex dump, info and help windows at unload
    std::function<void()> onHexDumpAnzeige;            // the hex dump window, while it is in use

private:
    void setzeMenueStartzustand();

    ProgramState& state_;
    MainFormState& c_;
    Ports ports_;
    link::ReceivePath receive_;
    device::DeviceDisplay device_;
    timing::TimingFormState timingControls_;
    timing::TimingDiagramm timing_;
    recorder::Recorder recorder_;
    recorder::Wiedergabe wiedergabe_;
    recorder::CpuDaten cpuDaten_;
    diag::CpuFehlerFenster cpuFenster_;
    diag::CpuFehlerAnzeige cpuFehler_;
    diag::DiagStatus diagStatus_;
    link::PortControl portControl_;
    link::PortHandler portHandler_;
};

}  // namespace krv::app
