#include "core/device/DeviceDisplay.hpp"

#include <string>

#include "core/device/ModelCatalogue.hpp"
#include "core/state/StringTable.hpp"

namespace krv::device {

DeviceDisplay::DeviceDisplay(app::ProgramState& state, app::MainFormState& controls, ports::Pictures& pictures,
                             ports::Dialogs& dialogs)
    : DeviceDisplay(state, controls, pictures, dialogs, ledTabellen()) {}

DeviceDisplay::DeviceDisplay(app::ProgramState& state, app::MainFormState& controls, ports::Pictures& pictures,
                             ports::Dialogs& dialogs, const LedTabellen& tabellen)
    : state_(state), c_(controls), pictures_(pictures), dialogs_(dialogs), tabellen_(tabellen) {
    ledFarbe_.fill(app::kWeiss);
}

void DeviceDisplay::BildLeeren() {
    leereBild(c_.Image1, ports::Bildbereich::Image1);
    leereBild(c_.Image2, ports::Bildbereich::Image2);
    leereBild(c_.Image3, ports::Bildbereich::Image3);
    leereBild(c_.imgStrom, ports::Bildbereich::imgStrom);
    ledAnzahlOutput_ = 0;
    ledAnzahlCpu_ = 0;
    ledAnzahlErweiterung_ = 0;
    for (app::Control& led : c_.shpLed) {
        led.setVisible(false);
        led.setColour(app::kWeiss);
    }
}

bool DeviceDisplay::ladeBild(app::Control& bereich, ports::Bildbereich art, std::string_view datei) {
    const std::string pfad = state_.ProgrammPfad + std::string(datei);
    if (!pictures_.laden(art, pfad)) return false;
    bereich.setCaption(pfad);
    return true;
}

void DeviceDisplay::leereBild(app::Control& bereich, ports::Bildbereich art) {
    pictures_.leeren(art);
    bereich.setCaption({});
}

void DeviceDisplay::HardwareDarstellung(std::uint8_t bData) {
    state_.HardwareTyp = static_cast<std::uint8_t>(bData & 0x0F);
    if (state_.HardwareIndex == state_.HardwareTyp && state_.AnzeigeGueltig != 0) return;
    state_.HardwareIndex = state_.HardwareTyp;
    state_.AnzeigeGueltig = 0;

    for (std::size_t i = 0; i < c_.shpLed.size(); ++i) {
        c_.shpLed[i].setVisible(false);
        c_.shpLed[i].setColour(app::kWeiss);
        ledFarbe_[i] = app::kWeiss;
    }
    c_.shpLed[kAktivitaetsLed].setVisible(true);

    // The status window sets up its texts for the new model; the error window decides anew.
    state_.CpuFehlerAktiv = false;
    state_.StatusInitialisiert = false;

    // A picture that cannot be loaded ends the switch: the pictures before it stay, it and
    // the ones after it keep their old content, and no LED is shown for the new model.
    const Modell& m = modell(state_.HardwareTyp);
    bool geladen = ladeBild(c_.Image1, ports::Bildbereich::Image1, m.bildOutput) &&
                   ladeBild(c_.Image2, ports::Bildbereich::Image2, m.bildCpu);
    if (geladen) {
        if (m.bildErweiterung.empty()) {
            leereBild(c_.Image3, ports::Bildbereich::Image3);
        } else {
            geladen = ladeBild(c_.Image3, ports::Bildbereich::Image3, m.bildErweiterung);
        }
    }
    geladen = geladen && ladeBild(c_.imgStrom, ports::Bildbereich::imgStrom, m.bildStrom);
    if (!geladen) {
        // The message names the file and the reason where the picture port knows them.
        const std::string grund = pictures_.fehler();
        dialogs_.messageBox({app::LoadResString(13, state_.sprachOffset()) + (grund.empty() ? "" : "\n" + grund), {},
                             ports::MsgIcon::None, ports::MsgButtons::Ok});
        return;
    }
    ledAnzahlOutput_ = m.ledAnzahlOutput;
    ledAnzahlCpu_ = m.ledAnzahlCpu;
    ledAnzahlErweiterung_ = m.ledAnzahlErweiterung;

    const LedTabelle& tabelle = tabellen_[state_.HardwareTyp];
    for (const std::uint8_t led : tabelle) {
        // Entries above Max_LED exist only in broken tables; they name no shape.
        if (led <= Max_LED) c_.shpLed[led].setVisible(true);
    }

    AktiviereLedAufOutputModul(ledAnzahlOutput_);
    AktiviereLedAufCpuModul(ledAnzahlCpu_);
    AktiviereLedAufErweiterungsModul(ledAnzahlErweiterung_);
}

void DeviceDisplay::AnzeigeGeraet(GeraeteBytes StatusByte) {
    HardwareDarstellung(StatusByte[0]);
    if (state_.playback.SimulationsStatus != 1) {
        AnzeigeLedAufOutputModul(StatusByte[1], ledAnzahlOutput_);
        AnzeigeLedAufCpuModul(StatusByte[0], ledAnzahlCpu_);
        AnzeigeLedAufErweiterungsModul(StatusByte[1], ledAnzahlErweiterung_);
    }
    // For models whose index is not a multiple of 4, terminal bit 9 shows the inverse of bit 11;
    // the change is for the terminal LEDs only.
    if ((StatusByte[0] & 3) != 0) {
        if (StatusByte[3] & 0x10) {
            StatusByte[3] &= 0xBF;
        } else {
            StatusByte[3] |= 0x40;
        }
    }
    AnzeigeKlemmenLed(StatusByte[2], StatusByte[6], 0, 8);
    AnzeigeKlemmenLed(StatusByte[3], StatusByte[6], 8, 8);
    AnzeigeKlemmenLed(StatusByte[4], StatusByte[6], 16, 8);
    AnzeigeKlemmenLed(StatusByte[5], StatusByte[6], 24, 8);
    AnzeigeKlemmenLed(StatusByte[6], StatusByte[6], 32, 4);
}

std::int16_t DeviceDisplay::KonvertBitToLed(std::int16_t iBitNr) {
    return device::KonvertBitToLed(iBitNr, state_.HardwareIndex, dialogs_, tabellen_);
}

}  // namespace krv::device
