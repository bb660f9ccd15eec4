#pragma once
// The link layer's rig: a scripted serial port, a main window stand-in and dialogs that write into
// one log (the order of steps across them), and the receive path with hooks that note what it did.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/link/PortHandler.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ManualClock.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/ports/SerialPort.hpp"
#include "core/state/Einstellungen.hpp"
#include "core/state/MemoryProfile.hpp"
#include "core/state/PlaybackState.hpp"

namespace krv::test {

using Log = std::vector<std::string>;

class ScriptedSerialPort : public ports::SerialPort {
public:
    explicit ScriptedSerialPort(Log& log) : log_(log) {}

    std::optional<std::string> openFehler;   // every open() fails with this while set
    std::optional<std::string> closeFehler;  // close() closes and reports this
    Bytes wartend;                           // the receive queue
    Bytes kommtWaehrendLesen;                // joins the queue right after an input()
    std::string geraet = "/dev/ttyTEST";
    int nr = 1;
    bool offen = false;

    void raise(int commEvent) { if (handler_) handler_(commEvent); }
    bool hatHandler() const { return static_cast<bool>(handler_); }

    void setCommPort(int n) override { nr = n; log_.push_back("port.setCommPort " + std::to_string(n)); }
    int commPort() const override { return nr; }
    std::string deviceName() const override { return geraet; }
    bool setSettings(std::string_view s) override {
        log_.push_back("port.setSettings " + std::string(s));
        return true;
    }
    void setInputLen(std::size_t len) override { log_.push_back("port.setInputLen " + std::to_string(len)); }
    std::optional<std::string> open() override {
        log_.push_back("port.open");
        if (!openFehler) offen = true;
        return openFehler;
    }
    std::optional<std::string> close() override {
        log_.push_back("port.close");
        offen = false;
        return closeFehler;
    }
    bool isOpen() const override { return offen; }
    Bytes input() override {
        log_.push_back("port.input");
        return std::exchange(wartend, std::exchange(kommtWaehrendLesen, {}));
    }
    std::size_t inBufferCount() const override { return wartend.size(); }
    void clearInBuffer() override { wartend.clear(); log_.push_back("port.clearInBuffer"); }
    void setOnComm(CommHandler handler) override { handler_ = std::move(handler); }

private:
    Log& log_;
    CommHandler handler_;
};

// The main window as the port handling sees it; AnzeigePortStatus mirrors the port's open state.
class FakeHost : public link::PortHost {
public:
    FakeHost(ports::SerialPort& port, Log& log) : port_(port), log_(log) {}

    bool portOffen = false;
    bool hardwareAuswahlChecked = false;
    std::array<bool, 5> comChecked{};
    int portVerlorenAufrufe = 0;

    bool PortOffen() const override { return portOffen; }
    void AnzeigePortStatus() override {
        portOffen = port_.isOpen();
        log_.push_back("host.AnzeigePortStatus");
    }
    void setStatuszeile(const std::string& text) override { log_.push_back("host.Statuszeile " + text); }
    void setTimer1Enabled(bool on) override { log_.push_back(on ? "host.Timer1 on" : "host.Timer1 off"); }
    void setTimer2Enabled(bool on) override { log_.push_back(on ? "host.Timer2 on" : "host.Timer2 off"); }
    bool mnuHardwareAuswahlChecked() const override { return hardwareAuswahlChecked; }
    void mnuStatusFenster_Click() override {
        hardwareAuswahlChecked = false;
        log_.push_back("host.mnuStatusFenster");
    }
    void cpuFehlerZuruecksetzen() override { log_.push_back("host.cpuFehlerZuruecksetzen"); }
    void setMnuComChecked(int nr, bool checked) override {
        comChecked.at(static_cast<std::size_t>(nr)) = checked;
        log_.push_back("host.mnuCom " + std::to_string(nr) + (checked ? " checked" : " unchecked"));
    }
    void portVerloren() override { ++portVerlorenAufrufe; log_.push_back("host.portVerloren"); }

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

// What reached ShowData and what came of it. `events` is a line of words: "show1:7" / "skip1:7"
// (shown, or not for the back-log: kind and first payload byte), "crc", "hdrK11" (header record:
// type and length), "new4" / "end4" (samples while a file loads), "blink" (activity indicator) and
// "|19" (end of a call: the chunk's size).
class ReceivedHooks : public link::DispatchHooks {
public:
    Bytes bytes;                   // all chunks, in order
    std::vector<Bytes> telegrams;  // payloads that reached the recorder
    int crcErrors = 0;
    std::string events;
    std::string kanaele;  // the timing channels that changed, in order
    int triggerWechsel = 0;

    void RecorderTelegramm(const link::ReceiveState& s) override {
        telegrams.emplace_back(s.payload().begin(), s.payload().end());
    }
    void samplesAnlegen(const link::DispatchState&, int k) override { wort("new" + std::to_string(k)); }
    void samplesAbschliessen(int k) override { wort("end" + std::to_string(k)); }
    void aktivitaetsAnzeigeUmschalten() override { wort("blink"); }
    void Anzeige(const link::ReceiveState& s) override { wort("show" + art(s)); }
    void nichtAngezeigt(const link::ReceiveState& s) override { wort("skip" + art(s)); }
    void crcFehler() override { ++crcErrors; wort("crc"); }
    void kopfsatzGelesen(std::uint8_t type, ByteView p) override {
        wort("hdr" + std::string(1, static_cast<char>(type)) + std::to_string(p.size()));
    }
    void kanalGeaendert(int j) override { kanaele += std::to_string(j); }
    void triggerGeaendert() override { ++triggerWechsel; }
    void aufrufEnde(ByteView chunk) override {
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        wort("|" + std::to_string(chunk.size()));
    }

private:
    static std::string art(const link::ReceiveState& s) {
        const ByteView p = s.payload();
        return std::string(1, static_cast<char>(s.kind())) + ":" + (p.empty() ? "-" : std::to_string(p[0]));
    }
    void wort(const std::string& w) { events += (events.empty() ? "" : " ") + w; }
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

namespace krv::linktest {

// A short live telegram whose status block starts with byte0.
inline Bytes kurz(std::uint8_t byte0) { return link::kurzTelegramm(link::StatusBlock{byte0}); }

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace krv::linktest
