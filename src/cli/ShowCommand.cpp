#include "cli/ShowCommand.hpp"

#include <ostream>

#include "cli/CliSession.hpp"
#include "cli/ScanCommand.hpp"
#include "cli/ScanPrinter.hpp"
#include "core/device/DeviceSnapshot.hpp"

namespace krv::cli {
namespace {

// After each displayed telegram: what the main window and the CPU error window show.
class ShowPrinter : public ScanPrinter {
public:
    ShowPrinter(std::ostream& out, CliSession& session) : ScanPrinter(out), session_(session) {}

private:
    void nachAnzeige() override {
        const app::MainFormState& c = session_.controls();
        out() << "telegram " << ++angezeigt_ << '\n';
        out() << device::modelZeile(session_.state()) << '\n';
        out() << device::modulesZeile(c) << '\n';
        out() << device::terminalsZeile(c) << '\n';
        out() << "status";
        for (std::size_t i = 0; i < c.lblDiagStatusWert.size(); ++i) {
            if (i == 11) continue;
            const app::Control& wert = c.lblDiagStatusWert[i];
            out() << ' ' << i << "=\"" << wert.caption() << '"' << (wert.opaque() ? "*" : "");
        }
        out() << '\n';
        diag::CpuFehlerFenster& fenster = session_.form().cpuFehlerFenster();
        if (fenster.sichtbar()) {
            out() << "cpu-error \"" << fenster.controls().lblCpuFehlermeldung.caption() << "\"\n";
        } else {
            out() << "cpu-error none\n";
        }
    }

    CliSession& session_;
    int angezeigt_ = 0;
};

}  // namespace

int runShow(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != (options.port.empty() ? 1u : 0u)) {
        throw UsageError("show takes exactly one input file, or none with --port");
    }
    CliSession session(options);
    ShowPrinter printer(out, session);
    return zeigeEingabe(options, session, printer, out, err);
}

}  // namespace krv::cli
