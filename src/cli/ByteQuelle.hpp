#pragma once
// Where the received bytes of scan, show and record come from: a file, standard input ("-") or
// a FIFO, read piece by piece as the bytes arrive. Another source (a port) only has to provide
// lies(); speiseStrom() hands whatever the source delivers to the receive path.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "cli/StopSignale.hpp"
#include "core/common/Bytes.hpp"
#include "core/link/ReceivePath.hpp"

namespace krv::cli {

class ByteQuelle {
public:
    virtual ~ByteQuelle() = default;
    // Appends the bytes there now to puffer, waiting at most wartezeitMs for some (-1: until
    // bytes come, the input ends or a stop signal arrives). Lesen::Daten with nothing appended
    // means the time ran out. On Lesen::Fehler, fehler holds the message naming the input.
    virtual Lesen lies(Bytes& puffer, StopSignale& stop, int wartezeitMs, std::string& fehler) = 0;
};

// A descriptor read with poll(2) and read(2).
class FdQuelle : public ByteQuelle {
public:
    // name: what messages call the input ("standard input" or the path). Takes over fd.
    FdQuelle(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~FdQuelle() override;
    FdQuelle(const FdQuelle&) = delete;
    FdQuelle& operator=(const FdQuelle&) = delete;

    Lesen lies(Bytes& puffer, StopSignale& stop, int wartezeitMs, std::string& fehler) override;
    int fd() const { return fd_; }

private:
    int fd_;
    std::string name_;
};

// The input argument opened: standard input for "-", else the file (a directory or an
// unreadable path gives fehler as "PATH: REASON" and no source).
struct GeoeffneteQuelle {
    std::unique_ptr<FdQuelle> quelle;
    std::string fehler;
};
GeoeffneteQuelle oeffneEingabe(const std::string& pfad);

// Feeds the source to the receive path in pieces of `stueck` bytes (draining after each) as it
// arrives, until the input ends, a stop signal comes or weiter() says no. A piece is shorter
// only at the end, or when the input pauses for a moment
// (a live stream: what has come is shown, as the serial port would deliver it). `out` is
// flushed whenever the input is waited for, so each line appears as its telegram is handled.
// Returns false after a read error, which has been written to err.
template <typename Weiter>
bool speiseStrom(ByteQuelle& quelle, link::ReceivePath& path, std::size_t stueck, StopSignale& stop,
                 std::ostream& out, std::ostream& err, Weiter weiter);

// ---- implementation ------------------------------------------------------------------------

bool speiseStromSchritt(ByteQuelle& quelle, Bytes& offen, StopSignale& stop, std::ostream& out,
                        std::ostream& err, bool& ende, bool& pause);

template <typename Weiter>
bool speiseStrom(ByteQuelle& quelle, link::ReceivePath& path, std::size_t stueck, StopSignale& stop,
                 std::ostream& out, std::ostream& err, Weiter weiter) {
    Bytes offen;
    bool ende = false;
    bool gut = true;
    while (!ende && weiter()) {
        bool pause = false;
        gut = speiseStromSchritt(quelle, offen, stop, out, err, ende, pause) && gut;
        std::size_t pos = 0;
        while (weiter() && pos < offen.size() && (ende || pause || offen.size() - pos >= stueck)) {
            const std::size_t n = std::min(stueck, offen.size() - pos);
            path.ShowData(ByteView(offen).subspan(pos, n));
            path.drain();
            pos += n;
        }
        offen.erase(offen.begin(), offen.begin() + static_cast<std::ptrdiff_t>(pos));
    }
    return gut;
}

}  // namespace krv::cli
