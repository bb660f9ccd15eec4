#include "platform/MappedSerialPort.hpp"

#include "platform/PortMapping.hpp"

namespace krv::platform {

void MappedSerialPort::setCommPort(int nr) {
    tty_.setCommPort(nr);
    netz_.setCommPort(nr);
}

bool MappedSerialPort::setSettings(std::string_view settings) {
    // The tty's answer: a server's line is set to the program's one fixed setting anyway.
    netz_.setSettings(settings);
    return tty_.setSettings(settings);
}

void MappedSerialPort::setInputLen(std::size_t len) {
    tty_.setInputLen(len);
    netz_.setInputLen(len);
}

void MappedSerialPort::setOnComm(CommHandler handler) {
    tty_.setOnComm(handler);
    netz_.setOnComm(std::move(handler));
}

void MappedSerialPort::setDescriptorListener(DescriptorListener listener) {
    tty_.setDescriptorListener(listener);
    netz_.setDescriptorListener(std::move(listener));
}

std::optional<std::string> MappedSerialPort::open() {
    if (isOpen()) return aktiv().open();  // "already open"
    netzAktiv_ = istNetzAdresse(portGeraet(profile_, commPort()));
    return aktiv().open();
}

}  // namespace krv::platform
