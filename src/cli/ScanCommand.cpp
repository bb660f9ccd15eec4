#include "cli/ScanCommand.hpp"

#include <ostream>

#include "cli/CliSession.hpp"
#include "cli/HexText.hpp"

namespace krv::cli {
namespace {

// The 16-byte status block: payload 0..15, or 224..239 of a long telegram.
ByteView statusBlock(const link::ReceiveState& s) {
    return s.EmpfangsString.view(s.DatenStart + (s.DatenLaenge == 256 ? 224 : 0), 16);
}

class ScanPrinter : public link::DispatchHooks {
public:
    explicit ScanPrinter(std::ostream& out) : out_(out) {}

    void Anzeige(const link::ReceiveState& s) override { telegram("display", s); }
    void nichtAngezeigt(const link::ReceiveState& s) override { telegram("skip", s); }
    void crcFehler() override { out_ << "crc-error\n"; }
    void kopfsatzGelesen(std::uint8_t type, ByteView payload) override {
        out_ << "header " << static_cast<char>(type);
        if (!payload.empty()) out_ << ' ' << hexText(payload);
        out_ << '\n';
    }

private:
    void telegram(const char* what, const link::ReceiveState& s) {
        out_ << what << ' ' << static_cast<char>(s.kind()) << ' ' << hexText(statusBlock(s)) << '\n';
    }
    std::ostream& out_;
};

}  // namespace

int runScan(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != 1) throw UsageError("scan takes exactly one input file");
    const InputData input = readInput(options.files[0]);
    if (!input.error.empty()) {
        err << input.error << '\n';
        return 2;
    }
    ScanPrinter printer(out);
    CliSession session(options, printer);
    session.feed(input.bytes);
    out << "buffer " << session.receivePath().receive().EmpfangsLaenge() << '\n';
    return 0;
}

}  // namespace krv::cli
