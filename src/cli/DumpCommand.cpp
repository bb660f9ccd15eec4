#include "cli/DumpCommand.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/Ausgabe.hpp"
#include "cli/CliSession.hpp"
#include "cli/HexText.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "core/recorder/ProtokollExport.hpp"
#include "core/state/StringTable.hpp"
#include "platform/DateiOeffnen.hpp"

namespace krv::cli {
namespace {


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
        } else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
            // A device (a terminal, /dev/zero) holds no protocol file and may never end.
            fehler_ = name_ + ": is a device, not a protocol file";
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

// The slot reader as the export reads a file.
class LeserDatei : public ports::ReadableFile {
public:
    explicit LeserDatei(SlotLeser& leser) : leser_(leser) {}
    ports::SizeResult size() override { return {leser_.laenge(), fehler()}; }
    ports::ReadResult read(std::uint64_t offset, std::size_t count) override {
        const ByteView bytes = leser_.lies(offset, count);
        return {Bytes(bytes.begin(), bytes.end()), fehler()};
    }

private:
    std::optional<std::string> fehler() const {
        if (leser_.fehler().empty()) return std::nullopt;
        return leser_.fehler();
    }
    SlotLeser& leser_;
};

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
    // -o: the output file is opened once the input is accepted, and replaced.
    platform::OffeneDatei ziel;
    std::optional<FdAusgabe> zielPuffer;
    std::optional<std::ostream> zielStrom;
    if (!options.ausgabe.empty()) {
        ziel = platform::oeffneDatei(options.ausgabe, platform::Zugriff::Ersetzen);
        if (!ziel.offen()) {
            err << "krvdiag-cli: " << ziel.fehler() << '\n';
            return 2;
        }
        zielStrom.emplace(&zielPuffer.emplace(ziel.fd()));
    }
    std::ostream& aus = zielStrom ? *zielStrom : out;
    if (options.csv || options.vcd) {
        LeserDatei quelle(datei);
        const std::string name = datei.name().substr(datei.name().find_last_of('/') + 1);
        recorder::exportiereProtokoll(quelle, name, options.vcd ? recorder::ExportFormat::Vcd
                                                                : recorder::ExportFormat::Csv, aus);
    } else {
        druckeKopf(ergebnis.kopf, aus);
        druckeSlots(datei, ergebnis.kopf, aus);
    }
    aus.flush();
    if (!datei.fehler().empty()) {
        err << "krvdiag-cli: " << datei.fehler() << '\n';
        return 2;
    }
    if (zielPuffer && zielPuffer->fehler() != 0) {
        err << "krvdiag-cli: " << platform::dateiFehlerText(options.ausgabe, zielPuffer->fehler()) << '\n';
        return 2;
    }
    return 0;
}

}  // namespace krv::cli
