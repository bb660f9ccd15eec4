#pragma once
// One way to open a file, for every place that opens one: the path must name a file (a
// directory is refused at once, not at the first read), and every failure comes back as one
// text naming the path and the system's reason, "PATH: REASON".
#include <cstddef>
#include <optional>
#include <string>

#include "core/common/DateiFehler.hpp"

namespace krv::platform {

// "PATH: REASON" for the system error number; EISDIR reads "is a directory, not a file".
using krv::dateiFehlerText;

enum class Zugriff {
    Lesen,      // read only; FIFOs and terminals are opened without waiting for a writer
    Ersetzen,   // write at the end, created when missing, old content discarded
    Anhaengen,  // write at the end, created when missing, old content kept
};

// An open descriptor, closed when the object goes; or the failure text.
class OffeneDatei {
public:
    OffeneDatei() = default;
    ~OffeneDatei();
    OffeneDatei(OffeneDatei&& andere) noexcept;
    OffeneDatei& operator=(OffeneDatei&& andere) noexcept;
    OffeneDatei(const OffeneDatei&) = delete;
    OffeneDatei& operator=(const OffeneDatei&) = delete;

    bool offen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // "PATH: REASON" when the open failed.
    const std::string& fehler() const { return fehler_; }
    // Hands the descriptor over to the caller, who closes it.
    int loslassen();

private:
    friend OffeneDatei oeffneDatei(const std::string& pfad, Zugriff zugriff);

// Writes all of bytes to fd, going on after interruptions; 0 or the errno of the failure.
int schreibeAlles(int fd, const void* bytes, std::size_t anzahl);

// Replaces the file at pfad with bytes and syncs it; nothing, or "PATH: REASON".
std::optional<std::string> schreibeDatei(const std::string& pfad, const void* bytes, std::size_t anzahl);
    int fd_ = -1;
    std::string fehler_;
};

OffeneDatei oeffneDatei(const std::string& pfad, Zugriff zugriff);

// Writes all of bytes to fd, going on after interruptions; 0 or the errno of the failure.
int schreibeAlles(int fd, const void* bytes, std::size_t anzahl);

// Replaces the file at pfad with bytes and syncs it; nothing, or "PATH: REASON".
std::optional<std::string> schreibeDatei(const std::string& pfad, const void* bytes, std::size_t anzahl);

}  // namespace krv::platform
