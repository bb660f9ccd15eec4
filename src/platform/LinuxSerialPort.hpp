#pragma once
// The serial port on a Linux tty: opened raw and non-blocking, never as controlling terminal,
// exclusively. The event loop watches fd() and calls handleReadable() when it is readable (or
// hung up); the port then raises its events: data, line errors from the error source, and a
// lost connection, after which the descriptor is already closed.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/ports/ProfileStore.hpp"
#include "core/ports/SerialPort.hpp"
#include "platform/DeskriptorPort.hpp"

namespace krv::platform {

struct LineSettings {
    int baud = 9600;
    char parity = 'N';  // 'N', 'E' or 'O'
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2
};

// "9600,N,8,1" and the like (parity letter in either case); nothing for anything else or a
// baud rate the tty layer does not know.
std::optional<LineSettings> parseLineSettings(std::string_view text);

// The message for a failed opening of path with error err: the path and the system's reason,
// and what to do for the usual causes. A permission failure names the group owning the device.
std::string describeOpenError(const std::string& path, int err);

class LinuxSerialPort final : public DeskriptorPort {
public:
    // Bytes the receive queue holds at most; beyond that, bytes are dropped and the receive
    // buffer overflow event is raised.
    static constexpr std::size_t MaxQueue = 65536;

    // Without an error source the kernel's error counters are used.
    explicit LinuxSerialPort(ports::ProfileStore& profile, std::unique_ptr<ports::LineErrorSource> lineErrors = nullptr);
    ~LinuxSerialPort() override;
    LinuxSerialPort(const LinuxSerialPort&) = delete;
    LinuxSerialPort& operator=(const LinuxSerialPort&) = delete;

    void setCommPort(int nr) override { nr_ = nr; }
    int commPort() const override { return nr_; }
    // The device path configured for the current number.
    std::string deviceName() const override;

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
    // On a hung-up line the count cannot be had; the descriptor's readability then reports it.
    std::size_t imKernel() const override;
    void setDescriptorListener(DescriptorListener listener) override {
        descriptorListener_ = std::move(listener);
    }

private:
    // Moves everything readable into the queue. True when the device is gone.
    bool leseVerfuegbar();
    void schliesseDeskriptor();
    void melde(int commEvent);

    ports::ProfileStore& profile_;
    std::unique_ptr<ports::LineErrorSource> lineErrors_;
    int nr_ = 1;
    LineSettings settings_;
    std::size_t inputLen_ = 0;
    int fd_ = -1;
    unsigned oeffnung_ = 0;  // counts openings, so a stale event is not raised for a new one
    bool queueUeberlauf_ = false;
    Bytes queue_;
    CommHandler onComm_;
    DescriptorListener descriptorListener_;
};

}  // namespace krv::platform
