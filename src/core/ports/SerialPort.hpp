#pragma once
// The serial port the device is connected to, as the program uses it: a port number COM1..COM4,
// fixed line settings, open and close, a receive queue that is read or discarded as a whole, and
// one event notification carrying an event code. The link is receive-only; nothing is written.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Bytes.hpp"

namespace krv::ports {

// Event codes passed to the event handler.
namespace CommEvent {
inline constexpr int Empfang = 2;       // received bytes are waiting
inline constexpr int Cts = 3;           // modem line changes and the end-of-file character
inline constexpr int Dsr = 4;
inline constexpr int Cd = 5;
inline constexpr int Ring = 6;
inline constexpr int Dateiende = 7;
inline constexpr int Break = 1001;            // line and buffer errors
inline constexpr int CtsTimeout = 1002;
inline constexpr int DsrTimeout = 1003;
inline constexpr int Rahmenfehler = 1004;     // framing error
inline constexpr int Ueberlauf = 1006;        // the port's hardware overran
inline constexpr int CdTimeout = 1007;
inline constexpr int PufferUeberlauf = 1008;  // receive queue overflow
inline constexpr int Paritaetsfehler = 1009;
inline constexpr int SendepufferVoll = 1010;
// The device went away (USB adapter pulled, hang-up). The port has already closed itself when
// this event arrives, and it arrives once per opening.
inline constexpr int VerbindungVerloren = 1012;
}  // namespace CommEvent

class SerialPort {
public:
    using CommHandler = std::function<void(int commEvent)>;

    virtual ~SerialPort() = default;

    // Port number 1..4 (COM1..COM4). Changed only while the port is closed.
    virtual void setCommPort(int nr) = 0;
    virtual int commPort() const = 0;
    // The device behind the current port number, for messages ("/dev/ttyUSB0").
    virtual std::string deviceName() const = 0;

    // Line settings in the form "9600,N,8,1"; false when they cannot be used. They take effect
    // at the next opening.
    virtual bool setSettings(std::string_view settings) = 0;
    // Maximum bytes one input() returns; 0 = everything waiting.
    virtual void setInputLen(std::size_t len) = 0;

    // Nothing on success, else a description of the failure for a message box.
    virtual std::optional<std::string> open() = 0;
    virtual std::optional<std::string> close() = 0;
    virtual bool isOpen() const = 0;

    // The waiting received bytes (at most InputLen), removed from the receive queue.
    virtual Bytes input() = 0;
    // Number of received bytes waiting.
    virtual std::size_t inBufferCount() const = 0;
    // Discards everything waiting in the receive queue.
    virtual void clearInBuffer() = 0;

    // The event handler; the port calls it with one CommEvent code per event.
    virtual void setOnComm(CommHandler handler) = 0;
};

// Where a port learns about line errors (break, framing, parity, overruns). Kept behind an
// interface because a pseudo-terminal cannot produce line errors, so tests inject them.
class LineErrorSource {
public:
    virtual ~LineErrorSource() = default;
    // The port was opened on this descriptor: what happened before does not count.
    virtual void start(int fd) = 0;
    // CommEvent codes of the errors that occurred since the last call, in ascending order.
    virtual std::vector<int> neueFehler(int fd) = 0;
};

}  // namespace krv::ports
