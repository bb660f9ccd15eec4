#include "ReceivePathTarget.hpp"

#include <algorithm>
#include <string>

#include "core/recorder/ProtocolFile.hpp"
#include "core/recorder/ProtocolReader.hpp"
#include "FuzzCheck.hpp"
#include "HeadlessProgramm.hpp"

namespace krv::fuzz {
namespace {

constexpr const char* kProtokollPfad = "/fuzz/aufzeichnung.log";
constexpr const char* kCpuDatenPfad = "/fuzz/cpu.dat";
// The line delivers a short telegram about every 20 ms; each chunk moves the clock a little, so
// the activity indicator and the recorder's time stamps change now and then.
constexpr std::int64_t kMsProAufruf = 7;

struct Optionen {
    int simulationsStatus = 0;
    bool service = false;
    bool hexDump = false;
    bool englisch = false;
    bool recorder = false;
    bool cpuDaten = false;
    bool statusFenster = false;
    int triggerModus = 0;
};

Optionen leseOptionen(ByteView eingabe) {
    Optionen o;
    const std::uint8_t b = eingabe.empty() ? 0 : eingabe[0];
    o.simulationsStatus = (b & 0x03) % 3;
    o.service = b & 0x04;
    o.hexDump = b & 0x08;
    o.englisch = b & 0x10;
    o.recorder = (b & 0x20) && o.simulationsStatus == 0;
    o.cpuDaten = b & 0x40;
    o.statusFenster = b & 0x80;
    o.triggerModus = eingabe.size() > 1 ? eingabe[1] % (recorder::TriggerModusMax + 1) : 0;
    return o;
}

std::string einstellungen(const Optionen& o) {
    std::string text = "[Einstellungen]\n";
    text += std::string("Sprache=") + (o.englisch ? "10000" : "0") + "\n";
    text += std::string("HexDump=") + (o.hexDump ? "1" : "0") + "\n";
    text += "TimingKanal0=1\nTimingKanal1=5\nTimingKanal2=13\nTimingKanal3=20\n";
    text += "TimingKanal9=" + std::to_string(o.triggerModus) + "\n";
    return text;
}

// Counts what the dispatcher did and checks each displayed telegram against the buffer.
class Zaehler : public link::DispatchHooks {
public:
    explicit Zaehler(EmpfangsErgebnis& e) : e_(e) {}

