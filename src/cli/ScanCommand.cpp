#include "cli/ScanCommand.hpp"

#include <ostream>

#include "cli/ByteQuelle.hpp"
#include "cli/CliSession.hpp"
#include "cli/PortQuelle.hpp"
#include "cli/ScanPrinter.hpp"

namespace krv::cli {

int zeigeEingabe(const CliOptions& options, CliSession& session, link::DispatchHooks& drucker,
                 std::ostream& out, std::ostream& err) {
    // A stop signal ends the input as its end does: the last line still comes.
    StopSignale stop;
    const Eingabe eingabe = oeffneEingabe(options, err);
    if (!eingabe.quelle) {
        err << "krvdiag-cli: " << eingabe.fehler << '\n';
        return 2;
    }
    session.beobachten(drucker);
    link::ReceivePath& path = session.form().receivePath();
    const bool gelesen =
        speiseStrom(*eingabe.quelle, path, options.chunk, stop, out, err, [&] { return bool(out); });
    out << "buffer " << path.receive().EmpfangsLaenge() << '\n';
    if (eingabe.port && eingabe.port->verloren()) return kPortVerloren;
    return gelesen ? 0 : 2;
}

int runScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != (options.port.empty() ? 1u : 0u)) {
        throw UsageError("scan takes exactly one input file, or none with --port");
    }
    CliSession session(options);
    ScanPrinter printer(out);
    return zeigeEingabe(options, session, printer, out, err);
}

}  // namespace krv::cli
