#include "core/diag/CpuFehlerAnzeige.hpp"

#include "core/state/StringTable.hpp"

namespace krv::diag {

CpuFehlerAnzeige::CpuFehlerAnzeige(app::ProgramState& state, CpuFehlerFenster& fenster, ports::Dialogs& dialogs)
    : state_(state), fenster_(fenster), dialogs_(dialogs) {}

void CpuFehlerAnzeige::AnzeigeCpuFehlermeldung(std::uint8_t bData, const link::ReceiveState& s) {
    if (state_.AnzeigeGueltig == 0) LetzteCpuFehlerNr_ = kKeineCpuFehlerNr;

    if ((bData & kCpuFehlerBit) == 0) {
        // Closed whenever it is open, not only while CpuFehlerAktiv is set: a model switch clears
        // that flag and would otherwise leave a stale error on the screen.
        fenster_.Unload();
        state_.CpuFehlerAktiv = false;
        return;
    }

    if (s.DatenLaenge == 0) return;
    if (s.DatenLaenge != 16 && s.DatenLaenge != 256) {
        dialogs_.messageBox({app::LoadResString(12, state_.sprachOffset()), {}, ports::MsgIcon::Exclamation,
                             ports::MsgButtons::Ok});
        return;
    }
    const std::size_t index = s.DatenLaenge == 256 ? 239 : 15;
    const ByteView byte15 = s.EmpfangsString.view(s.DatenStart + index, 1);
    if (byte15.empty()) return;  // the telegram is no longer in the buffer
    const int e = byte15[0];

    if (e != LetzteCpuFehlerNr_) {
        fenster_.Unload();
        state_.CpuFehlerAktiv = false;
        LetzteCpuFehlerNr_ = e;
    }
    if (!state_.CpuFehlerAktiv) {
        fenster_.Show();
        fenster_.SetTextCaption(e);
    }
    state_.CpuFehlerAktiv = true;
}

}  // namespace krv::diag
