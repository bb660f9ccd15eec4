#include "GuiBenchSupport.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "core/link/Crc8.hpp"
#include "core/recorder/ProtocolFile.hpp"

namespace krv::bench {

BenchSitzung::BenchSitzung(const std::string& iniText) {
    if (!iniText.empty()) std::ofstream(pfad("KrvDiag.ini")) << iniText;
    gui::SessionOptions o;
    o.configDir = dir_.path().toStdString();
    o.lockFile = pfad("krvdiag.lock");
    // The device pictures the build drew, as the installed program finds them.
    o.programmPfad = std::string(KRVDIAG_BUILD_DATA_DIR) + "/";
    o.splash = false;
    session_ = std::make_unique<gui::ProgramSession>(o, dialogs_, clock_);
}

BenchSitzung::~BenchSitzung() = default;

bool BenchSitzung::start() { return session_->start(); }

Geraet::Geraet() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) throw std::runtime_error("no pty");
    slave_ = ::ptsname(master_);
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
}

Geraet::~Geraet() {
    if (master_ >= 0) ::close(master_);
}

void Geraet::sende(ByteView bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + pos, bytes.size() - pos);
        if (n <= 0) throw std::runtime_error("pty write failed");
        pos += static_cast<std::size_t>(n);
    }
}

void PaintUhr::beobachte(QWidget* widget) { widget->installEventFilter(this); }

void PaintUhr::beobachteAlle() {
    if (!alle_) qApp->installEventFilter(this);
    alle_ = true;
}

bool PaintUhr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
    // Paint now, inside the repaint that sent the event, and note when it is done.
    watched->event(event);
    const Uhr::time_point ende = Uhr::now();
    letzter_ = ende;
    ++paints_;
    if (onPaintEnde) onPaintEnde(ende);
    return true;
}

std::optional<Uhr::time_point> PaintUhr::laufeBisRuhe(int ruheMs, int maxMs) {
    const std::uint64_t vorher = paints_;
    const Uhr::time_point beginn = Uhr::now();
    Uhr::time_point ruhigSeit = beginn;
    std::uint64_t gesehen = paints_;
    while (Uhr::now() - ruhigSeit < std::chrono::milliseconds(ruheMs) &&
           Uhr::now() - beginn < std::chrono::milliseconds(maxMs)) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (paints_ != gesehen) {
            gesehen = paints_;
            ruhigSeit = Uhr::now();
        }
    }
    if (paints_ == vorher) return std::nullopt;
    return letzter_;
}

Bytes WechselndeTelegramme::naechstes() {
    daten_[0] = static_cast<std::uint8_t>(13 | ((n_++ % 7 + 1) << 5));
    for (std::size_t i = 1; i < 16; ++i) daten_[i] ^= static_cast<std::uint8_t>(nichtNull_(random_));
    Bytes t{'L', '1'};
    t.insert(t.end(), std::begin(daten_), std::end(daten_));
    t.push_back(link::crc8(t));
    return t;
}

void schreibeProtokolldatei(const std::string& pfad, int saetze, int gruppen) {
    std::ofstream datei(pfad, std::ios::binary | std::ios::trunc);
    auto schreibe = [&](ByteView b) { datei.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size())); };
    WechselndeTelegramme quelle;
    double zeit = 46000.0;  // a day in 2025, as a date value
    for (int g = 0; g < gruppen; ++g) {
        schreibe(recorder::versionsSatz());
        schreibe(recorder::kanalSatz({1, 2, 3, 4, 5, 6, 7, 8, 9}));
        schreibe(recorder::triggerSatz(0, 200));
        for (int i = 0; i < saetze; ++i) {
            const Bytes t = quelle.naechstes();
            recorder::StatusBlock block{};
            std::copy(t.begin() + 2, t.begin() + 18, block.begin());
            const auto satz = recorder::datenSatz(recorder::normalisiere(block), 1, zeit);
            schreibe(ByteView(satz.data(), satz.size()));
            zeit += 0.020 / 86400.0;
        }
    }
    if (!datei) throw std::runtime_error("cannot write " + pfad);
}

void schreibeCpuDaten(const std::string& pfad, int telegramme) {
    std::ofstream datei(pfad, std::ios::binary | std::ios::trunc);
    WechselndeTelegramme quelle;
    for (int i = 0; i < telegramme; ++i) {
        const Bytes t = quelle.naechstes();
        datei.write(reinterpret_cast<const char*>(t.data()), static_cast<std::streamsize>(t.size()));
    }
    if (!datei) throw std::runtime_error("cannot write " + pfad);
}

Speicher speicher() {
    Speicher s;
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile)) {
        if (zeile.rfind("VmRSS:", 0) == 0) s.rssKb = std::atol(zeile.c_str() + 6);
        if (zeile.rfind("VmHWM:", 0) == 0) s.spitzeKb = std::atol(zeile.c_str() + 6);
    }
    return s;
}

double cpuSekunden() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

long threadWeckungen() {
    rusage r{};
    ::getrusage(RUSAGE_THREAD, &r);
    return r.ru_nvcsw;
}

double last1() {
    double l = -1;
    std::ifstream("/proc/loadavg") >> l;
    return l;
}

double threadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Verteilung verteilung(std::vector<double> werte) {
    Verteilung v;
    v.n = werte.size();
    if (werte.empty()) return v;
    std::sort(werte.begin(), werte.end());
    v.median = werte[werte.size() / 2];
    v.p95 = werte[std::min(werte.size() - 1, werte.size() * 95 / 100)];
    v.max = werte.back();
    return v;
}

}  // namespace krv::bench
