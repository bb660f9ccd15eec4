#include "platform/TelnetComPort.hpp"

#include <algorithm>
#include <utility>

#include "core/ports/SerialPort.hpp"

namespace krv::platform {
namespace {

namespace ev = ports::CommEvent;

void anhaengen(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) out.push_back(b);  // (insert of a list upsets GCC 12's bounds warnings)
}

void befehl(Bytes& out, std::uint8_t cmd, std::uint8_t opt) {
    anhaengen(out, {TelnetComPort::Iac, cmd, opt});
}

// One COM port control command; a 255 in its value is doubled, as everywhere in the stream.
void comPort(Bytes& out, std::uint8_t cmd, std::initializer_list<std::uint8_t> wert) {
    anhaengen(out, {TelnetComPort::Iac, TelnetComPort::Sb, TelnetComPort::ComPort, cmd});
    for (std::uint8_t b : wert) {
        out.push_back(b);
        if (b == TelnetComPort::Iac) out.push_back(b);
    }
    anhaengen(out, {TelnetComPort::Iac, TelnetComPort::Se});
}

}  // namespace

Bytes TelnetComPort::anfang() {
    Bytes out;
    for (std::uint8_t opt : {Binaer, OhneGa, ComPort}) {
        befehl(out, Will, opt);
        wirGefragt_[opt] = true;
    }
    for (std::uint8_t opt : {Binaer, OhneGa}) {
        befehl(out, Do, opt);
        erGefragt_[opt] = true;
    }
    return out;
}

void TelnetComPort::option(std::uint8_t cmd, std::uint8_t opt, Ergebnis& e) {
    // Each side answers a request only when it changes the option's state (and does not answer
    // the answer to its own request), so two sides never loop.
    switch (cmd) {
    case Do:
        if (!wir_[opt]) {
            const bool ja = wollen(opt);
            if (!std::exchange(wirGefragt_[opt], false) || !ja) befehl(e.antwort, ja ? Will : Wont, opt);
            wir_[opt] = ja;
        }
        break;
    case Dont:
        if (wir_[opt] || wirGefragt_[opt]) {
            if (!std::exchange(wirGefragt_[opt], false)) befehl(e.antwort, Wont, opt);
            wir_[opt] = false;
        }
        break;
    case Will:
        if (!er_[opt]) {
            const bool ja = opt == Binaer || opt == OhneGa;
            if (!std::exchange(erGefragt_[opt], false) || !ja) befehl(e.antwort, ja ? Do : Dont, opt);
            er_[opt] = ja;
        }
        break;
    case Wont:
        if (er_[opt] || erGefragt_[opt]) {
            if (!std::exchange(erGefragt_[opt], false)) befehl(e.antwort, Dont, opt);
            er_[opt] = false;
        }
        break;
    default:
        break;
    }
    if (wir_[ComPort] && !std::exchange(einstellungenGesendet_, true)) {
        comPort(e.antwort, SetBaud, {0, 0, 0x25, 0x80});  // 9600, four bytes in network order
        comPort(e.antwort, SetDatenbits, {8});
        comPort(e.antwort, SetParitaet, {1});   // none
        comPort(e.antwort, SetStopbits, {1});   // one
        comPort(e.antwort, SetSteuerung, {1});  // no flow control
        comPort(e.antwort, SetLinestateMaske, {LsBreak | LsRahmen | LsParitaet | LsUeberlauf});
    }
}

void TelnetComPort::unterverhandlung(Ergebnis& e) {
    // The answers to our settings (code + 100) and modem-state notifications carry nothing the
    // receive-only link uses.
    if (sub_.size() < 3 || sub_[0] != ComPort || sub_[1] != NotifyLinestate) return;
    const std::uint8_t ls = sub_[2];
    auto melde = [&e](int code) {
        const auto pos = std::lower_bound(e.fehler.begin(), e.fehler.end(), code);
        if (pos == e.fehler.end() || *pos != code) e.fehler.insert(pos, code);
    };
    if (ls & LsBreak) melde(ev::Break);
    if (ls & LsRahmen) melde(ev::Rahmenfehler);
    if (ls & LsUeberlauf) melde(ev::Ueberlauf);
    if (ls & LsParitaet) melde(ev::Paritaetsfehler);
}

TelnetComPort::Ergebnis TelnetComPort::verarbeite(ByteView bytes) {
    Ergebnis e;
    e.daten.reserve(bytes.size());
    for (const std::uint8_t b : bytes) {
        switch (zustand_) {
        case Zustand::Daten:
            if (b == Iac) {
                zustand_ = Zustand::NachIac;
            } else if (!(nachCr_ && b == 0 && !er_[Binaer])) {
                // Outside binary mode a server sends CR as CR NUL; the NUL is not data.
                e.daten.push_back(b);
            }
            nachCr_ = b == '\r';
            break;
        case Zustand::NachIac:
            if (b == Iac) {
                e.daten.push_back(b);
                zustand_ = Zustand::Daten;
            } else if (b == Do || b == Dont || b == Will || b == Wont) {
                befehl_ = b;
                zustand_ = Zustand::Option;
            } else if (b == Sb) {
                sub_.clear();
                zustand_ = Zustand::Sub;
            } else {
                zustand_ = Zustand::Daten;  // NOP, GA, DM and the like
            }
            nachCr_ = false;
            break;
        case Zustand::Option:
            option(befehl_, b, e);
            zustand_ = Zustand::Daten;
            break;
        case Zustand::Sub:
            if (b == Iac) {
                zustand_ = Zustand::SubIac;
            } else if (sub_.size() < 64) {
                sub_.push_back(b);
            }
            break;
        case Zustand::SubIac:
            if (b == Se) {
                unterverhandlung(e);
                zustand_ = Zustand::Daten;
            } else {
                if (b == Iac && sub_.size() < 64) sub_.push_back(b);
                zustand_ = Zustand::Sub;
            }
            break;
        }
    }
    return e;
}

}  // namespace krv::platform
