#include "core/app/ProgramEntry.hpp"

#include "core/state/StartupSettings.hpp"
#include "core/state/StringTable.hpp"

namespace krv::app {

bool ProgrammStartVorDemHauptfenster(ProgramState& state, ports::ProfileStore& profile, ports::Dialogs& dialogs,
                                     ports::InstanceLock& lock, const std::string& programmPfad,
                                     const std::function<void()>& showSplash) {
    Einstellungen& e = state.einstellungen;
    e.IniDatei = LoadResString(18, 0);
    e.SprachOffset = readSprachOffset(profile);
    if (!lock.acquire()) {
        dialogs.messageBox({LoadResString(17, e.SprachOffset), {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
        return false;
    }
    if (showSplash) showSplash();
    readStartupSettings(profile, e);
    state.ProgrammPfad = programmPfad;
    return true;
}

void ProgrammStartNachDemLaden(ProgramState& state, MainForm& form) {
    MainFormState& c = form.controls();
    const Einstellungen& e = state.einstellungen;
    c.mnuSprache[static_cast<std::size_t>(e.SprachOffset / 10000)].setChecked(true);
    c.mnuCom[static_cast<std::size_t>(e.ComPortNr)].setChecked(true);
    c.mnuHexDumpAuswahl[static_cast<std::size_t>(e.HexDumpModus)].setChecked(true);

    state.AnsichtModus = 2;
    c.fraStatus.setVisible(false);
    c.fraTimingDiagram.setVisible(false);
    c.List1.setVisible(true);
    c.List1.setEnabled(true);
    c.mnuHardwareAuswahl.setChecked(true);
}

std::int64_t splashRestzeitMs(ports::Clock& clock) {
    const std::int64_t jetzt = clock.monotonicMs();
    const std::int64_t start = (jetzt + 500) / 1000 * 1000;
    return start + 3000 - jetzt;
}

}  // namespace krv::app
