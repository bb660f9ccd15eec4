#include "core/link/PortHandler.hpp"

#include "core/state/StringTable.hpp"

namespace krv::link {
namespace {

namespace ev = ports::CommEvent;

constexpr int kTitelLeitungsfehler = 10;  // "Klicken Sie auf 'Abbrechen' zum Beenden ..."
constexpr int kTextUnbekannt = 1011;
constexpr int kTextVerbindungVerloren = 1012;
constexpr int kTextFarbLegende = 3002;

}  // namespace

LeitungsFehler leitungsFehler(int commEvent) {
    switch (commEvent) {
    // Errors that leave the data usable only go to the status line.
    case ev::Break:
    case ev::Rahmenfehler:
    case ev::Paritaetsfehler:
        return {commEvent, FehlerAnzeige::Statuszeile};
    case ev::CtsTimeout:
    case ev::DsrTimeout:
    case ev::Ueberlauf:
    case ev::CdTimeout:
    case ev::PufferUeberlauf:
    case ev::SendepufferVoll:
        return {commEvent, FehlerAnzeige::Meldung};
    default:
        return {kTextUnbekannt, FehlerAnzeige::Meldung};
    }
}

std::string verbindungVerlorenText(int sprachOffset, const std::string& device) {
    std::string text = app::LoadResString(kTextVerbindungVerloren, sprachOffset);
    const auto pos = text.find("%1");
    if (pos != std::string::npos) {
        text.replace(pos, 2, device);
    } else {
        // A text without the placeholder must still name the device.
        text += (text.empty() ? "" : " ") + device;
    }
    return text;
}

PortHandler::PortHandler(ports::SerialPort& port, ReceivePath& receive, PortHost& host, ports::Dialogs& dialogs,
                         const app::Einstellungen& settings)
    : port_(port), receive_(receive), host_(host), dialogs_(dialogs), settings_(settings) {
    port_.setOnComm([this](int commEvent) { OnComm(commEvent); });
}

PortHandler::~PortHandler() { port_.setOnComm({}); }

void PortHandler::OnComm(int commEvent) {
    host_.setTimer1Enabled(false);

    switch (commEvent) {
    case ev::Empfang:
        datenEmpfangen();
        break;
    case ev::Cts:
    case ev::Dsr:
    case ev::Cd:
    case ev::Ring:
    case ev::Dateiende:
        break;
    case ev::VerbindungVerloren:
        verbindungVerloren();
        break;
    default: {
        const LeitungsFehler fehler = leitungsFehler(commEvent);
        if (fehler.anzeige == FehlerAnzeige::Statuszeile) {
            statuszeile(fehler.textId);
        } else {
            meldung(fehler.textId);
        }
        break;
    }
    }

    // The poll timer runs only while the port is open, so it is not restarted after a Cancel or
    // a lost connection closed the port.
    if (port_.isOpen()) host_.setTimer1Enabled(true);
}

void PortHandler::datenEmpfangen() {
    // Bytes that arrive before the open port is mirrored stay in the queue; the start of the
    // data transfer discards them.
    if (!host_.PortOffen()) return;
    const Bytes chunk = port_.input();
    receive_.ShowData(chunk);
    // More than 511 bytes arrived while the chunk was processed: the display cannot catch up.
    if (port_.inBufferCount() > MaxWartend) port_.clearInBuffer();
}

void PortHandler::statuszeile(int textId) {
    host_.setStatuszeile(" " + app::LoadResString(textId, settings_.SprachOffset));
    host_.setTimer2Enabled(true);
}

void PortHandler::meldung(int textId) {
    // Only the loaded text and the port are used from here on: while the box is open, further
    // port and timer events can run.
    ports::MessageBoxRequest box;
    box.text = app::LoadResString(textId, settings_.SprachOffset);
    box.title = app::LoadResString(kTitelLeitungsfehler, settings_.SprachOffset);
    box.icon = ports::MsgIcon::None;
    box.buttons = ports::MsgButtons::OkCancel;
    box.beep = true;
    const ports::MsgResult antwort = dialogs_.messageBox(box);
    antwort_ = antwort;

    if (antwort == ports::MsgResult::Cancel) {
        port_.close();
        host_.AnzeigePortStatus();
    }
    port_.clearInBuffer();
    host_.setTimer2Enabled(true);
}

void PortHandler::verbindungVerloren() {
    // Reported once: a second notice after the transfer already stopped has nothing to add.
    if (!host_.PortOffen()) return;
    if (port_.isOpen()) port_.close();
    host_.portVerloren();
    // The panel turns red before the box, so events that run while the box is open already see
    // the closed port.
    host_.AnzeigePortStatus();

    ports::MessageBoxRequest box;
    box.text = verbindungVerlorenText(settings_.SprachOffset, port_.deviceName());
    box.icon = ports::MsgIcon::Exclamation;
    box.buttons = ports::MsgButtons::Ok;
    dialogs_.messageBox(box);
}

void PortHandler::Timer1_Timer() { (void)port_.inBufferCount(); }

void PortHandler::Timer2_Timer() {
    host_.setStatuszeile(app::LoadResString(kTextFarbLegende, settings_.SprachOffset));
    host_.setTimer2Enabled(false);
}

}  // namespace krv::link
