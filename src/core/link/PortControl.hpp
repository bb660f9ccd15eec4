#pragma once
// Opening, closing and switching the serial port from the menus: Init_Port, the data transfer
// start and stop, and the port selection COM1..COM4.
#include <optional>
#include <string>

#include "core/link/PortHandler.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/ports/SerialPort.hpp"
#include "core/state/Einstellungen.hpp"

namespace krv::link {

class PortControl {
public:
    // The device's line: 9600 baud, no parity, 8 data bits, 1 stop bit; no handshake.
    static constexpr const char* LineSettings = "9600,N,8,1";

    PortControl(ports::SerialPort& port, ReceivePath& receive, PortHost& host, ports::Dialogs& dialogs,
                ports::ProfileStore& profile, app::Einstellungen& settings);

    // Start-up: the port number from ComPortNr, the port closed, Init_Port.
    void Init_PortBeimStart();

    // Resets the line settings and the receive state; the port number and open state stay.
    void Init_Port();

    // Data transfer start and stop (menu, panel double-click, recorder and playback).
    void mnuDatenuebertragungStart_Click();
    void mnuDatenuebertragungStop_Click();

    // Port menu element index (1..4) was chosen.
    void mnuCom_Click(int index);

private:
    void fehlerMelden(const std::string& beschreibung);

    ports::SerialPort& port_;
    ReceivePath& receive_;
    PortHost& host_;
    ports::Dialogs& dialogs_;
    ports::ProfileStore& profile_;
    app::Einstellungen& settings_;
};

}  // namespace krv::link
