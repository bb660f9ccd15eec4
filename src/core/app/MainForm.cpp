#include "core/app/MainForm.hpp"

#include <utility>

#include "core/state/StringTable.hpp"

namespace krv::app {
namespace {

constexpr Colour kPanelGruen = 0x00FF00;  // RGB(0, 255, 0)
constexpr Colour kPanelRot = 0x0000FF;    // RGB(255, 0, 0)
constexpr int kAktivitaetsLed = 23;
constexpr int kStartModell = 13;

}  // namespace

MainForm::MainForm(ProgramState& state, MainFormState& controls, Ports ports)
    : state_(state),
      c_(controls),
      ports_(ports),
      receive_(state.einstellungen, state.playback, ports.profile, ports.clock, *this),
      device_(state, controls, ports.pictures, ports.dialogs),
      timing_(state, controls, timingControls_, ports.profile,
              [this](std::int16_t bit) { return device_.KonvertBitToLed(bit); }),
      recorder_(state, controls, ports.dialogs, ports.clock, ports.protokollDatei, *this),
      wiedergabe_(state, controls, controls.hsbTimingDiagram, ports.dialogs, ports.dateiQuelle, *this),
      cpuDaten_(state, controls, ports.dialogs, ports.cpuDatenDatei, ports.dateiQuelle, *this),
      cpuFenster_(state, ports.profile),
      cpuFehler_(state, cpuFenster_, ports.dialogs),
      diagStatus_(state, controls),
      portControl_(ports.serial, receive_, *this, ports.dialogs, ports.profile, state.einstellungen),
      portHandler_(ports.serial, receive_, *this, ports.dialogs, state.einstellungen) {
    // The LED rendering feeds the live traces and, while a file is loaded, the sample store.
    device_.ZeichneSpur = [this](int kanal, std::uint8_t zustand, std::uint8_t anzahl) {
        timing_.ZeichneSpur(kanal, zustand, anzahl);
    };
    device_.SampleKlemmen = [this](int spalte, std::uint8_t zustand) {
        timing_.samples().SampleKlemmenSetzen(spalte, zustand);
    };
    timing_.onScrollWertSetzen = [this](std::int32_t wert) { c_.hsbTimingDiagram.setValue(wert); };
    timing_.onScrollFokus = [this] { c_.hsbTimingDiagram.setFocus(); };
}

MainForm::~MainForm() = default;

const std::string& MainForm::text(int id) const { return LoadResString(id, state_.sprachOffset()); }

void MainForm::Form_Load() {
    c_.frmKrvDiag.setCaption(text(2));
    portControl_.Init_PortBeimStart();
    // The CRC table and the sixteen LED tables are built at compile time.
    diag::setzeStatusfensterEntwurf(c_);
    Init_Sprache();
    setzeMenueStartzustand();
    receive_.resetReceiveState();
    state_.playback.SimulationsStatus = 0;

    c_.hsbTimingDiagram.setVisible(false);
    c_.cmdTimingDiagrammStartStop.setVisible(true);
    c_.cmdRecorderStartStop.setVisible(true);
    c_.cmdWiedergabeStart.setVisible(true);
    c_.cmdWiedergabeStop.setVisible(false);

    state_.AnzeigeGueltig = 0;
    state_.CpuFehlerAktiv = false;

    device_.BildLeeren();

    std::vector<std::string> modelle;
    for (int i = 0; i < 16; ++i) modelle.push_back(text(20 + i));
    c_.List1.setItems(modelle);
    AnzeigeHardwareAuswahl(kStartModell);

    state_.ServiceModus1 = false;
    state_.ServiceModus2 = false;
    state_.ServiceModus3 = false;
    // The release and time values are shown only in service mode.
    for (std::size_t i = 1; i <= 3; ++i) c_.lblDiagStatusText[i].setVisible(false);
    timing_.Init_TimingWiedergabe();
}

void MainForm::setzeMenueStartzustand() {
    c_.mnuStartSimulation.setEnabled(true);
    c_.mnuOpenLog.setEnabled(true);
    c_.mnuOpenCpuDatenAbspeichern.setEnabled(true);
    c_.mnuStartCpuDatenWiedergabe.setEnabled(true);
    c_.mnuEndSimulation.setEnabled(false);
    c_.mnuExportieren.setEnabled(false);
    c_.mnuCloseLog.setEnabled(false);
    c_.mnuCloseCpuDatenAbspeichern.setEnabled(false);
    c_.mnuStopCpuDatenWiedergabe.setEnabled(false);
}

void MainForm::Init_Sprache() {
    const std::pair<Control*, int> captions[] = {
        {&c_.mnuFile, 101},
        {&c_.mnuOpenLog, 102},
        {&c_.mnuCloseLog, 103},
        {&c_.mnuPrint, 105},
        {&c_.mnuExportieren, 7200},
        {&c_.mnuBildSpeichern, 7201},
        {&c_.mnuStartSimulation, 106},
        {&c_.mnuEndSimulation, 107},
        {&c_.cmdWiedergabeStart, 6055},
        {&c_.cmdWiedergabeStop, 6056},
        {&c_.mnuFileExit, 104},
        {&c_.mnuDatenuebertragung, 200},
        {&c_.mnuDatenuebertragungStart, 201},
        {&c_.mnuDatenuebertragungStop, 202},
        {&c_.mnuExtras, 300},
        {&c_.mnuSprachen, 310},
        {&c_.mnuSprache[0], 311},
        {&c_.mnuSprache[1], 312},
        {&c_.mnuComAnschluss, 320},
        {&c_.mnuCom[1], 321},
        {&c_.mnuCom[2], 322},
        {&c_.mnuCom[3], 323},
        {&c_.mnuCom[4], 324},
        {&c_.mnuHexDump, 330},
        {&c_.mnuHexDumpAuswahl[0], 331},
        {&c_.mnuHexDumpAuswahl[1], 332},
        {&c_.mnuHexDumpAuswahl[2], 333},
        {&c_.mnuAnsicht, 400},
        {&c_.mnuStatusFenster, 401},
        {&c_.mnuTimingDiagramm, 402},
        {&c_.mnuHardwareAuswahl, 403},
        {&c_.mnuFragezeichen, 901},
        {&c_.mnuHilfe, 902},
        {&c_.mnuInfo, 903},
    };
    for (const auto& [control, id] : captions) control->setCaption(text(id));
    diagStatus_.InitDiagStatusText();
    timing_.Init_SpracheTiming();
    AnzeigePortStatus();
}

void MainForm::AnzeigePortStatus() {
    state_.PortOffen = ports_.serial.isOpen();
    for (Control& led : c_.shpLed) led.setColour(kWeiss);
    if (state_.PortOffen) {
        c_.Timer1.setEnabled(true);
        state_.AnzeigeGueltig = 0;
        c_.List1.setVisible(false);
        c_.SSPanel1.setColour(kPanelGruen);
        c_.mnuDatenuebertragungStart.setEnabled(false);
        c_.mnuDatenuebertragungStop.setEnabled(true);
        diagStatus_.InitDiagStatusText();
    } else {
        c_.Timer1.setEnabled(false);
        c_.List1.setVisible(true);
        c_.SSPanel1.setColour(kPanelRot);
        if (c_.mnuOpenLog.enabled()) {
            c_.mnuStartSimulation.setEnabled(true);
            c_.cmdWiedergabeStart.setVisible(true);
        }
        state_.AnzeigeGueltig = 0;
        if (c_.mnuStartSimulation.enabled()) c_.mnuDatenuebertragungStart.setEnabled(true);
        c_.mnuDatenuebertragungStop.setEnabled(false);
        if (state_.HardwareIndex > 0) c_.List1.setListIndex(state_.HardwareIndex);
    }
    state_.einstellungen.ComPortNr = ports_.serial.commPort();
    c_.SSPanel1.setCaption(text(3001) + std::to_string(state_.einstellungen.ComPortNr));
    c_.SSPanel2.setCaption(text(3002));
}

void MainForm::mnuStatusFenster_Click() {
    c_.mnuStatusFenster.setChecked(true);
    c_.mnuTimingDiagramm.setChecked(false);
    c_.mnuHardwareAuswahl.setChecked(false);
    state_.AnsichtModus = 0;
    c_.fraStatus.setVisible(true);
    c_.fraTimingDiagram.setVisible(false);
    c_.List1.setVisible(false);
}

void MainForm::mnuTimingDiagramm_Click() {
    c_.mnuStatusFenster.setChecked(false);
    c_.mnuTimingDiagramm.setChecked(true);
    c_.mnuHardwareAuswahl.setChecked(false);
    state_.AnsichtModus = 1;
    c_.fraStatus.setVisible(false);
    c_.fraTimingDiagram.setVisible(true);
    c_.List1.setVisible(false);
    if (state_.playback.SimulationsStatus == 2) c_.hsbTimingDiagram.setFocus();
}

void MainForm::mnuHardwareAuswahl_Click() {
    c_.mnuStatusFenster.setChecked(false);
    c_.mnuTimingDiagramm.setChecked(false);
    c_.mnuHardwareAuswahl.setChecked(true);
    state_.AnsichtModus = 2;
    c_.fraStatus.setVisible(false);
    c_.fraTimingDiagram.setVisible(false);
    c_.List1.setVisible(true);
}

void MainForm::mnuFileExit_Click() {
    if (onSchliessen) onSchliessen();
}

void MainForm::Form_Unload() {
    if (onAndereFensterSchliessen) onAndereFensterSchliessen();
    if (cpuDaten_.wiedergabeLaeuft()) cpuDaten_.mnuStopCpuDatenWiedergabe_Click();
    if (ports_.serial.isOpen()) ports_.serial.close();
    recorder_.mnuCloseLog_Click();  // the protocol file is complete
    if (cpuDaten_.speichert()) cpuDaten_.mnuCloseCpuDatenAbspeichern_Click();
}

void MainForm::SSPanel1_DblClick() {
    if (state_.playback.SimulationsStatus != 0) return;
    if (state_.PortOffen) {
        mnuDatenuebertragungStop_Click();
    } else {
        mnuDatenuebertragungStart_Click();
    }
}

void MainForm::List1_Click() {
    if (c_.List1.listIndex() != -1) AnzeigeHardwareAuswahl(c_.List1.listIndex());
}

void MainForm::List1_GotFocus() {
    if (state_.HardwareIndex > 0) {
        c_.List1.setListIndex(state_.HardwareIndex);
        List1_Click();  // setting the selection raises the click handling
    }
}

void MainForm::List1_LostFocus() { c_.List1.setListIndex(-1); }

void MainForm::AnzeigeHardwareAuswahl(int iIndex) {
    if (state_.PortOffen) return;  // while telegrams can arrive, the model comes from the device
    link::ReceiveState& s = receive_.receive();
    s.EmpfangsString.clear();
    Bytes block(16, 0);
    block[0] = static_cast<std::uint8_t>(iIndex);
    s.EmpfangsString.append(block);
    s.DatenLaenge = 16;
    s.DatenStart = 1;
    Anzeige(s);
}

void MainForm::zeigeStatuszeile(const std::string& text) {
    c_.SSPanel2.setCaption(text);
    c_.Timer2.setEnabled(true);
}

void MainForm::cpuFehlerZuruecksetzen() {
    state_.CpuFehlerAktiv = false;
    cpuFenster_.Unload();
}

void MainForm::setMnuComChecked(int nr, bool checked) {
    if (nr >= 1 && nr <= 4) c_.mnuCom[static_cast<std::size_t>(nr)].setChecked(checked);
}

void MainForm::setTriggerAuswahlEnabled(bool enabled) {
    timingControls_.cboKlemmen[timing::kTriggerSelektor].setEnabled(enabled);
}

void MainForm::setTriggerAuswahlFarbe(std::optional<Colour> farbe) {
    timingControls_.cboKlemmen[timing::kTriggerSelektor].setColour(farbe.value_or(kWeiss));
}

void MainForm::aktivitaetsAnzeigeUmschalten() {
    Control& led = c_.shpLed[kAktivitaetsLed];
    led.setColour(led.colour() == kCyan ? kBlau : kCyan);
}

void MainForm::crcFehler() {
    zeigeStatuszeile(text(11));
    if (beobachter) beobachter->crcFehler();
}

void MainForm::RecorderTelegramm(const link::ReceiveState& s) {
    recorder_.RecorderTelegramm(s);
    if (beobachter) beobachter->RecorderTelegramm(s);
}

void MainForm::samplesAnlegen(const link::DispatchState& d, int k) {
    timing_.samples().samplesAnlegen(d, state_.playback.AktuellerDatensatz, k);
}

void MainForm::samplesAbschliessen(int k) { timing_.samples().samplesAbschliessen(k); }

void MainForm::nichtAngezeigt(const link::ReceiveState& s) {
    if (beobachter) beobachter->nichtAngezeigt(s);
}

void MainForm::kopfsatzGelesen(std::uint8_t type, ByteView payload) {
    if (beobachter) beobachter->kopfsatzGelesen(type, payload);
}

void MainForm::aufrufEnde(ByteView chunk) {
    cpuDaten_.aufrufEnde(chunk);
    if (beobachter) beobachter->aufrufEnde(chunk);
}

void MainForm::Anzeige(const link::ReceiveState& s) {
    if (s.DatenLaenge == 0) return;
    if (s.DatenLaenge != 16 && s.DatenLaenge != 256) {
        ports_.dialogs.messageBox({text(12), {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
        return;
    }
    const std::size_t basis = s.DatenLaenge == 256 ? 224 : 0;
    device::GeraeteBytes statusByte{};
    for (std::size_t i = 0; i < statusByte.size(); ++i) statusByte[i] = s.datenByte(basis + i);
    device_.AnzeigeGeraet(statusByte);
    if (state_.playback.SimulationsStatus != 1) {
        timing_.SpurVorschub();
        // The CPU error decision comes first: the status window reads CpuFehlerAktiv.
        cpuFehler_.AnzeigeCpuFehlermeldung(statusByte[0], s);
        diagStatus_.AnzeigeDiagStatus(s);
        if (state_.einstellungen.HexDumpModus > 0 && onHexDumpAnzeige) onHexDumpAnzeige();
    }
    if (onAnzeige) onAnzeige(s);
    state_.AnzeigeGueltig = 1;
    if (beobachter) beobachter->Anzeige(s);
}

}  // namespace krv::app
