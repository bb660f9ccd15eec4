#include "cli/DumpCommand.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ostream>

#include "cli/CliSession.hpp"
#include "cli/HexText.hpp"
#include "core/device/LedTables.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/state/StringTable.hpp"
#include "platform/DateiOeffnen.hpp"

namespace krv::cli {
namespace {

constexpr int kKlemmen = 36;

// The level a terminal LED shows for terminal bit n of a stored block (0 red, 1 yellow,
// 2 green), with the display's two corrections: bit 9 of the models whose index is not a
// multiple of 4 follows bit 11 inverted, and terminals 12, 13, 20 can be high impedance.
int klemmenPegel(const recorder::StatusBlock& block, int n) {
    std::uint8_t wert = block[static_cast<std::size_t>(2 + n / 8)];
    if (n / 8 == 1 && (block[0] & 3) != 0) wert = (wert & 0x10) ? (wert & 0xBF) : (wert | 0x40);
    const std::uint8_t hochohmig = block[6];
    if ((n == 12 && (hochohmig & 0x08)) || (n == 13 && (hochohmig & 0x04)) || (n == 20 && (hochohmig & 0x02))) return 1;
    return (wert & (0x80 >> (n % 8))) ? 2 : 0;
}

// The protocol file's slots read a block at a time, so that a file of any length needs little
// memory. A stream (standard input, a FIFO) is first copied to a temporary file: the record
// count comes before the first slot line.
class SlotLeser {
public:
    explicit SlotLeser(const std::string& pfad) : name_(pfad == "-" ? "standard input" : pfad) {
        if (pfad == "-") {
            fd_ = STDIN_FILENO;
        } else {
            platform::OffeneDatei datei = platform::oeffneDatei(pfad, platform::Zugriff::Lesen);
            if (!datei.offen()) {
                fehler_ = datei.fehler();
                return;
            }
            fd_ = datei.loslassen();
            eigen_ = true;
        }
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            fehler_ = platform::dateiFehlerText(name_, errno);
        } else if (S_ISREG(info.st_mode)) {
            laenge_ = static_cast<std::uint64_t>(info.st_size);
        } else {
            kopiere();
        }
    }
    ~SlotLeser() {
        if (eigen_) ::close(fd_);
    }
    SlotLeser(const SlotLeser&) = delete;
    SlotLeser& operator=(const SlotLeser&) = delete;

    const std::string& fehler() const { return fehler_; }
    const std::string& name() const { return name_; }
    std::uint64_t laenge() const { return laenge_; }

    // Up to n bytes from offset; fewer at the end of the file.
    ByteView lies(std::uint64_t offset, std::size_t n) {
        puffer_.resize(n);
        std::size_t gelesen = 0;
        while (gelesen < n && fehler_.empty()) {
            const auto stelle = static_cast<off_t>(offset + gelesen);
            const ssize_t k = ::pread(fd_, puffer_.data() + gelesen, n - gelesen, stelle);
            if (k < 0 && errno == EINTR) continue;
            if (k < 0) fehler_ = platform::dateiFehlerText(name_, errno);
            if (k <= 0) break;
            gelesen += static_cast<std::size_t>(k);
        }
        return ByteView(puffer_).first(gelesen);
    }

    // Calls f(i, slot) for every slot from the first until f returns false; false on a read error.
    template <typename F>
    bool jederSlot(const recorder::ProtokollKopf& kopf, F f) {
        constexpr std::size_t kBlockSlots = 3449;  // about 64 KiB
        constexpr std::size_t kSlot = recorder::DatensatzLaenge;
        for (std::size_t i = 0; i < kopf.anzahlDatensaetze; i += kBlockSlots) {
            const std::size_t anzahl = std::min(kBlockSlots, kopf.anzahlDatensaetze - i);
            const std::uint64_t anfang = kopf.ersterDatensatzPos - 1 + std::uint64_t{kSlot} * i;
            const ByteView block = lies(anfang, anzahl * kSlot);
            if (!fehler_.empty()) return false;
            for (std::size_t k = 0; k < anzahl; ++k) {
                if (!f(i + k, recorder::slot(block, 1, k))) return true;
            }
        }
        return true;
    }

private:
    std::string kopieName() const { return "temporary copy of " + name_; }

