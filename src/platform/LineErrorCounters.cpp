#include "platform/LineErrorCounters.hpp"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include "core/ports/SerialPort.hpp"

namespace krv::platform {

std::vector<int> gewachseneZaehler(const FehlerZaehler& vorher, const FehlerZaehler& nachher) {
    namespace ev = ports::CommEvent;
    std::vector<int> codes;
    // The counters wrap as unsigned values; any change means new errors.
    if (nachher.brk != vorher.brk) codes.push_back(ev::Break);
    if (nachher.frame != vorher.frame) codes.push_back(ev::Rahmenfehler);
    if (nachher.overrun != vorher.overrun) codes.push_back(ev::Ueberlauf);
    if (nachher.bufOverrun != vorher.bufOverrun) codes.push_back(ev::PufferUeberlauf);
    if (nachher.parity != vorher.parity) codes.push_back(ev::Paritaetsfehler);
    return codes;
}

std::optional<FehlerZaehler> leseFehlerZaehler(int fd) {
    serial_icounter_struct ic{};
    if (fd < 0 || ::ioctl(fd, TIOCGICOUNT, &ic) != 0) return std::nullopt;
    return FehlerZaehler{ic.frame, ic.parity, ic.brk, ic.overrun, ic.buf_overrun};
}

void KernelLineErrors::start(int fd) {
    letzte_ = leser_(fd);
    gefragt_ = uhr_();
}

std::vector<int> KernelLineErrors::neueFehler(int fd) {
    if (!letzte_) return {};
    const auto nun = uhr_();
    if (nun - gefragt_ < Abstand) return {};
    gefragt_ = nun;
    const auto jetzt = leser_(fd);
    if (!jetzt) return {};
    std::vector<int> codes = gewachseneZaehler(*letzte_, *jetzt);
    letzte_ = jetzt;
    return codes;
}

}  // namespace krv::platform
