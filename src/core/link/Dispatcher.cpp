#include "core/link/Dispatcher.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace krv::link {
namespace {

constexpr std::int64_t kSekundeMs = 1000;

double leDouble(ByteView bytes) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i) bits |= std::uint64_t{bytes[i]} << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The "D" record's text as a number; either '.' or ',' may separate the fraction.
std::optional<double> parseDecimal(ByteView text) {
    std::string s(text.begin(), text.end());
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    s = s.substr(first, s.find_last_not_of(' ') - first + 1);
    std::replace(s.begin(), s.end(), ',', '.');
    if (!s.empty() && s.front() == '+') s.erase(0, 1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

}  // namespace

void Dispatcher::telegrammErkannt(std::uint8_t kind) {
    if (kind == '1' || kind == '2') {
        state_.SatzAnzahl = 0;
        state_.SatzSamples = 1;
    }
}

void Dispatcher::satzfelderAusDatensatz(const ReceiveState& s) {
    const ByteView p = s.payload();
    state_.SatzZeit = leDouble(p.subspan(7, 8));
    state_.SatzAnzahl = p[1];
    state_.SatzSamples = std::min<std::uint8_t>(state_.SatzAnzahl, 4);
    state_.SatzCpuFehler = (p[0] & 0x10) ? p[15] : 0;
}

bool Dispatcher::telegrammAkzeptiert(ReceiveState& s) {
    if (s.kind() == '3') satzfelderAusDatensatz(s);

    hooks_.RecorderTelegramm(s);

    const bool laden = playback_.SimulationsStatus == 1;
    const int k = state_.SatzSamples;
    if (laden) hooks_.samplesAnlegen(state_, k);

    // Back-log rule: with a long queue only record and store, until it has shrunk below 512.
    bool angezeigt = false;
    if (s.EmpfangsLaenge() >= static_cast<std::size_t>(state_.AnzeigeSchwelle)) {
        state_.AnzeigeSchwelle = DispatchState::SchwelleAufholen;
        hooks_.nichtAngezeigt(s);
    } else {
        state_.AnzeigeSchwelle = DispatchState::SchwelleNormal;
        aktivitaetsAnzeige();
        hooks_.Anzeige(s);
        angezeigt = true;
    }

    if (laden) hooks_.samplesAbschliessen(k);
    return angezeigt;
}

void Dispatcher::aktivitaetsAnzeige() {
    // Elapsed time from a monotonic clock, so the indicator keeps changing across midnight.
    const std::int64_t jetzt = clock_.monotonicMs();
    if (state_.LetzteSekunde && jetzt - *state_.LetzteSekunde <= kSekundeMs) return;
    state_.LetzteSekunde = (jetzt + kSekundeMs / 2) / kSekundeMs * kSekundeMs;
    if (playback_.SimulationsStatus != 1) hooks_.aktivitaetsAnzeigeUmschalten();
}

void Dispatcher::kopfsatz(ReceiveState& s, std::size_t p) {
    const std::uint8_t type = s.EmpfangsString.at(p + 2);
    const std::size_t m = s.EmpfangsString.at(p + 3);
    hooks_.kopfsatzGelesen(type, s.EmpfangsString.view(p + 4, m));
    switch (type) {
    case 'D':
        kopfsatzDatum(s, p, m);
        break;
    case 'K':
        kopfsatzKanaele(s, p, m);
        break;
    case 'T':
        kopfsatzTrigger(s, p, m);
        break;
    case 'V':
        // The version record moves on by five bytes whatever its length says.
        playback_.LogVersion = s.EmpfangsString.at(p + 4);
        s.EmpfangsPos = p + 5;
        break;
    default:
        s.EmpfangsPos = p + 1;
        break;
    }
}

void Dispatcher::kopfsatzDatum(ReceiveState& s, std::size_t p, std::size_t m) {
    if (const auto value = parseDecimal(s.EmpfangsString.view(p + 4, m))) state_.SatzZeit = *value;
    s.EmpfangsPos = p + 4 + m;
}

void Dispatcher::kopfsatzKanaele(ReceiveState& s, std::size_t p, std::size_t m) {
    s.EmpfangsPos = p + 4;
    for (std::size_t j = 0; j < m; ++j) {
        if (j < settings_.KanalTab.size()) {
            const int wert = s.EmpfangsString.at(s.EmpfangsPos);
            settings_.KanalTab[j] = wert;
            hooks_.kanalGeaendert(static_cast<int>(j));
            profile_.WritePrivateProfileString(app::kSektionEinstellungen, "TimingKanal" + std::to_string(j),
                                               std::to_string(wert));
        }
        ++s.EmpfangsPos;
    }
}

void Dispatcher::kopfsatzTrigger(ReceiveState& s, std::size_t p, std::size_t m) {
    s.EmpfangsPos = p + 4;
    settings_.TriggerModus = s.EmpfangsString.at(s.EmpfangsPos);
    hooks_.triggerGeaendert();
    profile_.WritePrivateProfileString(app::kSektionEinstellungen, "TimingKanal9",
                                       std::to_string(settings_.TriggerModus));
    ++s.EmpfangsPos;
    if (m == 3) {
        const int low = s.EmpfangsString.at(s.EmpfangsPos);
        const int high = s.EmpfangsString.at(s.EmpfangsPos + 1);
        // A count above 32767 is not taken; the previous one stays.
        if (high < 128) playback_.TriggerSatzNr = low + 256 * high;
        s.EmpfangsPos += 2;
    } else {
        playback_.TriggerSatzNr = 65535;
    }
}

}  // namespace krv::link
