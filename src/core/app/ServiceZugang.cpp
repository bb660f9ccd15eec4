#include "core/app/ServiceZugang.hpp"

#include <string_view>

namespace krv::app {
namespace {

// Compared in full and case-sensitively; nothing is trimmed.
constexpr std::string_view kErsterCode = "Tovk";
constexpr std::string_view kZweiterCode = "Hesto";

// The status window rows of release and muting values.
constexpr std::size_t kServiceZeilen[] = {1, 2, 3};

}  // namespace

PasswortDialogState::PasswortDialogState() {
    frmPassword.setVisible(false);
    forEach([this](Control& c) { c.setListener(&listener_); });
}

void PasswortDialogState::forEach(const std::function<void(Control&)>& visit) {
    for (Control* c : {&frmPassword, &lblPassword, &txtPassword, &cmdOK, &cmdAbbrechen}) visit(*c);
}

ServiceZugang::ServiceZugang(ProgramState& state, MainFormState& mainControls, hexdump::HexDumpFenster& hexDump)
    : state_(state), m_(mainControls), hexDump_(hexDump) {}

bool ServiceZugang::picContainer_KeyDown(int keyCode, int shift, bool picContainerHatFokus) {
    if (!picContainerHatFokus || keyCode != kTasteL || shift != kShiftCtrl) return false;
    Show();
    return true;
}

void ServiceZugang::Show() {
    if (geladen_) {
        ++nachVorne_;
    } else {
        Form_Load();
    }
    c_.frmPassword.setVisible(true);
}

void ServiceZugang::Form_Load() {
    geladen_ = true;
    sperren();  // the icon is a design resource the Qt dialog sets itself
}

void ServiceZugang::sperren() {
    m_.mnuHexDump.setVisible(false);
    hexDump_.Unload();
    state_.ServiceModus1 = false;
    state_.ServiceModus2 = false;
    state_.ServiceModus3 = false;
    for (std::size_t i : kServiceZeilen) m_.lblDiagStatusText[i].setVisible(false);
    for (std::size_t i : kServiceZeilen) m_.lblDiagStatusWert[i].setCaption({});
    for (Control* c : {&m_.mnuOpenCpuDatenAbspeichern, &m_.mnuCloseCpuDatenAbspeichern,
                       &m_.mnuStartCpuDatenWiedergabe, &m_.mnuStopCpuDatenWiedergabe}) {
        c->setVisible(false);
    }
}

void ServiceZugang::cmdOK_Click() {
    const std::string& eingabe = c_.txtPassword.caption();
    if (eingabe == kErsterCode) {
        state_.ServiceModus1 = true;
        state_.ServiceModus2 = true;
        state_.ServiceModus3 = true;
        for (std::size_t i : kServiceZeilen) m_.lblDiagStatusText[i].setVisible(true);
        m_.mnuHexDump.setVisible(true);
        if (state_.einstellungen.HexDumpModus > 0) hexDump_.Show();
    }
    if (eingabe == kZweiterCode) {
        for (Control* c : {&m_.mnuOpenCpuDatenAbspeichern, &m_.mnuCloseCpuDatenAbspeichern,
                           &m_.mnuStartCpuDatenWiedergabe, &m_.mnuStopCpuDatenWiedergabe}) {
            c->setVisible(true);
        }
    }
    Unload();
}

void ServiceZugang::Unload() {
    if (!geladen_) return;
    // The instance is released: the next opening starts with an empty text box.
    c_.frmPassword.setVisible(false);
    c_.txtPassword.setCaption({});
    geladen_ = false;
}

}  // namespace krv::app
