#include "core/recorder/ProtocolFile.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/link/Crc8.hpp"

namespace krv::recorder {
namespace {

constexpr std::int64_t kMsProTag = 86'400'000;
constexpr std::chrono::sys_days kNullpunkt{std::chrono::year{1899} / std::chrono::December / 30};
// Date value of 10000-01-01: the first day a date value may not reach.
constexpr double kGrenze = 2'958'466.0;

__extension__ typedef unsigned __int128 Breit;

void schreibeLe(Bytes& ziel, std::uint64_t wert, int bytes) {
    for (int i = 0; i < bytes; ++i) ziel.push_back(static_cast<std::uint8_t>(wert >> (8 * i)));
}

// round(f * 86,400,000) with halves rounded up, computed exactly for 0 <= f < 1: the double's
// mantissa times the factor fits 128 bits, so no intermediate rounding can move a half.
std::int64_t millisekundenDesTages(double f) {
    if (f <= 0.0) return 0;
    int exponent = 0;
    const double m = std::frexp(f, &exponent);  // f = m * 2^exponent, 0.5 <= m < 1
    const auto mantisse = static_cast<std::uint64_t>(std::ldexp(m, 53));
    const int shift = 53 - exponent;  // f = mantisse / 2^shift, shift >= 53
    if (shift >= 100) return 0;       // f * 86,400,000 < 2^-19
    const Breit produkt = static_cast<Breit>(mantisse) * static_cast<Breit>(kMsProTag);
    const Breit halb = static_cast<Breit>(1) << (shift - 1);
    return static_cast<std::int64_t>((produkt + halb) >> shift);
}

}  // namespace

StatusBlock normalisiere(StatusBlock block) {
    block[0] &= 0x1F;
    block[1] = 0;
    block[3] |= 0x02;
    block[4] |= 0x01;
    for (std::size_t i = 7; i <= 14; ++i) block[i] = 0;
    if ((block[0] & 0x10) == 0) block[15] = 0;
    return block;
}

std::uint8_t pruefByte(ByteView ersteAchtzehn) { return link::crc8(ersteAchtzehn.first(18)); }

Datensatz datenSatz(const StatusBlock& normalisiert, std::uint8_t wiederholungen, double zeit) {
    Datensatz satz{};
    satz[0] = 'L';
    satz[1] = '3';
    for (std::size_t k = 0; k < normalisiert.size(); ++k) satz[2 + k] = normalisiert[k];
    satz[3] = wiederholungen;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &zeit, sizeof bits);
    for (std::size_t i = 0; i < 8; ++i) satz[9 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    satz[18] = pruefByte(satz);
    return satz;
}

Bytes versionsSatz(std::uint8_t version) { return {'L', '0', 'V', 1, version}; }

Bytes kanalSatz(const std::array<int, AnzahlKanaele>& kanalTab) {
    Bytes satz{'L', '0', 'K', AnzahlKanaele};
    for (int k : kanalTab) satz.push_back(static_cast<std::uint8_t>(k));
    return satz;
}

Bytes triggerSatz(int modus, std::int16_t anzahl) {
    Bytes satz{'L', '0', 'T', 3, static_cast<std::uint8_t>(modus)};
    schreibeLe(satz, static_cast<std::uint16_t>(anzahl), 2);
    return satz;
}

std::optional<TriggerBit> triggerBit(int modus) {
    if (modus == 1) return TriggerBit{0, 0x10};
    if (modus < 2 || modus > TriggerModusMax) return std::nullopt;
    const int n = modus - 2;
    return TriggerBit{static_cast<std::size_t>(n / 8 + 2), static_cast<std::uint8_t>(0x80U >> (n % 8))};
}

double datumswert(const Zeitpunkt& z) {
    using namespace std::chrono;
    const sys_days tag{year{z.jahr} / month{static_cast<unsigned>(z.monat)} / day{static_cast<unsigned>(z.tag)}};
    const std::int64_t tage = (tag - kNullpunkt).count();
    const std::int64_t ms = tage * kMsProTag + ((z.stunde * 60LL + z.minute) * 60 + z.sekunde) * 1000 + z.millisekunde;
    // One division of the exact count: the nearest double to the true value.
    return static_cast<double>(ms) / static_cast<double>(kMsProTag);
}

std::optional<Zeitpunkt> zeitpunkt(double wert) {
    using namespace std::chrono;
    if (!(wert >= 0.0 && wert < kGrenze)) return std::nullopt;  // also NaN
    auto tage = static_cast<std::int64_t>(std::floor(wert));
    std::int64_t ms = millisekundenDesTages(wert - static_cast<double>(tage));  // the subtraction is exact
    if (ms >= kMsProTag) {
        ++tage;
        ms -= kMsProTag;
    }
    const year_month_day datum{kNullpunkt + days{tage}};
    Zeitpunkt z;
    z.jahr = static_cast<int>(datum.year());
    z.monat = static_cast<int>(static_cast<unsigned>(datum.month()));
    z.tag = static_cast<int>(static_cast<unsigned>(datum.day()));
    z.millisekunde = static_cast<int>(ms % 1000);
    z.sekunde = static_cast<int>(ms / 1000 % 60);
    z.minute = static_cast<int>(ms / 60'000 % 60);
    z.stunde = static_cast<int>(ms / 3'600'000);
    return z;
}

std::string zeitText(double wert) {
    const auto z = zeitpunkt(wert);
    if (!z) return "invalid-time";
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", z->jahr, z->monat, z->tag, z->stunde,
                  z->minute, z->sekunde, z->millisekunde);
    return text;
}

double leseDouble(ByteView bytes) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i) bits |= std::uint64_t{bytes[i]} << (8 * i);
    double wert = 0.0;
    std::memcpy(&wert, &bits, sizeof wert);
    return wert;
}

std::optional<std::size_t> ersterDatensatzPos(ByteView datei) {
    const std::size_t bereich = std::min(datei.size(), KopfSuchBereich);
    for (std::size_t i = 0; i + 1 < bereich; ++i) {
        if (datei[i] == 'L' && datei[i + 1] == '3') return i + 1;
    }
    return std::nullopt;
}

std::size_t anzahlDatensaetze(std::size_t dateiLaenge, std::size_t ersterPos) {
    if (ersterPos < 1 || ersterPos - 1 > dateiLaenge) return 0;
    return (dateiLaenge - (ersterPos - 1)) / DatensatzLaenge;
}

ByteView slot(ByteView datei, std::size_t ersterPos, std::size_t i) {
    const std::size_t anfang = ersterPos - 1 + DatensatzLaenge * i;
    if (ersterPos < 1 || anfang + DatensatzLaenge > datei.size()) return {};
    return datei.subspan(anfang, DatensatzLaenge);
}

bool istDatensatz(ByteView s) {
    return s.size() >= DatensatzLaenge && s[0] == 'L' && s[1] == '3' && s[18] == pruefByte(s);
}

DatensatzInhalt leseDatensatz(ByteView s) {
    DatensatzInhalt inhalt;
    for (std::size_t k = 0; k < inhalt.block.size(); ++k) inhalt.block[k] = s[2 + k];
    inhalt.wiederholungen = s[3];
    inhalt.zeit = leseDouble(s.subspan(9, 8));
    return inhalt;
}

}  // namespace krv::recorder
