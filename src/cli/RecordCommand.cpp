#include "cli/RecordCommand.hpp"

#include <cctype>
#include <ctime>
#include <ostream>

#include "cli/ByteQuelle.hpp"
#include "cli/CliSession.hpp"
#include "cli/PortQuelle.hpp"
#include "cli/StopSignale.hpp"
#include "core/recorder/Recorder.hpp"
#include "core/state/StringTable.hpp"
#include "platform/PosixFileSink.hpp"

namespace krv::cli {
namespace {

constexpr const char* kStandardStart = "2026-01-01 00:00:00";
constexpr long kStandardSchrittMs = 1000;

// The recorder's clock: start + k x step, where the caller sets k.
class SchrittUhr : public ports::Clock {
public:
    SchrittUhr(std::int64_t startMs, std::int64_t schrittMs) : startMs_(startMs), schrittMs_(schrittMs) {}
    std::int64_t k = 0;
    std::int64_t monotonicMs() override { return k * schrittMs_; }
    double nowDateValue() override { return lokalerDatumswert(startMs_ + k * schrittMs_); }

private:
    std::int64_t startMs_;
    std::int64_t schrittMs_;
};

// The recorder's boxes as lines: its own texts as `message <id> <text>` on standard output,
// the system's reasons for a file error on standard error. A write error is not retried.
class CliMeldungen : public ports::Dialogs {
public:
    CliMeldungen(std::ostream& out, std::ostream& err, int sprachOffset)
        : out_(out), err_(err), sprachOffset_(sprachOffset) {}

    bool dateiFehler = false;

    ports::MsgResult messageBox(const ports::MessageBoxRequest& request) override {
        for (int id : {recorder::MeldungTriggerAusgeloest, recorder::MeldungMaximumErreicht,
                       recorder::MeldungKeineLogDatei, recorder::MeldungUnbekannteVersion}) {
            if (app::LoadResString(id, sprachOffset_) == request.text) {
                out_ << "message " << id << ' ' << request.text << '\n';
                return ports::MsgResult::Ok;
            }
        }
        err_ << "krvdiag-cli: " << request.text << '\n';
        dateiFehler = true;
        return request.buttons == ports::MsgButtons::RetryCancel ? ports::MsgResult::Cancel : ports::MsgResult::Ok;
    }
    std::optional<std::string> openFileName(const ports::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const ports::FileDialogRequest&) override { return std::nullopt; }

private:
    std::ostream& out_;
    std::ostream& err_;
    int sprachOffset_;
};

// The main window's side of the recorder in a headless run: the data transfer is the session's,
// there is no timing diagram and no trigger selector to show.
class CliRecorderHost : public recorder::RecorderHost {
public:
    explicit CliRecorderHost(CliSession& session) : session_(session) {}

    bool datenuebertragungLaeuft() const override { return session_.state().PortOffen; }
    void datenuebertragungStarten() override { session_.form().mnuDatenuebertragungStart_Click(); }
    void datenuebertragungStoppen() override { session_.form().mnuDatenuebertragungStop_Click(); }
    void TimingStart() override {}
    void TimingStop() override {}
    void mnuTimingDiagramm_Click() override { session_.form().mnuTimingDiagramm_Click(); }
    void setTriggerAuswahlEnabled(bool) override {}
    void setTriggerAuswahlFarbe(std::optional<app::Colour>) override {}
    void setDateiname(const std::string&) override {}

private:
    CliSession& session_;
};

// Counts the accepted telegrams for the clock and hands each one to the recorder.
class Zaehler : public link::DispatchHooks {
public:
    Zaehler(recorder::Recorder& rec, SchrittUhr& uhr) : rec_(rec), uhr_(uhr) {}
    std::int64_t angenommen = 0;

