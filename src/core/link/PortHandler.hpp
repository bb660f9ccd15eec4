#pragma once
// The serial port's event handler: received bytes go to ShowData, line errors go to the status
// line or to an OK/Cancel box, a lost connection closes the port with one message. Also the two
// timer ticks that belong to the port: Timer1 (poll) and Timer2 (restores the colour legend).
#include <optional>
#include <string>

#include "core/link/ReceivePath.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/SerialPort.hpp"
#include "core/state/Einstellungen.hpp"

namespace krv::link {

// What the port handling needs from the main window, which owns the status bar, the timers,
// the view menu, the port menu and the port panel.
class PortHost {
public:
    virtual ~PortHost() = default;

    // Mirror of the port's open state, refreshed only by AnzeigePortStatus.
    virtual bool PortOffen() const = 0;
    // Brings the port panel, PortOffen, the menus and the status line in line with the port.
    virtual void AnzeigePortStatus() = 0;

    // Caption of the status line SSPanel2.
    virtual void setStatuszeile(const std::string& text) = 0;
    virtual void setTimer1Enabled(bool enabled) = 0;
    virtual void setTimer2Enabled(bool enabled) = 0;

    // Whether the view menu's model list item (mnuHardwareAuswahl) carries its check mark, and
    // switching to the status window view (the handler of mnuStatusFenster).
    virtual bool mnuHardwareAuswahlChecked() const = 0;
    virtual void mnuStatusFenster_Click() = 0;

    // CpuFehlerAktiv = False, and the CPU error window unloaded if it is loaded.
    virtual void cpuFehlerZuruecksetzen() = 0;

    // Check mark of the port menu element nr (1..4).
    virtual void setMnuComChecked(int nr, bool checked) = 0;

    // The device went away and the port is closed. A running recording is ended, so that its
    // file is complete with everything received before.
    virtual void portVerloren() {}
};

// How a line error is shown.
enum class FehlerAnzeige { Statuszeile, Meldung };

struct LeitungsFehler {
    int textId;  // German id of the text; English = id + 10000
    FehlerAnzeige anzeige;
};

// The line error table: what an event code other than data (2), the ignored modem events
// (3..7) and a lost connection shows. Every other code is an unrecognised event (text 1011).
LeitungsFehler leitungsFehler(int commEvent);

// Text 1012 with the device path in place of "%1".
std::string verbindungVerlorenText(int sprachOffset, const std::string& device);

class PortHandler {
public:
    // Registers itself as the port's event handler for its lifetime.
    PortHandler(ports::SerialPort& port, ReceivePath& receive, PortHost& host, ports::Dialogs& dialogs,
                const app::Einstellungen& settings);
    ~PortHandler();
    PortHandler(const PortHandler&) = delete;
    PortHandler& operator=(const PortHandler&) = delete;

    // The port's event handler.
    void OnComm(int commEvent);

    // Poll timer tick: reads the number of waiting bytes and does nothing with it.
    void Timer1_Timer();
    // Status line timer tick: the colour legend returns, the timer stops.
    void Timer2_Timer();

    // The answer of the last line error box (form-level `Antwort`).
    std::optional<ports::MsgResult> Antwort() const { return antwort_; }

    // More than this many bytes waiting right after a read are discarded.
    static constexpr std::size_t MaxWartend = 511;

private:
    void datenEmpfangen();
    void statuszeile(int textId);
    void meldung(int textId);
    void verbindungVerloren();

    ports::SerialPort& port_;
    ReceivePath& receive_;
    PortHost& host_;
    ports::Dialogs& dialogs_;
    const app::Einstellungen& settings_;
    std::optional<ports::MsgResult> antwort_;
};

}  // namespace krv::link
