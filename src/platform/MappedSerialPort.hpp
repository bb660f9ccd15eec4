#pragma once
// The port the settings name for the current number: a tty (LinuxSerialPort) or, for an entry
// "tcp://..." or "rfc2217://...", a serial device server (NetzSerialPort). Each opening picks
// the one the entry names at that moment; everything else goes to the one last picked.
#include <chrono>

#include "platform/LinuxSerialPort.hpp"
#include "platform/NetzSerialPort.hpp"

namespace krv::platform {

class MappedSerialPort final : public DeskriptorPort {
public:
    explicit MappedSerialPort(ports::ProfileStore& profile,
                              std::chrono::milliseconds verbindungsFrist = NetzSerialPort::Frist)
        : profile_(profile), tty_(profile), netz_(profile, verbindungsFrist) {}

    void setCommPort(int nr) override;
    int commPort() const override { return tty_.commPort(); }
    std::string deviceName() const override { return tty_.deviceName(); }
    bool setSettings(std::string_view settings) override;
    void setInputLen(std::size_t len) override;

    std::optional<std::string> open() override;
    std::optional<std::string> close() override { return aktiv().close(); }
    bool isOpen() const override { return aktiv().isOpen(); }

    Bytes input() override { return aktiv().input(); }
    std::size_t inBufferCount() const override { return aktiv().inBufferCount(); }
    void clearInBuffer() override { aktiv().clearInBuffer(); }
    void setOnComm(CommHandler handler) override;

    int fd() const override { return aktiv().fd(); }
    void handleReadable() override { aktiv().handleReadable(); }
    std::size_t imKernel() const override { return aktiv().imKernel(); }
    void setDescriptorListener(DescriptorListener listener) override;
    void setWarter(Warter warter) override { netz_.setWarter(std::move(warter)); }

private:
    DeskriptorPort& aktiv() { return netzAktiv_ ? static_cast<DeskriptorPort&>(netz_) : tty_; }
    const DeskriptorPort& aktiv() const {
        return netzAktiv_ ? static_cast<const DeskriptorPort&>(netz_) : tty_;
    }

    ports::ProfileStore& profile_;
    LinuxSerialPort tty_;
    NetzSerialPort netz_;
    bool netzAktiv_ = false;
};

}  // namespace krv::platform
