#include "core/link/PortControl.hpp"

namespace krv::link {

PortControl::PortControl(ports::SerialPort& port, ReceivePath& receive, PortHost& host, ports::Dialogs& dialogs,
                         ports::ProfileStore& profile, app::Einstellungen& settings)
    : port_(port), receive_(receive), host_(host), dialogs_(dialogs), profile_(profile), settings_(settings) {}

void PortControl::fehlerMelden(const std::string& beschreibung) {
    ports::MessageBoxRequest box;
    box.text = beschreibung;
    box.icon = ports::MsgIcon::Exclamation;
    box.buttons = ports::MsgButtons::Ok;
    dialogs_.messageBox(box);
}

void PortControl::Init_PortBeimStart() {
    port_.setCommPort(settings_.ComPortNr);
    if (port_.isOpen()) port_.close();
    Init_Port();
}

void PortControl::Init_Port() {
    port_.setSettings(LineSettings);
    port_.setInputLen(0);
    port_.clearInBuffer();
    receive_.initPort();  // back-log threshold 4096 and an empty receive state
    host_.cpuFehlerZuruecksetzen();
}

void PortControl::mnuDatenuebertragungStart_Click() {
    Init_Port();
    if (const auto fehler = port_.open()) fehlerMelden(*fehler);
    if (host_.mnuHardwareAuswahlChecked()) host_.mnuStatusFenster_Click();
    host_.AnzeigePortStatus();
    // Whatever arrived before the port was mirrored as open is not shown.
    port_.clearInBuffer();
    receive_.resetReceiveState();
}

void PortControl::mnuDatenuebertragungStop_Click() {
    if (const auto fehler = port_.close()) fehlerMelden(*fehler);
    Init_Port();
    host_.AnzeigePortStatus();
}

void PortControl::mnuCom_Click(int index) {
    const int alt = port_.commPort();
    if (alt == index) return;
    host_.setMnuComChecked(alt, false);

    std::optional<std::string> fehler;
    const bool warOffen = port_.isOpen();
    if (warOffen) fehler = port_.close();
    port_.setCommPort(index);
    if (!fehler && warOffen) {
        Init_Port();
        fehler = port_.open();
    }
    if (fehler) {
        fehlerMelden(*fehler);
        port_.setCommPort(alt);  // the port stays closed
    }
    host_.AnzeigePortStatus();

    settings_.ComPortNr = port_.commPort();
    profile_.WritePrivateProfileString(app::kSektionEinstellungen, "ComPort", std::to_string(settings_.ComPortNr));
    host_.setMnuComChecked(settings_.ComPortNr, true);
}

}  // namespace krv::link
