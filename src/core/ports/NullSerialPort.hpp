#pragma once
// A serial port that opens and never delivers anything itself: for headless runs, whose bytes
// go straight to ShowData (the command-line tool, benchmarks).
#include "core/ports/SerialPort.hpp"

namespace krv::ports {

class NullSerialPort : public SerialPort {
public:
    void setCommPort(int nr) override { nr_ = nr; }
    int commPort() const override { return nr_; }
    std::string deviceName() const override { return "-"; }
    bool setSettings(std::string_view) override { return true; }
    void setInputLen(std::size_t) override {}
    std::optional<std::string> open() override {
        open_ = true;
        return std::nullopt;
    }
    std::optional<std::string> close() override {
        open_ = false;
        return std::nullopt;
    }
    bool isOpen() const override { return open_; }
    Bytes input() override { return {}; }
    std::size_t inBufferCount() const override { return 0; }
    void clearInBuffer() override {}
    void setOnComm(CommHandler) override {}

private:
    int nr_ = 1;
    bool open_ = false;
};

}  // namespace krv::ports
