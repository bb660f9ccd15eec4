#pragma once
// `AnzeigeCpuFehlermeldung`: decides from every displayed status block whether the CPU error
// window is shown, refilled or closed. Bit 4 of status byte 0 is the device's error flag;
// while it is set, status byte 15 is the error number.
#include <cstdint>

#include "core/diag/CpuFehlerFenster.hpp"
#include "core/link/ReceiveState.hpp"
#include "core/ports/Dialogs.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::diag {

inline constexpr std::uint8_t kCpuFehlerBit = 0x10;
inline constexpr int kKeineCpuFehlerNr = 256;

class CpuFehlerAnzeige {
public:
    CpuFehlerAnzeige(app::ProgramState& state, CpuFehlerFenster& fenster, ports::Dialogs& dialogs);

    // bData: status byte 0 of the block being displayed; the error number is read from the
    // telegram in `s` (data byte 15 of a short, 239 of a long telegram).
    void AnzeigeCpuFehlermeldung(std::uint8_t bData, const link::ReceiveState& s);

    // The error number last handled; kKeineCpuFehlerNr for none.
    int LetzteCpuFehlerNr() const { return LetzteCpuFehlerNr_; }

private:
    app::ProgramState& state_;
    CpuFehlerFenster& fenster_;
    ports::Dialogs& dialogs_;
    int LetzteCpuFehlerNr_ = kKeineCpuFehlerNr;
};

}  // namespace krv::diag