    void RecorderTelegramm(const link::ReceiveState& s) override {
        uhr_.k = ++angenommen;
        rec_.RecorderTelegramm(s);
    }

private:
    recorder::Recorder& rec_;
    SchrittUhr& uhr_;
};

bool ziffern(const std::string& text, std::size_t von, std::size_t anzahl) {
    for (std::size_t i = von; i < von + anzahl; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

}  // namespace

std::int64_t lokaleStartzeitMs(const std::string& text) {
    const bool form = text.size() == 19 && ziffern(text, 0, 4) && text[4] == '-' && ziffern(text, 5, 2) &&
                      text[7] == '-' && ziffern(text, 8, 2) && text[10] == ' ' && ziffern(text, 11, 2) &&
                      text[13] == ':' && ziffern(text, 14, 2) && text[16] == ':' && ziffern(text, 17, 2);
    if (!form) throw UsageError("--start takes \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'");
    std::tm zeit{};
    zeit.tm_year = std::stoi(text.substr(0, 4)) - 1900;
    zeit.tm_mon = std::stoi(text.substr(5, 2)) - 1;
    zeit.tm_mday = std::stoi(text.substr(8, 2));
    zeit.tm_hour = std::stoi(text.substr(11, 2));
    zeit.tm_min = std::stoi(text.substr(14, 2));
    zeit.tm_sec = std::stoi(text.substr(17, 2));
    zeit.tm_isdst = -1;
    const std::tm gewuenscht = zeit;
    const std::time_t sekunden = std::mktime(&zeit);
    // mktime moves impossible fields on (February 30, a skipped hour): refuse those.
    if (sekunden == static_cast<std::time_t>(-1) || zeit.tm_year != gewuenscht.tm_year ||
        zeit.tm_mon != gewuenscht.tm_mon || zeit.tm_mday != gewuenscht.tm_mday ||
        zeit.tm_hour != gewuenscht.tm_hour || zeit.tm_min != gewuenscht.tm_min || zeit.tm_sec != gewuenscht.tm_sec) {
        throw UsageError("--start: '" + text + "' is not a valid local time");
    }
    return static_cast<std::int64_t>(sekunden) * 1000;
}

double lokalerDatumswert(std::int64_t unixMs) {
    std::int64_t sekunden = unixMs / 1000;
    std::int64_t rest = unixMs % 1000;
    if (rest < 0) {
        rest += 1000;
        --sekunden;
    }
    const auto t = static_cast<std::time_t>(sekunden);
    std::tm lokal{};
    localtime_r(&t, &lokal);
    recorder::Zeitpunkt z;
    z.jahr = lokal.tm_year + 1900;
    z.monat = lokal.tm_mon + 1;
    z.tag = lokal.tm_mday;
    z.stunde = lokal.tm_hour;
    z.minute = lokal.tm_min;
    z.sekunde = lokal.tm_sec;
    z.millisekunde = static_cast<int>(rest);
    return recorder::datumswert(z);
}

int runRecord(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != (options.port.empty() ? 2u : 1u)) {
        throw UsageError("record takes an input file and an output file, or only the output file with --port");
    }
    const std::int64_t startMs = lokaleStartzeitMs(options.start.empty() ? kStandardStart : options.start);
    const long schrittMs = options.stepMs < 0 ? kStandardSchrittMs : options.stepMs;

    // From here on a stop signal ends the recording as the end of the input does.
    StopSignale stop;
    const Eingabe eingabe = oeffneEingabe(options, err);
    if (!eingabe.quelle) {
        err << "krvdiag-cli: " << eingabe.fehler << '\n';
        return 2;
    }

    CliSession session(options);
    session.state().einstellungen.TriggerModus = options.trigger;
    session.state().einstellungen.KanalTab = options.channels;

    SchrittUhr uhr(startMs, schrittMs);
    CliMeldungen meldungen(out, err, options.sprachOffset);
    platform::PosixFileSink datei;
    CliRecorderHost host(session);
    recorder::Recorder rec(session.state(), session.controls(), meldungen, uhr, datei, host);
    Zaehler zaehler(rec, uhr);
    session.beobachten(zaehler);

    const ports::OpenMode modus = options.append ? ports::OpenMode::Append : ports::OpenMode::Replace;
    if (!rec.starteAufzeichnung(options.files.back(), modus)) return 2;

    // When the recorder ends by itself it stops the data transfer: the rest is not read.
    const bool gelesen = speiseStrom(*eingabe.quelle, session.form().receivePath(), options.chunk, stop, out,
                                     err, [&] { return session.state().PortOffen; });
    if (rec.laeuft()) {
        uhr.k = zaehler.angenommen + 1;
        rec.mnuCloseLog_Click();
    }
    if (meldungen.dateiFehler || !gelesen) return 2;
    return eingabe.port && eingabe.port->verloren() ? kPortVerloren : 0;
}

}  // namespace krv::cli
