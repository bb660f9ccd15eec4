#include "core/state/MainFormState.hpp"

namespace krv::app {
namespace {

template <std::size_t N>
void nameArray(std::array<Control, N>& controls, const std::string& base) {
    for (std::size_t i = 0; i < N; ++i) controls[i].setName(base + "(" + std::to_string(i) + ")");
}

}  // namespace

MainFormState::MainFormState() {
    nameArray(mnuSprache, "mnuSprache");
    nameArray(mnuCom, "mnuCom");
    nameArray(mnuHexDumpAuswahl, "mnuHexDumpAuswahl");
    nameArray(shpLed, "shpLed");
    nameArray(lblDiagStatusText, "lblDiagStatusText");
    nameArray(lblDiagStatusWert, "lblDiagStatusWert");
    lblDiagStatusText[11].setVisible(false);
    lblDiagStatusWert[11].setVisible(false);
    // Service-mode items are hidden until a service access code is entered.
    for (Control* c : {&mnuOpenCpuDatenAbspeichern, &mnuCloseCpuDatenAbspeichern, &mnuStartCpuDatenWiedergabe,
                       &mnuStopCpuDatenWiedergabe, &mnuHexDump}) {
        c->setVisible(false);
    }
    forEach([this](Control& c) { c.setListener(&listener_); });
}

void MainFormState::forEach(const std::function<void(Control&)>& visit) {
    for (Control* c : {&frmKrvDiag, &mnuFile, &mnuOpenLog, &mnuCloseLog, &mnuOpenCpuDatenAbspeichern,
                       &mnuCloseCpuDatenAbspeichern, &M11, &mnuStartSimulation, &mnuEndSimulation,
                       &mnuStartCpuDatenWiedergabe, &mnuStopCpuDatenWiedergabe, &M12, &mnuExportieren,
                       &mnuBildSpeichern, &mnuPrint, &M13,
                       &mnuFileExit, &mnuDatenuebertragung, &mnuDatenuebertragungStart, &mnuDatenuebertragungStop,
                       &mnuExtras, &mnuSprachen}) {
        visit(*c);
    }
    for (Control& c : mnuSprache) visit(c);
    visit(mnuComAnschluss);
    for (Control& c : mnuCom) visit(c);
    visit(mnuHexDump);
    for (Control& c : mnuHexDumpAuswahl) visit(c);
    for (Control* c : {&mnuAnsicht, &mnuStatusFenster, &mnuTimingDiagramm, &mnuHardwareAuswahl, &mnuFragezeichen,
                       &mnuHilfe, &mnuInfo, static_cast<Control*>(&fraStatus), &fraTimingDiagram,
                       static_cast<Control*>(&List1), static_cast<Control*>(&hsbTimingDiagram), &cmdTimingDiagrammStartStop,
                       &cmdRecorderStartStop, &cmdWiedergabeStart, &cmdWiedergabeStop}) {
        visit(*c);
    }
    for (Control* c : {&picContainer, &Image1, &Image2, &Image3, &imgStrom, &shpOutputFault, &shpOutputLocked,
                       &shpOutputState, &shpOutputWarn, &shpCpuFault, &shpCpuS1S2, &shpCpuS3S4, &shpErwFault,
                       &shpErwIndicat, &shpErwSwitch2, &shpErwSwitch1}) {
        visit(*c);
    }
    for (Control& c : shpLed) visit(c);
    for (Control& c : lblDiagStatusText) visit(c);
    for (Control& c : lblDiagStatusWert) visit(c);
    for (Control* c : {&SSPanel1, &SSPanel2, &SSPanel3, static_cast<Control*>(&Timer1), static_cast<Control*>(&Timer2)}) {
        visit(*c);
    }
}

}  // namespace krv::app
