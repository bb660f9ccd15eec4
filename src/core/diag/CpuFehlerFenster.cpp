#include "core/diag/CpuFehlerFenster.hpp"

#include "core/diag/CpuFehlerText.hpp"
#include "core/state/StartupSettings.hpp"
#include "core/state/StringTable.hpp"

namespace krv::diag {

CpuFehlerFenster::CpuFehlerFenster(const app::ProgramState& state, ports::ProfileStore& profile)
    : state_(state), profile_(profile) {}

void CpuFehlerFenster::ladenFallsNoetig() {
    if (!geladen_) Form_Load();
}

void CpuFehlerFenster::Form_Load() {
    geladen_ = true;
    setzeTitel();  // the icon is a design resource the Qt window sets itself
    links_ = app::readFensterTwips(profile_, kSektionFehlerFenster, "links", kFehlerFensterLinksStandard);
    oben_ = app::readFensterTwips(profile_, kSektionFehlerFenster, "oben", kFehlerFensterObenStandard);
}

void CpuFehlerFenster::Form_Unload() {
    profile_.WritePrivateProfileString(kSektionFehlerFenster, "links", std::to_string(links_));
    profile_.WritePrivateProfileString(kSektionFehlerFenster, "oben", std::to_string(oben_));
    // The instance is released: the next use starts again from the design state.
    c_.frmCpuFehlermeldung.setVisible(false);
    c_.frmCpuFehlermeldung.setCaption({});
    c_.lblCpuFehlermeldung.setCaption({});
    imVordergrund_ = false;
    geladen_ = false;
}

void CpuFehlerFenster::Show() {
    ladenFallsNoetig();
    c_.frmCpuFehlermeldung.setVisible(true);
    InDenVordergrund();
}

void CpuFehlerFenster::Unload() {
    if (geladen_) Form_Unload();
}

void CpuFehlerFenster::Init_Sprache() {
    if (!geladen_) {
        Form_Load();  // the load sets the title itself
        return;
    }
    setzeTitel();
}

void CpuFehlerFenster::setzeTitel() { c_.frmCpuFehlermeldung.setCaption(app::LoadResString(5000, state_.sprachOffset())); }

std::string CpuFehlerFenster::GetCpuFehlerText(int iFehlerNr) const {
    return diag::GetCpuFehlerText(state_.ProgrammPfad, state_.sprachOffset(), iFehlerNr);
}

void CpuFehlerFenster::SetTextCaption(int iFehlerNr) {
    ladenFallsNoetig();
    c_.lblCpuFehlermeldung.setCaption(GetCpuFehlerText(iFehlerNr));
}

void CpuFehlerFenster::Move(int links, int oben) {
    links_ = links;
    oben_ = oben;
}

}  // namespace krv::diag
