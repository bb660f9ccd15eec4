#include "core/device/ModelCatalogue.hpp"

#include <stdexcept>

#include "core/state/StringTable.hpp"

namespace krv::device {
namespace {

// The output module picture depends only on the variant (R, Rx, T, Tx), the CPU module picture
// only on the base code; the extension module exists for the c families only ("IO-CX" with x).
constexpr std::array<Modell, kAnzahlModelle> kKatalog{{
    {0, "a", "R.WMF", "A.WMF", "", "ST-AR.WMF", 3, 2, 0, "AR_TAB"},
    {1, "ax", "RX.WMF", "AX.WMF", "", "ST-AXRX.WMF", 4, 3, 0, "AXRX_TAB"},
    {2, "a", "T.WMF", "A.WMF", "", "ST-AT.WMF", 3, 2, 0, "AT_TAB"},
    {3, "ax", "TX.WMF", "AX.WMF", "", "ST-AXTX.WMF", 3, 3, 0, "AXTX_TAB"},
    {4, "b", "R.WMF", "B.WMF", "", "ST-BR.WMF", 3, 2, 0, "BR_TAB"},
    {5, "bx", "RX.WMF", "BX.WMF", "", "ST-BXRX.WMF", 4, 3, 0, "BXRX_TAB"},
    {6, "b", "T.WMF", "B.WMF", "", "ST-BT.WMF", 3, 2, 0, "BT_TAB"},
    {7, "bx", "TX.WMF", "BX.WMF", "", "ST-BXTX.WMF", 3, 3, 0, "BXTX_TAB"},
    {8, "c", "R.WMF", "C.WMF", "IO-C.WMF", "ST-CR.WMF", 3, 2, 2, "CR_TAB"},
    {9, "cx", "RX.WMF", "CX.WMF", "IO-CX.WMF", "ST-CXRX.WMF", 4, 3, 4, "CXRX_TAB"},
    {10, "c", "T.WMF", "C.WMF", "IO-C.WMF", "ST-CT.WMF", 3, 2, 2, "CT_TAB"},
    {11, "cx", "TX.WMF", "CX.WMF", "IO-CX.WMF", "ST-CXTX.WMF", 3, 3, 4, "CXTX_TAB"},
    {12, "cb", "R.WMF", "CB.WMF", "IO-C.WMF", "ST-CBR.WMF", 3, 2, 2, "CBR_TAB"},
    {13, "cbx", "RX.WMF", "CBX.WMF", "IO-CX.WMF", "ST-CBXRX.WMF", 4, 3, 4, "CBXRX_TAB"},
    {14, "cb", "T.WMF", "CB.WMF", "IO-C.WMF", "ST-CBT.WMF", 3, 2, 2, "CBT_TAB"},
    {15, "cbx", "TX.WMF", "CBX.WMF", "IO-CX.WMF", "ST-CBXTX.WMF", 3, 3, 4, "CBXTX_TAB"},
}};

}  // namespace

const std::array<Modell, kAnzahlModelle>& modellKatalog() { return kKatalog; }

const Modell& modell(int index) {
    if (index < 0 || index >= kAnzahlModelle) throw std::out_of_range("model index " + std::to_string(index));
    return kKatalog[static_cast<std::size_t>(index)];
}

std::string modellName(int index, int sprachOffset) { return app::LoadResString(modell(index).nameId(), sprachOffset); }

}  // namespace krv::device
