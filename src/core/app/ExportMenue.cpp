#include "core/app/ExportMenue.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <ostream>
#include <streambuf>

#include "core/recorder/ProtokollExport.hpp"
#include "core/state/StringTable.hpp"

namespace krv::app {
namespace {

constexpr int kTextDateiErsetzen = 4;
constexpr int kTextExportTitel = 7202;
constexpr int kTextExportFilter = 7203;
constexpr int kTextBildTitel = 7204;
constexpr int kTextBildFilter = 7205;
constexpr int kTextExportiere = 7206;
constexpr int kTextNichtSchreibbar = 7207;
constexpr int kTextExportiert = 7208;
constexpr int kTextNichtLesbar = 7209;
constexpr int kTextBildGespeichert = 7210;

// Hands what is written to the file in blocks; keeps the first failure and writes no more.
class SinkPuffer : public std::streambuf {
public:
    explicit SinkPuffer(ports::FileSink& sink) : sink_(sink) {
        setp(puffer_.data(), puffer_.data() + puffer_.size());
    }
    std::optional<std::string> fehler;

protected:
    int_type overflow(int_type c) override {
        if (!leeren()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return leeren() ? 0 : -1; }

private:
    bool leeren() {
        const auto n = static_cast<std::size_t>(pptr() - pbase());
        if (!fehler && n > 0)
            fehler = sink_.write(ByteView(reinterpret_cast<const std::uint8_t*>(pbase()), n));
        setp(puffer_.data(), puffer_.data() + puffer_.size());
        return !fehler;
    }

    ports::FileSink& sink_;
    std::array<char, 65536> puffer_{};
};

bool endetAuf(const std::string& pfad, const std::string& endung) {
    if (pfad.size() < endung.size()) return false;
    return std::equal(endung.begin(), endung.end(), pfad.end() - static_cast<std::ptrdiff_t>(endung.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::string dateiName(const std::string& pfad) {
    const auto schraegstrich = pfad.find_last_of('/');
    return schraegstrich == std::string::npos ? pfad : pfad.substr(schraegstrich + 1);
}

// The played-back file's path with the new extension: trip.log gives trip.vcd.
std::string vorschlag(const std::string& quelle, const std::string& endung) {
    const std::string name = dateiName(quelle);
    const auto punkt = name.find_last_of('.');
    return quelle.substr(0, quelle.size() - name.size()) + name.substr(0, punkt) + endung;
}

}  // namespace

const std::string& ExportMenue::text(int id) const { return LoadResString(id, state_.sprachOffset()); }

void ExportMenue::fehler(int textId, const std::string& pfad, const std::string& grund) {
    // The file ports' texts name the path already ("PATH: REASON"); any other reason gets it.
    const std::string ort = grund.rfind(pfad + ": ", 0) == 0 ? grund : pfad + ": " + grund;
    ports_.dialogs.messageBox(
        {text(textId) + "\n" + ort, {}, ports::MsgIcon::Critical, ports::MsgButtons::Ok});
}

std::optional<std::string> ExportMenue::zielWaehlen(int titel, int filter, const std::string& name) {
    const std::optional<std::string> pfad = ports_.dialogs.saveFileName({text(titel), text(filter), name});
    if (!pfad) return std::nullopt;
    const ports::ExistsResult vorhanden = ports_.dateiQuelle.exists(*pfad);
    if (vorhanden.error) {
        fehler(kTextNichtSchreibbar, *pfad, *vorhanden.error);
        return std::nullopt;
    }
    if (vorhanden.exists && ports_.dialogs.messageBox({text(kTextDateiErsetzen) + *pfad + "?",
                                                       {},
                                                       ports::MsgIcon::Question,
                                                       ports::MsgButtons::YesNo}) != ports::MsgResult::Yes) {
        return std::nullopt;
    }
    return pfad;
}

void ExportMenue::mnuExportieren_Click() {
    const std::string quelle = form_.wiedergabe().dateiPfad();
    if (quelle.empty() || ports_.exportDatei == nullptr || laeuft_) return;
    const std::optional<std::string> ziel =
        zielWaehlen(kTextExportTitel, kTextExportFilter, vorschlag(quelle, ".vcd"));
    if (!ziel) return;
    // A file of its own: playback may end while the export lets the window's events run.
    ports::OpenResult datei = ports_.dateiQuelle.open(quelle);
    if (!datei.file) return fehler(kTextNichtLesbar, quelle, datei.error.value_or(std::string()));
    ports::FileSink& sink = *ports_.exportDatei;
    if (const auto f = sink.open(*ziel, ports::OpenMode::Replace))
        return fehler(kTextNichtSchreibbar, *ziel, *f);

    laeuft_ = true;
    SinkPuffer puffer(sink);
    std::ostream out(&puffer);
    const auto format = endetAuf(*ziel, ".csv") ? recorder::ExportFormat::Csv : recorder::ExportFormat::Vcd;
    const recorder::ExportErgebnis e = recorder::exportiereProtokoll(
        *datei.file, dateiName(quelle), format, out, [this](std::size_t gelesen, std::size_t gesamt) {
            form_.controls().SSPanel2.setCaption(text(kTextExportiere) +
                                                 std::to_string(gelesen * 100 / gesamt) + " %");
            if (ereignisseVerarbeiten) ereignisseVerarbeiten();
        });
    out.flush();
    const std::optional<std::string> geschlossen = sink.close();
    laeuft_ = false;

    if (e.ablehnung)
        return fehler(kTextNichtLesbar, quelle, LoadResString(*e.ablehnung, state_.sprachOffset()));
    if (e.fehler) return fehler(kTextNichtLesbar, quelle, *e.fehler);
    if (const auto f = puffer.fehler ? puffer.fehler : geschlossen)
        return fehler(kTextNichtSchreibbar, *ziel, *f);
    form_.zeigeStatuszeile(text(kTextExportiert) + *ziel);
}

void ExportMenue::mnuBildSpeichern_Click() {
    std::optional<std::string> ziel = zielWaehlen(kTextBildTitel, kTextBildFilter, "krvdiag.png");
    if (!ziel) return;
    if (const auto f = ports_.printer.speichereAnsicht(*ziel)) return fehler(kTextNichtSchreibbar, *ziel, *f);
    form_.zeigeStatuszeile(text(kTextBildGespeichert) + *ziel);
}

}  // namespace krv::app
