#include "core/state/StartupSettings.hpp"

namespace krv::app {
namespace {

constexpr int kDeutsch = 0;
constexpr int kEnglisch = 10000;
constexpr int kMaxTriggerModus = 37;

// The value when it lies in min..max, otherwise the key's default.
int readInRange(ports::ProfileStore& profile, std::string_view key, int defaultValue, int min, int max) {
    const int value = profile.GetPrivateProfileInt(kSektionEinstellungen, key, defaultValue);
    return value >= min && value <= max ? value : defaultValue;
}

}  // namespace

int readSprachOffset(ports::ProfileStore& profile) {
    const int value = profile.GetPrivateProfileInt(kSektionEinstellungen, "Sprache", kDeutsch);
    return value == kEnglisch ? kEnglisch : kDeutsch;
}

void readStartupSettings(ports::ProfileStore& profile, Einstellungen& e) {
    e.HexDumpModus = readInRange(profile, "HexDump", 0, 0, 2);
    e.ComPortNr = readInRange(profile, "ComPort", 1, 1, 4);
    e.HexDumpAnzeige = readInRange(profile, "HexDumpDisplay", 0, 0, 1);
    // The channel selectors' upper bound belongs to the terminal list; only a negative index
    // can never be a list entry.
    for (int kanal = 0; kanal < static_cast<int>(e.KanalTab.size()); ++kanal) {
        const int value = profile.GetPrivateProfileInt(kSektionEinstellungen, timingKanalKey(kanal), 0);
        e.KanalTab[static_cast<std::size_t>(kanal)] = value < 0 ? 0 : value;
    }
    e.TriggerModus = readInRange(profile, timingKanalKey(9), 0, 0, kMaxTriggerModus);
}

int readFensterTwips(ports::ProfileStore& profile, std::string_view section, std::string_view key, int defaultValue,
                     bool groesse) {
    constexpr int kGrenze = 32767 * 15;
    const int value = profile.GetPrivateProfileInt(section, key, defaultValue);
    const bool zeigbar = value >= (groesse ? 1 : -kGrenze) && value <= kGrenze;
    return zeigbar ? value : defaultValue;
}

std::string timingKanalKey(int index) { return "TimingKanal" + std::to_string(index); }

void writeSetting(ports::ProfileStore& profile, std::string_view section, std::string_view key, int value) {
    // The result is deliberately dropped: a lost setting is not worth a message.
    (void)profile.WritePrivateProfileString(section, key, std::to_string(value));
}

void writeSetting(ports::ProfileStore& profile, std::string_view key, int value) {
    writeSetting(profile, kSektionEinstellungen, key, value);
}

}  // namespace krv::app
