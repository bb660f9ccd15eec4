#include "core/common/DateiLesen.hpp"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/common/DateiFehler.hpp"

namespace krv {

DateiAnfang leseDateiAnfang(const std::string& pfad, std::size_t maxBytes) {
    DateiAnfang a;
    std::error_code ec;
    const auto art = std::filesystem::status(pfad, ec).type();
    if (ec) {
        a.fehler = dateiFehlerText(pfad, ec.value());
        return a;
    }
    // A directory or a FIFO would give nothing or wait forever.
    if (art != std::filesystem::file_type::regular) {
        a.fehler = dateiFehlerText(pfad, art == std::filesystem::file_type::directory ? EISDIR : EINVAL);
        return a;
    }
    errno = 0;
    std::ifstream in(pfad, std::ios::binary);
    if (!in) {
        a.fehler = dateiFehlerText(pfad, errno != 0 ? errno : EIO);
        return a;
    }
    a.daten.resize(maxBytes + 1);
    in.read(a.daten.data(), static_cast<std::streamsize>(a.daten.size()));
    if (in.bad()) {
        a.fehler = dateiFehlerText(pfad, errno != 0 ? errno : EIO);
        a.daten.clear();
        return a;
    }
    a.daten.resize(static_cast<std::size_t>(in.gcount()));
    a.abgeschnitten = a.daten.size() > maxBytes;
    if (a.abgeschnitten) a.daten.resize(maxBytes);
    a.gelesen = true;
    return a;
}

}  // namespace krv
