#pragma once
// Standard output of krvdiag-cli: buffered, written with write(2), and the system's reason kept
// when a write fails, so that a reader that went away (EPIPE: `krvdiag-cli show big.bin | head`)
// can end the program quietly while a full disk is reported.
#include <array>
#include <streambuf>

namespace krv::cli {

class FdAusgabe : public std::streambuf {
public:
    explicit FdAusgabe(int fd) : fd_(fd) { setp(puffer_.data(), puffer_.data() + puffer_.size()); }
    FdAusgabe(const FdAusgabe&) = delete;
    FdAusgabe& operator=(const FdAusgabe&) = delete;

    // The errno of the first failed write; 0 while all went well.
    int fehler() const { return fehler_; }

protected:
    int_type overflow(int_type zeichen) override;
    int sync() override;

private:
    bool leeren();

    int fd_;
    int fehler_ = 0;
    std::array<char, 65536> puffer_{};
};

}  // namespace krv::cli
