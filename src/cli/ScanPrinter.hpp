#pragma once
// Prints one line per framing event, as `scan` and `show` report them.
#include <ostream>

#include "cli/HexText.hpp"
#include "core/link/Dispatcher.hpp"

namespace krv::cli {

class ScanPrinter : public link::DispatchHooks {
public:
    explicit ScanPrinter(std::ostream& out) : out_(out) {}

    void Anzeige(const link::ReceiveState& s) override {
        telegram("display", s);
        nachAnzeige();
    }
    void nichtAngezeigt(const link::ReceiveState& s) override { telegram("skip", s); }
    void crcFehler() override { out_ << "crc-error\n"; }
    void kopfsatzGelesen(std::uint8_t type, ByteView payload) override {
        out_ << "header " << static_cast<char>(type);
        if (!payload.empty()) out_ << ' ' << hexText(payload);
        out_ << '\n';
    }

protected:
    // Right after the line of a displayed telegram.
    virtual void nachAnzeige() {}
    std::ostream& out() { return out_; }

private:
    // The 16-byte status block: payload 0..15, or 224..239 of a long telegram.
    void telegram(const char* what, const link::ReceiveState& s) {
        const ByteView block = s.EmpfangsString.view(s.DatenStart + (s.DatenLaenge == 256 ? 224 : 0), 16);
        out_ << what << ' ' << static_cast<char>(s.kind()) << ' ' << hexText(block) << '\n';
    }

    std::ostream& out_;
};

}  // namespace krv::cli
