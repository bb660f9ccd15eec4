// krvdiag-soak: a day of line traffic through the real program, headless, with the recorder
// running the whole time. Short telegrams whose status changes with every telegram go through
// ShowData one at a time, as the line delivers them; every telegram becomes a data record, so
// a recording fills up after 52,632 records, stops with message 6012 and the next one starts
// at once (the file is replaced). The resident memory is sampled every simulated hour; after
// the warm-up hour it must grow by less than 1 MB.
//
// Usage: krvdiag-soak [--hours H] [--dir D]   (default 24 hours, a temporary directory)
// Exit status 0 when every check held, 1 otherwise.
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/app/HeadlessProgramm.hpp"
#include "core/common/Bytes.hpp"
#include "core/link/Crc8.hpp"
#include "core/link/ReceivePath.hpp"
#include "core/recorder/ProtocolFile.hpp"
#include "core/state/StringTable.hpp"
#include "platform/PosixFileSink.hpp"

namespace {

constexpr std::int64_t kTelegrammeProStunde = 50 * 3600;  // 960 bytes/s, 19-byte telegrams
constexpr std::int64_t kAbstandMs = 20;
constexpr std::uint8_t kModell = 13;
// Version, channel and trigger record, then the records up to the one past the maximum.
constexpr std::uintmax_t kVolleDatei = 5 + 13 + 7 + (52631 + 1) * 19;

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long gesamt = 0, resident = 0;
    statm >> gesamt >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

long spitzeKb() {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile)) {
        if (zeile.rfind("VmHWM:", 0) == 0) return std::atol(zeile.c_str() + 6);
    }
    return -1;
}

// The program headless, except that the protocol file is a real file (constructed first, as a
// base, because the program keeps a reference to it).
struct EchteProtokollDatei {
    krv::platform::PosixFileSink protokollDatei;
};

struct Sitzung : EchteProtokollDatei, krv::app::HeadlessProgramm {
    std::int64_t angezeigt = 0;

    Sitzung() : HeadlessProgramm("[Einstellungen]\nSprache=0\n", "./", &protokollDatei) {
        programm.form.onAnzeige = [this](const krv::link::ReceiveState&) {
            ++angezeigt;
            clock.advanceMs(kAbstandMs);
        };
    }
};

