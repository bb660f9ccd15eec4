#include "cli/CliSession.hpp"

#include "core/app/ProgramEntry.hpp"
#include "platform/DataDirectory.hpp"

namespace krv::cli {

namespace {

std::string einstellungenFuer(const CliOptions& options) {
    return "[Einstellungen]\nSprache=" + std::to_string(options.sprachOffset) + "\n";
}

std::string datenPfad(const CliOptions& options) {
    if (options.dataDir.empty()) return platform::dataDirectory().string();
    std::string dir = options.dataDir;
    if (dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace

CliSession::CliSession(const CliOptions& options)
    : profile_(einstellungenFuer(options)),
      programm_(state_, controls_, app::Ports{profile_, clock_, dialogs_, port_, pictures_, printer_, protokollDatei_,
                                              cpuDatenDatei_, dateiQuelle_}) {
    app::ProgrammStartVorDemHauptfenster(state_, profile_, dialogs_, lock_, datenPfad(options), {});
    programm_.form.Form_Load();
    app::ProgrammStartNachDemLaden(state_, programm_.form);
    programm_.form.mnuDatenuebertragungStart_Click();
    if (options.service) {
        state_.ServiceModus1 = true;
        state_.ServiceModus2 = true;
        state_.ServiceModus3 = true;
    }
}

}  // namespace krv::cli
