#pragma once
// The receive path in one piece: framing (ShowData) feeding the dispatcher. The serial
// handler, playback and the command-line tool all hand their bytes to it.
#include <algorithm>

#include "core/link/Dispatcher.hpp"
#include "core/link/TelegramScanner.hpp"

namespace krv::link {

class ReceivePath {
public:
    ReceivePath(app::Einstellungen& settings, recorder::PlaybackState& playback, ports::ProfileStore& profile,
                ports::Clock& clock, DispatchHooks& hooks)
        : dispatcher_(settings, playback, profile, clock, hooks), scanner_(dispatcher_) {}

    void ShowData(ByteView chunk) { scanner_.ShowData(chunk); }

    // Calls ShowData with an empty chunk until a call leaves the buffer's length unchanged,
    // so that no complete telegram is left waiting behind a displayed one.
    void drain() {
        std::size_t before = 0;
        do {
            before = receive().EmpfangsLaenge();
            ShowData({});
        } while (receive().EmpfangsLaenge() != before);
    }

    // The receive-state reset of Init_Port, the data transfer start and the window's load.
    void resetReceiveState() { receive().reset(); }
    // What Init_Port does to the receive path: back-log threshold and receive state.
    void initPort() {
        dispatch().AnzeigeSchwelle = DispatchState::SchwelleNormal;
        resetReceiveState();
    }

    ReceiveState& receive() { return scanner_.state(); }
    const ReceiveState& receive() const { return scanner_.state(); }
    DispatchState& dispatch() { return dispatcher_.state(); }
    const DispatchState& dispatch() const { return dispatcher_.state(); }

private:
    Dispatcher dispatcher_;
    TelegramScanner scanner_;
};

// Hands data to ShowData in chunks of chunkSize bytes (0 means one chunk), draining after
// each one. Empty data makes no call.
inline void feedInChunks(ReceivePath& path, ByteView data, std::size_t chunkSize) {
    if (chunkSize == 0) chunkSize = data.size();
    for (std::size_t pos = 0; pos < data.size(); pos += chunkSize) {
        path.ShowData(data.subspan(pos, std::min(chunkSize, data.size() - pos)));
        path.drain();
    }
}

}  // namespace krv::link