// Short telegrams of model 13 in which every data byte but the model code differs from the
// telegram before, so every telegram is a new status for the recorder and the display.
class Telegramme {
public:
    krv::ByteView naechstes() {
        daten_[0] = static_cast<std::uint8_t>(kModell | ((n_++ % 7 + 1) << 5));
        for (std::size_t i = 1; i < daten_.size(); ++i) daten_[i] ^= static_cast<std::uint8_t>(nichtNull_(random_));
        telegramm_[0] = 'L';
        telegramm_[1] = '1';
        std::copy(daten_.begin(), daten_.end(), telegramm_.begin() + 2);
        telegramm_[18] = krv::link::crc8(krv::ByteView(telegramm_.data(), 18));
        return krv::ByteView(telegramm_.data(), telegramm_.size());
    }

private:
    std::mt19937 random_{42};
    std::uniform_int_distribution<int> nichtNull_{1, 255};
    std::array<std::uint8_t, 16> daten_{};
    std::array<std::uint8_t, 19> telegramm_{};
    std::uint64_t n_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    int stunden = 24;
    std::filesystem::path dir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--hours" && i + 1 < argc) {
            stunden = std::atoi(argv[++i]);
        } else if (a == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else {
            std::fprintf(stderr, "usage: krvdiag-soak [--hours H] [--dir D]\n");
            return 2;
        }
    }
    if (stunden < 2) stunden = 2;
    const bool eigenesVerzeichnis = dir.empty();
    if (eigenesVerzeichnis) {
        char muster[] = "/tmp/krvdiag-soak-XXXXXX";
        if (::mkdtemp(muster) == nullptr) return 2;
        dir = muster;
    }
    const std::string pfad = (dir / "soak.log").string();
    const std::string maximumText = krv::app::LoadResString(krv::recorder::MeldungMaximumErreicht, 0);

    auto s = std::make_unique<Sitzung>();
    Telegramme quelle;
    krv::link::ReceivePath& path = s->programm.form.receivePath();
    bool ok = true;
    int aufnahmen = 0;
    auto starteAufnahme = [&] {
        s->dialogs.fileAnswers.push_back(pfad);
        s->programm.form.mnuOpenLog_Click();
        // The "replace?" question of a full file was answered Yes; no other box is expected here,
        // and a failed start shows in laeuft().
        s->dialogs.fileDialogs.clear();
        s->dialogs.boxes.clear();
        ++aufnahmen;
        if (!s->programm.form.recorder().laeuft()) {
            std::fprintf(stderr, "recording %d did not start\n", aufnahmen);
            ok = false;
        }
    };
    starteAufnahme();

    const std::int64_t gesamt = stunden * kTelegrammeProStunde;
    long warmKb = 0, hoechstKb = 0;
    int volle = 0;
    const auto beginn = std::chrono::steady_clock::now();
    std::printf("hour  telegrams  recordings  RSS kB\n");
    for (std::int64_t n = 1; n <= gesamt && ok; ++n) {
        path.ShowData(quelle.naechstes());
        if (!s->programm.form.recorder().laeuft()) {
            // The recorder stopped itself: it must be the maximum, with its message and a full file.
            const auto& boxes = s->dialogs.boxes;
            const bool meldung = !boxes.empty() && boxes.back().text == maximumText;
            std::error_code fehler;
            const auto groesse = std::filesystem::file_size(pfad, fehler);
            if (!meldung || groesse != kVolleDatei) {
                std::fprintf(stderr, "recording %d stopped after telegram %lld: message '%s', %ju bytes (expected %ju)\n",
                             aufnahmen, static_cast<long long>(n), boxes.empty() ? "" : boxes.back().text.c_str(),
                             static_cast<std::uintmax_t>(groesse), kVolleDatei);
                ok = false;
            }
            ++volle;
            s->dialogs.boxes.clear();
            starteAufnahme();  // replaces the full file: "replace?" is answered Yes
        }
        if (n % kTelegrammeProStunde == 0) {
            const long kb = residentKb();
            const long stunde = static_cast<long>(n / kTelegrammeProStunde);
            if (stunde == 1) warmKb = kb;
            if (stunde > 1 && kb > hoechstKb) hoechstKb = kb;
            std::printf("%4ld  %9lld  %10d  %6ld\n", stunde, static_cast<long long>(n), volle, kb);
            std::fflush(stdout);
        }
    }
    const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    s->programm.form.mnuCloseLog_Click();

    // A recorder that stops at its maximum stops the data transfer, which empties the receive
    // buffer: the telegram that filled the file is recorded but not displayed.
    const std::int64_t erwartet = gesamt - volle;
    if (s->angezeigt != erwartet) {
        std::fprintf(stderr, "%lld telegrams displayed, expected %lld\n", static_cast<long long>(s->angezeigt),
                     static_cast<long long>(erwartet));
        ok = false;
    }
    for (const auto& box : s->dialogs.boxes) {
        std::fprintf(stderr, "unexpected message: %s\n", box.text.c_str());
        ok = false;
    }
    const long wachstumKb = hoechstKb - warmKb;
    const bool speicherOk = wachstumKb < 1024;
    std::printf("telegrams: %lld in %.1f s (%.0f/s); full recordings stopped with 6012: %d\n",
                static_cast<long long>(gesamt), sekunden, gesamt / sekunden, volle);
    std::printf("RSS after warm-up (hour 1): %ld kB; highest later: %ld kB; growth: %ld kB (limit 1024); VmHWM %ld kB\n",
                warmKb, hoechstKb, wachstumKb, spitzeKb());
    if (volle == 0) {
        std::fprintf(stderr, "no recording reached the maximum\n");
        ok = false;
    }
    ok = ok && speicherOk;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    s.reset();
    if (eigenesVerzeichnis) std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
