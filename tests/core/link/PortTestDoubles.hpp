#pragma once
// Doubles for the port handling tests: a scripted serial port, a main window stand-in and the
// receive path with hooks that keep what reached ShowData. Port, window and dialogs write into
// one log, so tests can check the order of steps across them.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/app/Einstellungen.hpp"
#include "core/app/MemoryProfile.hpp"
#include "core/link/PortHandler.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/SerialPort.hpp"
#include "core/recorder/PlaybackState.hpp"

namespace krv::test {

using Log = std::vector<std::string>;

class ScriptedSerialPort : public ports::SerialPort {
public:
    explicit ScriptedSerialPort(Log& log) : log_(log) {}

    // Script.
    std::optional<std::string> openFehler;   // every open() fails with this while set
    std::optional<std::string> closeFehler;  // close() closes and reports this
    Bytes wartend;                           // the receive queue
    Bytes kommtWaehrendLesen;                // joins the queue right after an input()
    std::string geraet = "/dev/ttyTEST";

    // Observed state.
    int nr = 1;
    bool offen = false;
    std::string settings;
    std::size_t inputLen = 99;
    int inputAufrufe = 0;

    // The port raises an event.
    void raise(int commEvent) {
        if (handler_) handler_(commEvent);
    }
    bool hatHandler() const { return static_cast<bool>(handler_); }

    void setCommPort(int n) override {
        log_.push_back("port.setCommPort " + std::to_string(n));
        nr = n;
    }
    int commPort() const override { return nr; }
    std::string deviceName() const override { return geraet; }
    bool setSettings(std::string_view s) override {
        log_.push_back("port.setSettings " + std::string(s));
        settings = s;
        return true;
    }
    void setInputLen(std::size_t len) override {
        log_.push_back("port.setInputLen " + std::to_string(len));
        inputLen = len;
    }
    std::optional<std::string> open() override {
        log_.push_back("port.open");
        if (openFehler) return openFehler;
        offen = true;
        return std::nullopt;
    }
    std::optional<std::string> close() override {
        log_.push_back("port.close");
        offen = false;
        return closeFehler;
    }
    bool isOpen() const override { return offen; }
    Bytes input() override {
        log_.push_back("port.input");
        ++inputAufrufe;
        Bytes chunk = std::exchange(wartend, kommtWaehrendLesen);
        kommtWaehrendLesen.clear();
        return chunk;
    }
    std::size_t inBufferCount() const override { return wartend.size(); }
    void clearInBuffer() override {
        log_.push_back("port.clearInBuffer");
        wartend.clear();
    }
    void setOnComm(CommHandler handler) override { handler_ = std::move(handler); }

private:
    Log& log_;
    CommHandler handler_;
};

// The main window as far as the port handling sees it. AnzeigePortStatus mirrors the port's
// open state, as the real one does.
class FakeHost : public link::PortHost {
public:
    FakeHost(ports::SerialPort& port, Log& log) : port_(port), log_(log) {}

    bool portOffen = false;
    std::string statuszeile;
    bool timer1 = false;
    bool timer2 = false;
    bool hardwareAuswahlChecked = false;
    std::array<bool, 5> comChecked{};
    int anzeigePortStatusAufrufe = 0;
    int portVerlorenAufrufe = 0;

    bool PortOffen() const override { return portOffen; }
    void AnzeigePortStatus() override {
        log_.push_back("host.AnzeigePortStatus");
        ++anzeigePortStatusAufrufe;
        portOffen = port_.isOpen();
    }
    void setStatuszeile(const std::string& text) override {
        log_.push_back("host.Statuszeile " + text);
        statuszeile = text;
    }
    void setTimer1Enabled(bool on) override {
        log_.push_back(std::string("host.Timer1 ") + (on ? "on" : "off"));
        timer1 = on;
    }
    void setTimer2Enabled(bool on) override {
        log_.push_back(std::string("host.Timer2 ") + (on ? "on" : "off"));
        timer2 = on;
    }
    bool mnuHardwareAuswahlChecked() const override { return hardwareAuswahlChecked; }
    void mnuStatusFenster_Click() override {
        log_.push_back("host.mnuStatusFenster");
        hardwareAuswahlChecked = false;
    }
    void cpuFehlerZuruecksetzen() override { log_.push_back("host.cpuFehlerZuruecksetzen"); }
    void setMnuComChecked(int nr, bool checked) override {
        log_.push_back("host.mnuCom " + std::to_string(nr) + (checked ? " checked" : " unchecked"));
        comChecked.at(static_cast<std::size_t>(nr)) = checked;
    }
    void portVerloren() override {
        log_.push_back("host.portVerloren");
        ++portVerlorenAufrufe;
    }

private:
    ports::SerialPort& port_;
    Log& log_;
};

// Boxes go into the shared log as "box <text>" before they are answered from the script.
class LoggingDialogs : public ports::ScriptedDialogs {
public:
    explicit LoggingDialogs(Log& log) : log_(log) {}
    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override {
        log_.push_back("box " + request.text);
        return ScriptedDialogs::messageBox(request);
    }

private:
    Log& log_;
};

// Everything that reached ShowData, and what the framing made of it.
class ReceivedHooks : public link::DispatchHooks {
public:
    Bytes bytes;                  // all chunks, in order
    std::vector<Bytes> chunks;    // one entry per ShowData call
    std::vector<Bytes> telegrams; // payloads of accepted telegrams
    int crcErrors = 0;

    void RecorderTelegramm(const link::ReceiveState& s) override {
        telegrams.emplace_back(s.payload().begin(), s.payload().end());
    }
    void crcFehler() override { ++crcErrors; }
    void aufrufEnde(ByteView chunk) override {
        chunks.emplace_back(chunk.begin(), chunk.end());
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
};

// The receive path with everything it needs.
struct ReceiveRig {
    Log log;
    app::Einstellungen settings;
    recorder::PlaybackState playback;
    app::MemoryProfile profile;
    ports::ManualClock clock;
    ReceivedHooks hooks;
    link::ReceivePath receive{settings, playback, profile, clock, hooks};
    LoggingDialogs dialogs{log};
};

}  // namespace krv::test
