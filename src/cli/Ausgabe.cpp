#include "cli/Ausgabe.hpp"

#include <unistd.h>

#include <cerrno>

namespace krv::cli {

bool FdAusgabe::leeren() {
    const char* p = pbase();
    while (fehler_ == 0 && p < pptr()) {
        const ssize_t n = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fehler_ = n < 0 ? errno : EIO;
        else p += n;
    }
    setp(puffer_.data(), puffer_.data() + puffer_.size());
    return fehler_ == 0;
}

FdAusgabe::int_type FdAusgabe::overflow(int_type zeichen) {
    if (!leeren()) return traits_type::eof();
    if (!traits_type::eq_int_type(zeichen, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(zeichen);
        pbump(1);
    }
    return traits_type::not_eof(zeichen);
}

int FdAusgabe::sync() { return leeren() ? 0 : -1; }

}  // namespace krv::cli
