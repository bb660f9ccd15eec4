// Module LEDs and terminal LEDs of the device picture: which exist, and their colours.
#include "core/device/DeviceDisplay.hpp"

namespace krv::device {
namespace {

constexpr std::uint8_t kHochohmig12 = 0x08;  // status byte 6 flags of the high-impedance terminals
constexpr std::uint8_t kHochohmig13 = 0x04;
constexpr std::uint8_t kHochohmig20 = 0x02;
constexpr int kKanaele = 9;

std::uint8_t pegel(app::Colour farbe) {
    if (farbe == app::kGruen) return 2;
    if (farbe == app::kGelb) return 1;
    return 0;
}

}  // namespace

void DeviceDisplay::aktiviere(Modul modul, int LedAnzahl) {
    for (const ModulLed& led : kModulLeds) {
        if (led.modul == modul) (c_.*led.shape).setVisible(LedAnzahl >= led.mindestAnzahl);
    }
}

void DeviceDisplay::AktiviereLedAufOutputModul(int LedAnzahl) { aktiviere(Modul::Output, LedAnzahl); }
void DeviceDisplay::AktiviereLedAufCpuModul(int LedAnzahl) { aktiviere(Modul::Cpu, LedAnzahl); }
void DeviceDisplay::AktiviereLedAufErweiterungsModul(int LedAnzahl) { aktiviere(Modul::Erweiterung, LedAnzahl); }

void DeviceDisplay::zeigeModulLeds(Modul modul, std::uint8_t bData, int LedAnzahl) {
    for (std::size_t i = 0; i < kModulLeds.size(); ++i) {
        const ModulLed& led = kModulLeds[i];
        if (led.modul != modul || LedAnzahl < led.mindestAnzahl) continue;
        const std::uint8_t wert = bData & led.maske;
        // An invalidated display redraws even an unchanged bit.
        if (wert == modulLedWert_[i] && state_.AnzeigeGueltig != 0) continue;
        (c_.*led.shape).setColour(wert != 0 ? led.farbeGesetzt : led.farbeGeloescht);
        modulLedWert_[i] = wert;
    }
}

void DeviceDisplay::AnzeigeLedAufOutputModul(std::uint8_t bData, int LedAnzahl) {
    zeigeModulLeds(Modul::Output, bData, LedAnzahl);
}
void DeviceDisplay::AnzeigeLedAufCpuModul(std::uint8_t bData, int LedAnzahl) {
    zeigeModulLeds(Modul::Cpu, bData, LedAnzahl);
}
void DeviceDisplay::AnzeigeLedAufErweiterungsModul(std::uint8_t bData, int LedAnzahl) {
    zeigeModulLeds(Modul::Erweiterung, bData, LedAnzahl);
}

void DeviceDisplay::AnzeigeKlemmenLed(std::uint8_t bData, std::uint8_t bHochohmig, int iStartBit, int iAnzahlBits) {
    for (int k = 0; k < iAnzahlBits; ++k) {
        const int n = iStartBit + k;
        const bool gesetzt = k < 8 && (bData & (0x80 >> k)) != 0;

        app::Colour aus = app::kRot;
        app::Colour an = app::kGruen;
        if ((n == 12 && (bHochohmig & kHochohmig12)) || (n == 13 && (bHochohmig & kHochohmig13)) ||
            (n == 20 && (bHochohmig & kHochohmig20))) {
            aus = an = app::kGelb;  // high impedance, whatever the bit says
        }

        const std::int16_t led = KonvertBitToLed(static_cast<std::int16_t>(n));
        if (led == kKeineLed) continue;
        if (led > Max_LED) {
            dialogs_.messageBox({kMaxLedFehler, {}, ports::MsgIcon::None, ports::MsgButtons::Ok});
            return;
        }
        app::Control& shape = c_.shpLed[static_cast<std::size_t>(led)];
        app::Colour& zuletzt = ledFarbe_[static_cast<std::size_t>(led)];

        // Neither a port nor a playback: no data, so no stale colour either.
        if (!state_.PortOffen && state_.playback.SimulationsStatus != 1 && !state_.CpuWiedergabeAktiv) {
            shape.setColour(app::kWeiss);
            zuletzt = app::kWeiss;
            continue;
        }

        const app::Colour farbe = gesetzt ? an : aus;
        const std::uint8_t zustand = pegel(farbe);

        if (state_.playback.SimulationsStatus == 1) {
            // A protocol file is being loaded into the timing diagram: store, draw nothing.
            if (SampleKlemmen) SampleKlemmen(n + 1, zustand);
            continue;
        }

        if (ZeichneSpur) {
            for (int kanal = 0; kanal < kKanaele; ++kanal) {
                const int klemme = state_.einstellungen.KanalTab[static_cast<std::size_t>(kanal)];
                if (klemme == n + 1) ZeichneSpur(kanal, zustand, 0);
            }
        }

        if (zuletzt == farbe) continue;
        shape.setColour(farbe);
        zuletzt = farbe;
    }
}

}  // namespace krv::device
