#pragma once
// The settings the program reads at start-up, in the order it reads them, and the one-key
// writes that store a setting the moment the user changes it.
#include <string>
#include <string_view>

#include "core/ports/ProfileStore.hpp"
#include "core/state/Einstellungen.hpp"

namespace krv::app {

// "Sprache" of section "Einstellungen": 0 German or 10000 English; anything else reads 0.
int readSprachOffset(ports::ProfileStore& profile);

// The rest of section "Einstellungen", read after the single-instance test: "HexDump",
// "ComPort", "HexDumpDisplay", "TimingKanal0".."TimingKanal8", "TimingKanal9". A value the
// menus have no item for falls back to the key's default; the file itself is not corrected.
void readStartupSettings(ports::ProfileStore& profile, Einstellungen& einstellungen);

// A window's stored place or size in twips (sections "HilfeFenster", "FehlerFenster"). A value
// no screen can show falls back to the key's default: beyond the window system's 16-bit pixel
// range at 15 twips per pixel, or for a size (groesse) not above 0.
int readFensterTwips(ports::ProfileStore& profile, std::string_view section, std::string_view key, int defaultValue,
                     bool groesse = false);

// "TimingKanal" followed by the selector index (0..8 channels, 9 trigger).
std::string timingKanalKey(int index);

// Writes value as decimal text; a failed write is ignored, the setting is then lost at the next start.
void writeSetting(ports::ProfileStore& profile, std::string_view section, std::string_view key, int value);
// The same in section "Einstellungen".
void writeSetting(ports::ProfileStore& profile, std::string_view key, int value);

}  // namespace krv::app
