#pragma once
// The device picture of the main window: the model's pictures, the module LEDs and the terminal
// LEDs, switched and coloured from each displayed status block. The controls live in
// MainFormState; this class decides what they show.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "core/device/LedPlaces.hpp"
#include "core/device/LedTables.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/ports/Pictures.hpp"
#include "core/state/Control.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::device {

// Status bytes 0..6 of a block: model code and CPU flags, LED bits, terminal bits.
using GeraeteBytes = std::array<std::uint8_t, 7>;

class DeviceDisplay {
public:
    DeviceDisplay(app::ProgramState& state, app::MainFormState& controls, ports::Pictures& pictures,
                  ports::Dialogs& dialogs);
    // With other LED tables than the device family's (to exercise the table guards).
    DeviceDisplay(app::ProgramState& state, app::MainFormState& controls, ports::Pictures& pictures,
                  ports::Dialogs& dialogs, const LedTabellen& tabellen);
    DeviceDisplay(const DeviceDisplay&) = delete;
    DeviceDisplay& operator=(const DeviceDisplay&) = delete;

    // Load sequence of the main window: the pictures emptied, the LED counts 0, the terminal
    // LEDs hidden and white. HardwareIndex and AnzeigeGueltig are the load sequence's own.
    void BildLeeren();

    // Switches picture, LED visibility and module LEDs to the model in the low nibble of bData,
    // unless that model is shown already and the display is valid.
    void HardwareDarstellung(std::uint8_t bData);

    // Steps of the display of one block that belong to the picture, in their order: model
    // switch, module LEDs (not while a protocol file is loaded), the byte 3 correction, the
    // five terminal LED groups. Anzeige may call this or the single procedures below.
    void AnzeigeGeraet(GeraeteBytes StatusByte);

    // Terminal bit to LED index of the active model (see device::KonvertBitToLed).
    std::int16_t KonvertBitToLed(std::int16_t iBitNr);

    // Which module LEDs the model has.
    void AktiviereLedAufOutputModul(int LedAnzahl);
    void AktiviereLedAufCpuModul(int LedAnzahl);
    void AktiviereLedAufErweiterungsModul(int LedAnzahl);

    // Module LED colours from status byte 1 (output, extension) or 0 (CPU).
    void AnzeigeLedAufOutputModul(std::uint8_t bData, int LedAnzahl);
    void AnzeigeLedAufCpuModul(std::uint8_t bData, int LedAnzahl);
    void AnzeigeLedAufErweiterungsModul(std::uint8_t bData, int LedAnzahl);

    // Terminal LEDs of bits iStartBit .. iStartBit + iAnzahlBits - 1 from bData, most
    // significant bit first; bHochohmig (status byte 6) marks terminals 12, 13, 20 high impedance.
    void AnzeigeKlemmenLed(std::uint8_t bData, std::uint8_t bHochohmig, int iStartBit, int iAnzahlBits);

    int LedAnzahlOutput() const { return ledAnzahlOutput_; }
    int LedAnzahlCpu() const { return ledAnzahlCpu_; }
    int LedAnzahlErweiterung() const { return ledAnzahlErweiterung_; }
    // The colour last drawn into each terminal LED.
    const std::array<app::Colour, app::kAnzahlKlemmenLeds>& LedFarbe() const { return ledFarbe_; }

    // Timing diagram, filled in by its owner; empty means nothing to do.
    // Draws one sample of channel 0..8 at level 0 (red), 1 (yellow), 2 (green) with a repeat count.
    std::function<void(int kanal, std::uint8_t zustand, std::uint8_t anzahl)> ZeichneSpur;
    // While a protocol file is loaded: stores the level in column `spalte` (terminal bit + 1)
    // of every sample the record being loaded adds.
    std::function<void(int spalte, std::uint8_t zustand)> SampleKlemmen;

private:
    bool ladeBild(app::Control& bereich, ports::Bildbereich art, std::string_view datei);
    void leereBild(app::Control& bereich, ports::Bildbereich art);
    void aktiviere(Modul modul, int LedAnzahl);
    void zeigeModulLeds(Modul modul, std::uint8_t bData, int LedAnzahl);

    app::ProgramState& state_;
    app::MainFormState& c_;
    ports::Pictures& pictures_;
    ports::Dialogs& dialogs_;
    const LedTabellen& tabellen_;

    int ledAnzahlOutput_ = 0;
    int ledAnzahlCpu_ = 0;
    int ledAnzahlErweiterung_ = 0;
    std::array<app::Colour, app::kAnzahlKlemmenLeds> ledFarbe_;
    std::array<std::uint8_t, 11> modulLedWert_{};  // masked bit last drawn per module LED
};

}  // namespace krv::device
