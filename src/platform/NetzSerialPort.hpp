#pragma once
// The serial port of a device server on the network: "tcp://HOST:PORT" gives the line's bytes as
// they arrive, "rfc2217://HOST:PORT" speaks Telnet with the COM port control option, which sets
// the line to 9600 8N1 and reports the line's errors. To the program it is a serial port like
// the tty: the same events, a closed connection is a lost device.
//
// The connection is made on a worker thread (name lookup and connect, at most Frist), while the
// opening waits through the waiter, so the window goes on painting. TCP keep-alive finds a
// network that went away within about ten seconds.
#include <chrono>
#include <memory>
#include <vector>

#include "core/ports/ProfileStore.hpp"
#include "platform/DeskriptorPort.hpp"
#include "platform/PortMapping.hpp"
#include "platform/TelnetComPort.hpp"

namespace krv::platform {

class NetzSerialPort final : public DeskriptorPort {
public:
    static constexpr std::chrono::milliseconds Frist{5000};
    // As the tty's receive queue.
    static constexpr std::size_t MaxQueue = 65536;

    explicit NetzSerialPort(ports::ProfileStore& profile, std::chrono::milliseconds frist = Frist);
    ~NetzSerialPort() override;
    NetzSerialPort(const NetzSerialPort&) = delete;
    NetzSerialPort& operator=(const NetzSerialPort&) = delete;

    void setCommPort(int nr) override { nr_ = nr; }
    int commPort() const override { return nr_; }
    // The address configured for the current number.
    std::string deviceName() const override;
    // The server's line is always set to 9600 8N1; other settings are refused.
    bool setSettings(std::string_view settings) override;
    void setInputLen(std::size_t len) override { inputLen_ = len; }

    std::optional<std::string> open() override;
    std::optional<std::string> close() override;
    bool isOpen() const override { return fd_ >= 0; }

    Bytes input() override;
    std::size_t inBufferCount() const override;
    void clearInBuffer() override;
    void setOnComm(CommHandler handler) override { onComm_ = std::move(handler); }

    int fd() const override { return fd_; }
    void handleReadable() override;
    std::size_t imKernel() const override;
    void setDescriptorListener(DescriptorListener listener) override {
        descriptorListener_ = std::move(listener);
    }
    void setWarter(Warter warter) override { warter_ = std::move(warter); }

private:
    // The connected socket, or the message naming the address and the reason.
    int verbinde(const std::string& adresse, const NetzAdresse& a, std::string& fehler);
    // Moves everything readable into the queue. True when the connection is gone.
    bool leseVerfuegbar();
    bool sende(const Bytes& bytes);
    void schliesseDeskriptor();
    void melde(int commEvent);

    ports::ProfileStore& profile_;
    std::chrono::milliseconds frist_;
    int nr_ = 1;
    std::size_t inputLen_ = 0;
    int fd_ = -1;
    unsigned oeffnung_ = 0;
    std::unique_ptr<TelnetComPort> telnet_;  // only for rfc2217://
    bool queueUeberlauf_ = false;
    std::vector<int> wartendeFehler_;  // line errors read but not yet reported
    Bytes queue_;
    CommHandler onComm_;
    DescriptorListener descriptorListener_;
    Warter warter_;
};

}  // namespace krv::platform
