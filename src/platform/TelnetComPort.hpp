#pragma once
// The Telnet side of a serial device server that speaks the COM port control option (RFC 2217):
// what the client sends first (the options it wants, then 9600 baud, 8 data bits, no parity,
// 1 stop bit, no flow control and the line errors to be told of), the server's stream split into
// the line's data (255 arrives doubled), its line-state notifications as CommEvent codes, and the
// answers to its option requests. Bytes in, bytes out: the port does the I/O.
#include <cstdint>
#include <vector>

#include "core/common/Bytes.hpp"

namespace krv::platform {

class TelnetComPort {
public:
    // Telnet commands and options used here.
    static constexpr std::uint8_t Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250, Se = 240;
    static constexpr std::uint8_t Binaer = 0, OhneGa = 3, ComPort = 44;
    // COM port control commands of the client; the server answers with the same code + 100.
    static constexpr std::uint8_t SetBaud = 1, SetDatenbits = 2, SetParitaet = 3, SetStopbits = 4,
                                  SetSteuerung = 5, NotifyLinestate = 106, SetLinestateMaske = 10;
    // Line-state bits: break, framing, parity and overrun errors.
    static constexpr std::uint8_t LsBreak = 0x10, LsRahmen = 0x08, LsParitaet = 0x04, LsUeberlauf = 0x02;

    struct Ergebnis {
        Bytes daten;             // the line's bytes
        std::vector<int> fehler; // CommEvent codes, ascending, each once
        Bytes antwort;           // to send back to the server
    };

    // The client's opening: the options it will and wants to use. The line settings follow as
    // soon as the server agrees to the COM port option.
    Bytes anfang();
    // Takes the next bytes from the server, which may end anywhere, also inside a command.
    Ergebnis verarbeite(ByteView bytes);

private:
    enum class Zustand { Daten, NachIac, Option, Sub, SubIac };
    void option(std::uint8_t befehl, std::uint8_t opt, Ergebnis& e);
    void unterverhandlung(Ergebnis& e);
    static bool wollen(std::uint8_t opt) { return opt == Binaer || opt == OhneGa || opt == ComPort; }

    Zustand zustand_ = Zustand::Daten;
    std::uint8_t befehl_ = 0;
    Bytes sub_;
    bool wir_[256] = {};       // options in effect on our side (WILL agreed)
    bool er_[256] = {};        // options in effect on the server's side (DO agreed)
    bool erGefragt_[256] = {}; // a DO of ours waits for its answer
    bool wirGefragt_[256] = {};// a WILL of ours waits for its answer
    bool einstellungenGesendet_ = false;
    bool nachCr_ = false;
};

}  // namespace krv::platform