    void kopiere() {
        FILE* kopie = std::tmpfile();
        if (!kopie) {
            fehler_ = platform::dateiFehlerText(kopieName(), errno);
            return;
        }
        const int ziel = ::dup(::fileno(kopie));
        std::fclose(kopie);
        std::array<char, 65536> stueck{};
        for (;;) {
            const ssize_t n = ::read(fd_, stueck.data(), stueck.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fehler_ = platform::dateiFehlerText(name_, errno);
            if (n <= 0) break;
            for (ssize_t w = 0; w < n && fehler_.empty();) {
                const ssize_t k = ::write(ziel, stueck.data() + w, static_cast<std::size_t>(n - w));
                if (k < 0 && errno == EINTR) continue;
                if (k > 0) w += k;
                else fehler_ = platform::dateiFehlerText(kopieName(), k < 0 ? errno : ENOSPC);
            }
            if (!fehler_.empty()) break;
            laenge_ += static_cast<std::uint64_t>(n);
        }
        if (eigen_) ::close(fd_);
        fd_ = ziel;
        eigen_ = true;
    }

    std::string name_;
    int fd_ = -1;
    bool eigen_ = false;
    std::uint64_t laenge_ = 0;
    std::string fehler_;
    Bytes puffer_;
};

// One row per data record: record, time, repeat, model, CPU error, then the level of terminals
// 1..36, empty where the model has no LED for the terminal.
void druckeCsv(SlotLeser& datei, const recorder::ProtokollKopf& kopf, std::ostream& out) {
    ports::ScriptedDialogs stumm;
    out << "record,time,repeat,model,cpu_error";
    for (int k = 1; k <= kKlemmen; ++k) out << ',' << k;
    out << '\n';
    datei.jederSlot(kopf, [&](std::size_t i, ByteView s) {
        if (!recorder::istDatensatz(s)) return bool(out);
        const recorder::DatensatzInhalt satz = recorder::leseDatensatz(s);
        const int modell = satz.block[0] & 0x0F;
        out << i << ',' << recorder::zeitText(satz.zeit) << ',' << int{satz.wiederholungen} << ',' << modell << ','
            << ((satz.block[0] & 0x10) ? int{satz.block[15]} : 0);
        for (int n = 0; n < kKlemmen; ++n) {
            out << ',';
            if (device::KonvertBitToLed(static_cast<std::int16_t>(n), modell, stumm) != device::kKeineLed) {
                out << klemmenPegel(satz.block, n);
            }
        }
        out << '\n';
        return bool(out);
    });
}

void druckeKopf(const recorder::ProtokollKopf& kopf, std::ostream& out) {
    out << "version " << kopf.version << '\n';
    out << "channels";
    if (kopf.kanaele) {
        for (int k : *kopf.kanaele) out << ' ' << k;
    } else {
        out << " -";
    }
    out << '\n';
    if (kopf.trigger) {
        out << "trigger " << kopf.trigger->modus << ' ' << kopf.trigger->anzahl << '\n';
    } else {
        out << "trigger -\n";
    }
    out << "records " << kopf.anzahlDatensaetze << '\n';
}

void druckeSlots(SlotLeser& datei, const recorder::ProtokollKopf& kopf, std::ostream& out) {
    datei.jederSlot(kopf, [&](std::size_t i, ByteView s) {
        if (!recorder::istDatensatz(s)) {
            out << i << " bad\n";
            return bool(out);
        }
        const recorder::DatensatzInhalt satz = recorder::leseDatensatz(s);
        out << i << ' ' << recorder::zeitText(satz.zeit) << ' ' << int{satz.wiederholungen} << ' '
            << hexText(satz.block) << '\n';
        return bool(out);
    });
}

}  // namespace

int runDump(const CliOptions& options, std::ostream& out, std::ostream& err) {
    if (options.files.size() != 1) throw UsageError("dump takes exactly one protocol file");
    SlotLeser datei(options.files[0]);
    recorder::LeseErgebnis ergebnis;
    if (datei.fehler().empty()) {
        ergebnis = recorder::leseProtokollkopf(datei.lies(0, recorder::KopfSuchBereich), datei.laenge());
    }
    bool probe = false;
    if (datei.fehler().empty() && !ergebnis.ablehnung) {
        datei.jederSlot(ergebnis.kopf, [&](std::size_t, ByteView s) {
            probe = recorder::zeigbarerDatensatz(s);
            return !probe;
        });
        if (!probe) ergebnis.ablehnung = recorder::MeldungKeineLogDatei;
    }
    if (!datei.fehler().empty()) {
        err << "krvdiag-cli: " << datei.fehler() << '\n';
        return 2;
    }
    if (ergebnis.ablehnung) {
        err << "krvdiag-cli: " << datei.name() << ": "
            << app::LoadResString(*ergebnis.ablehnung, options.sprachOffset) << '\n';
        return 2;
    }
    if (options.csv) {
        druckeCsv(datei, ergebnis.kopf, out);
    } else {
        druckeKopf(ergebnis.kopf, out);
        druckeSlots(datei, ergebnis.kopf, out);
    }
    if (!datei.fehler().empty()) {
        out.flush();
        err << "krvdiag-cli: " << datei.fehler() << '\n';
        return 2;
    }
    return 0;
}

}  // namespace krv::cli
