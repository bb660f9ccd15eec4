#include "CpuFehlerTextTarget.hpp"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/diag/CpuFehlerText.hpp"
#include "core/diag/CpuFehlerTextKodierung.hpp"
#include "core/state/StringTable.hpp"
#include "FuzzCheck.hpp"

namespace krv::fuzz {
namespace {

// A directory of this process's own for the file the window's reader opens; removed at exit.
class EigenesVerzeichnis {
public:
    EigenesVerzeichnis()
        : pfad_(std::filesystem::temp_directory_path() /
                ("krvdiag-fehlertext-" + std::to_string(static_cast<long>(::getpid())))) {
        std::filesystem::create_directories(pfad_);
    }
    ~EigenesVerzeichnis() {
        std::error_code ec;
        std::filesystem::remove_all(pfad_, ec);
    }
    // The program directory as the program names it: with a trailing separator.
    std::string programmPfad() const { return pfad_.string() + "/"; }

private:
    std::filesystem::path pfad_;
};

void schreibeDatei(const std::string& name, std::string_view inhalt) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
    KRV_FUZZ_PRUEFE(out.good(), "the harness can write its file");
}

}  // namespace

FehlerTextErgebnis cpuFehlerTextZiel(ByteView eingabe) {
    static const EigenesVerzeichnis verzeichnis;

    FehlerTextErgebnis e;
    if (eingabe.size() >= 2) e.fehlerNr = static_cast<std::int16_t>(eingabe[0] | (eingabe[1] << 8));
    const ByteView rest = eingabe.subspan(std::min<std::size_t>(eingabe.size(), 2));
    const std::string_view inhalt(reinterpret_cast<const char*>(rest.data()), rest.size());

    const diag::FehlerTextSuche suche = diag::sucheFehlerText(inhalt, e.fehlerNr);
    e.dateiGueltig = suche.dateiGueltig;
    e.text = suche.text;
    if (suche.text) KRV_FUZZ_PRUEFE(diag::istUtf8(*suche.text), "a text is handed on as UTF-8");

    // Whether the file is valid does not depend on the number asked for.
    const diag::FehlerTextSuche ende = diag::sucheFehlerText(inhalt, diag::kFehlerDateiEndeNr);
    KRV_FUZZ_PRUEFE(ende.dateiGueltig == suche.dateiGueltig, "validity does not depend on the number asked for");
    if (suche.dateiGueltig) {
        // Reading stops at the end record, so the last record numbered 999 is the end record.
        KRV_FUZZ_PRUEFE(ende.text == std::string(diag::kFehlerDateiEndeText), "a valid file ends with 999 Dateiende");
        // Whatever follows the end record is never looked at.
        const std::string mitAnhang = std::string(inhalt) + "\n\xFF\xFE\"unclosed,\r\n1,";
        const diag::FehlerTextSuche angehaengt = diag::sucheFehlerText(mitAnhang, e.fehlerNr);
        KRV_FUZZ_PRUEFE(angehaengt.dateiGueltig && angehaengt.text == suche.text,
                        "bytes behind the end record change nothing");
    }
    // The same bytes as the first part of a longer file: never more valid than the whole file.
    const diag::FehlerTextSuche teil = diag::sucheFehlerText(inhalt, e.fehlerNr, true);
    KRV_FUZZ_PRUEFE(!teil.dateiGueltig || suche.dateiGueltig, "a cut file is not more valid than the whole one");

    // The window's way: the file in the program directory, read by the file reader.
    schreibeDatei(diag::fehlerDateiName(verzeichnis.programmPfad(), 0), inhalt);
    e.fensterText = diag::GetCpuFehlerText(verzeichnis.programmPfad(), 0, e.fehlerNr);
    const std::string erwartet = !suche.dateiGueltig ? app::LoadResString(5002, 0)
                                 : suche.text        ? *suche.text
                                                     : app::LoadResString(5001, 0);
    KRV_FUZZ_PRUEFE(e.fensterText == erwartet, "the file reader finds what the bytes hold");
    return e;
}

}  // namespace krv::fuzz