    void Anzeige(const link::ReceiveState& s) override {
        ++e_.angezeigt;
        KRV_FUZZ_PRUEFE(s.DatenLaenge == 16 || s.DatenLaenge == 256, "a displayed telegram has 16 or 256 data bytes");
        // The telegram is still in the buffer, its check byte included.
        KRV_FUZZ_PRUEFE(s.DatenStart >= 1, "DatenStart is a position in the buffer");
        KRV_FUZZ_PRUEFE(s.DatenStart + s.DatenLaenge <= s.EmpfangsLaenge(),
                        "a displayed telegram lies wholly in the buffer");
    }
    void nichtAngezeigt(const link::ReceiveState&) override { ++e_.nichtAngezeigt; }
    void crcFehler() override { ++e_.crcFehler; }
    void kopfsatzGelesen(std::uint8_t, ByteView) override { ++e_.kopfsaetze; }

private:
    EmpfangsErgebnis& e_;
};

void pruefeEmpfangszustand(const link::ReceiveState& s, EmpfangsErgebnis& e) {
    const std::size_t laenge = s.EmpfangsLaenge();
    e.groessterPuffer = std::max(e.groessterPuffer, laenge);
    KRV_FUZZ_PRUEFE(laenge <= kEmpfangsPufferGrenze, "the receive buffer stays bounded");
    KRV_FUZZ_PRUEFE(s.EmpfangsPos >= 1 && s.EmpfangsPos <= laenge + 1, "the scan position lies in the buffer");
    KRV_FUZZ_PRUEFE(s.EmpfangsZustand >= 0 && s.EmpfangsZustand <= 4, "the scan state is 0..4");
    KRV_FUZZ_PRUEFE(s.DatenLaenge == 0 || s.DatenLaenge == 16 || s.DatenLaenge == 256,
                    "DatenLaenge is 0, 16 or 256");
}

}  // namespace

EmpfangsErgebnis empfangsPfadZiel(ByteView eingabe) {
    const Optionen o = leseOptionen(eingabe);
    EmpfangsErgebnis e;
    e.simulationsStatus = o.simulationsStatus;

    HeadlessProgramm p(einstellungen(o));
    app::MainForm& form = p.form();
    Zaehler zaehler(e);
    form.beobachter = &zaehler;

    if (o.simulationsStatus == 0) {
        form.mnuDatenuebertragungStart_Click();
        if (o.recorder) {
            p.dialogs.fileAnswers.push_back(kProtokollPfad);
            form.mnuOpenLog_Click();
        }
    } else {
        // As during playback: the port closed, the timing diagram shown, the store filling.
        p.state.playback.SimulationsStatus = o.simulationsStatus;
        p.state.playback.AktuellerDatensatz = 0;
        form.mnuTimingDiagramm_Click();
    }
    if (o.statusFenster) form.mnuStatusFenster_Click();
    if (o.service) {
        p.state.ServiceModus1 = true;
        p.state.ServiceModus2 = true;
        p.state.ServiceModus3 = true;
    }
    if (o.cpuDaten) {
        p.dialogs.fileAnswers.push_back(kCpuDatenPfad);
        form.mnuOpenCpuDatenAbspeichern_Click();
        KRV_FUZZ_PRUEFE(form.cpuDaten().speichert(), "the CPU data file opens in memory");
    }

    link::ReceivePath& pfad = form.receivePath();
    Bytes alleAufrufe;  // every chunk as ShowData got it, for the raw copy
    const auto aufruf = [&](ByteView chunk) {
        pfad.ShowData(chunk);
        ++e.aufrufe;
        alleAufrufe.insert(alleAufrufe.end(), chunk.begin(), chunk.end());
        pruefeEmpfangszustand(pfad.receive(), e);
        p.clock.advanceMs(kMsProAufruf);
    };
    // The drain as ReceivePath::drain does it, checked after every call.
    const auto leeren = [&] {
        for (;;) {
            const std::size_t vorher = pfad.receive().EmpfangsLaenge();
            aufruf({});
            if (pfad.receive().EmpfangsLaenge() == vorher) break;
        }
    };

    std::size_t pos = std::min<std::size_t>(eingabe.size(), 2);
    while (pos < eingabe.size()) {
        const std::uint8_t h = eingabe[pos++];
        const std::uint8_t c = h & 0x7F;
        std::size_t laenge = c;
        if (c >= 0x70) {
            const std::size_t niedrig = pos < eingabe.size() ? eingabe[pos++] : 0;
            laenge = static_cast<std::size_t>(c - 0x6F) * 256 + niedrig;
        }
        laenge = std::min(laenge, eingabe.size() - pos);
        aufruf(eingabe.subspan(pos, laenge));
        pos += laenge;
        if (h & 0x80) leeren();
    }
    leeren();

    if (o.cpuDaten) {
        const Bytes& datei = p.cpuDatenDateien.files[kCpuDatenPfad];
        KRV_FUZZ_PRUEFE(datei == alleAufrufe, "the CPU data file holds every chunk unchanged, in order");
    }
    if (o.recorder) {
        form.mnuCloseLog_Click();
        const Bytes& datei = p.protokollDateien.files[kProtokollPfad];
        e.aufgezeichneteBytes = datei.size();
        if (e.angezeigt + e.nichtAngezeigt > 0) {
            // The first telegram wrote the header group: the reader takes the file's version.
            const recorder::LeseErgebnis gelesen = recorder::leseProtokolldatei(datei);
            KRV_FUZZ_PRUEFE(gelesen.kopf.version == recorder::LogVersionAktuell,
                            "a recorded file starts with the current version record");
        } else if (o.triggerModus != 0) {
            // Without any telegram a trigger recording still closes with its trigger record.
            KRV_FUZZ_PRUEFE(datei == recorder::triggerSatz(o.triggerModus, 200),
                            "a trigger recording without telegrams holds a lone trigger record");
        } else {
            KRV_FUZZ_PRUEFE(datei.empty(), "a recording without telegrams writes nothing");
        }
    }
    form.beobachter = nullptr;
    return e;
}

}  // namespace krv::fuzz
