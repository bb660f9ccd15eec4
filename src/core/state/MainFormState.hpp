#pragma once
// The controls of the main window `frmKrvDiag` as data. The Qt window builds its widgets from
// this and repaints a widget when its control reports a change.
#include <array>
#include <functional>
#include <string>

#include "core/state/Control.hpp"
#include "core/state/ScrollBarControl.hpp"

namespace krv::app {

inline constexpr int kAnzahlKlemmenLeds = 44;  // shpLed(0 To 43)

struct MainFormState {
    MainFormState();
    MainFormState(const MainFormState&) = delete;
    MainFormState& operator=(const MainFormState&) = delete;

    Control frmKrvDiag{"frmKrvDiag"};  // caption = window title

    // File menu.
    Control mnuFile{"mnuFile"};
    Control mnuOpenLog{"mnuOpenLog"};
    Control mnuCloseLog{"mnuCloseLog"};
    Control mnuOpenCpuDatenAbspeichern{"mnuOpenCpuDatenAbspeichern", "CPU-Daten abspeichern starten"};
    Control mnuCloseCpuDatenAbspeichern{"mnuCloseCpuDatenAbspeichern", "CPU-Daten abspeichern beenden"};
    Control M11{"M11", "-"};
    Control mnuStartSimulation{"mnuStartSimulation"};
    Control mnuEndSimulation{"mnuEndSimulation"};
    Control mnuStartCpuDatenWiedergabe{"mnuStartCpuDatenWiedergabe", "CPU-Daten Wiedergabe start"};
    Control mnuStopCpuDatenWiedergabe{"mnuStopCpuDatenWiedergabe", "CPU-Daten Wiedergabe stop"};
    Control M12{"M12", "-"};
    Control mnuExportieren{"mnuExportieren"};      // the played-back file as VCD or CSV
    Control mnuBildSpeichern{"mnuBildSpeichern"};  // the view as a PNG picture
    Control mnuPrint{"mnuPrint"};
    Control M13{"M13", "-"};
    Control mnuFileExit{"mnuFileExit"};

    // Data transfer menu.
    Control mnuDatenuebertragung{"mnuDatenübertragung"};
    Control mnuDatenuebertragungStart{"mnuDatenübertragungStart"};
    Control mnuDatenuebertragungStop{"mnuDatenübertragungStop"};

    // Extras menu.
    Control mnuExtras{"mnuExtras"};
    Control mnuSprachen{"mnuSprachen"};
    std::array<Control, 2> mnuSprache;
    Control mnuComAnschluss{"mnuComAnschluss"};
    std::array<Control, 5> mnuCom;  // elements 1..4; element 0 is not shown
    Control mnuHexDump{"mnuHexDump"};
    std::array<Control, 3> mnuHexDumpAuswahl;

    // View menu.
    Control mnuAnsicht{"mnuAnsicht"};
    Control mnuStatusFenster{"mnuStatusFenster"};
    Control mnuTimingDiagramm{"mnuTimingDiagramm"};
    Control mnuHardwareAuswahl{"mnuHardwareAuswahl"};

    // "?" menu.
    Control mnuFragezeichen{"mnuFragezeichen"};
    Control mnuHilfe{"mnuHilfe"};
    Control mnuInfo{"mnuInfo"};

    // Views sharing the area beside the picture.
    Control fraStatus{"fraStatus"};
    Control fraTimingDiagram{"fraTimingDiagram"};
    ListControl List1{"List1"};
    ScrollBarControl hsbTimingDiagram{"hsbTimingDiagram"};

    // Buttons.
    Control cmdTimingDiagrammStartStop{"cmdTimingDiagrammStartStop", "Start"};
    Control cmdRecorderStartStop{"cmdRecorderStartStop", "Recorder"};
    Control cmdWiedergabeStart{"cmdWiedergabeStart"};
    Control cmdWiedergabeStop{"cmdWiedergabeStop"};

    // Device picture: the container, the four picture areas (caption = the loaded picture
    // file's path, empty = no picture), the module LEDs and the terminal LEDs; terminal LED 23
    // doubles as the telegram activity indicator.
    Control picContainer{"picContainer"};
    Control Image1{"Image1"};
    Control Image2{"Image2"};
    Control Image3{"Image3"};
    Control imgStrom{"imgStrom"};
    Control shpOutputFault{"shpOutputFault"};
    Control shpOutputLocked{"shpOutputLocked"};
    Control shpOutputState{"shpOutputState"};
    Control shpOutputWarn{"shpOutputWarn"};
    Control shpCpuFault{"shpCpuFault"};
    Control shpCpuS1S2{"shpCpuS1S2"};
    Control shpCpuS3S4{"shpCpuS3S4"};
    Control shpErwFault{"shpErwFault"};
    Control shpErwIndicat{"shpErwIndicat"};
    Control shpErwSwitch2{"shpErwSwitch2"};
    Control shpErwSwitch1{"shpErwSwitch1"};
    std::array<Control, kAnzahlKlemmenLeds> shpLed;

    // Status window labels 0..29 (index 11 does not exist and stays hidden).
    std::array<Control, 30> lblDiagStatusText;
    std::array<Control, 30> lblDiagStatusWert;

    // Status bar: port panel, status line, right-hand panel.
    Control SSPanel1{"SSPanel1"};
    Control SSPanel2{"SSPanel2"};
    Control SSPanel3{"SSPanel3"};

    TimerControl Timer1{"Timer1", 1000};
    TimerControl Timer2{"Timer2", 5000};

    // Every control once, in a fixed order (menus in menu order).
    void forEach(const std::function<void(Control&)>& visit);

    // The single listener every control reports its changes to.
    void setListener(ControlListener listener) { listener_ = std::move(listener); }

private:
    ControlListener listener_;
};

}  // namespace krv::app
