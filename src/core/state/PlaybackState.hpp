#pragma once
// Playback and protocol-file state read by the receive path.
#include <cstdint>

namespace krv::recorder {

struct PlaybackState {
    // 0 no playback, 1 loading records into the sample store, 2 a window of records is loaded.
    int SimulationsStatus = 0;
    std::int32_t AktuellerDatensatz = 0;  // record number being fed during loading
    std::int32_t TriggerSatzNr = 65535;   // 65535 = no trigger count
    int LogVersion = 0;
};

}  // namespace krv::recorder
