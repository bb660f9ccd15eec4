#pragma once
// Cuts telegrams out of the received byte stream and checks them (`ShowData`). What happens to
// an accepted telegram or a header record is the consumer's business (the dispatcher).
#include <cstddef>
#include <cstdint>

#include "core/common/Bytes.hpp"
#include "core/link/ReceiveState.hpp"

namespace krv::link {

class ScanConsumer {
public:
    virtual ~ScanConsumer() = default;
    // A start "L" with kind digit '1', '2' or '3' was recognised.
    virtual void telegrammErkannt(std::uint8_t kind) = 0;
    // The telegram at DatenStart passed its CRC. Returns true when it was displayed (the
    // call ends after the cut), false when it was taken without display (the scan goes on).
    virtual bool telegrammAkzeptiert(ReceiveState& state) = 0;
    // A complete header record of type 'D', 'K', 'T' or 'V' starts at position p; the
    // consumer sets EmpfangsPos behind the bytes it read.
    virtual void kopfsatz(ReceiveState& state, std::size_t p) = 0;
    virtual void crcFehler() = 0;
    // End of every call, after the scan and the buffer limit: the chunk as it was passed in.
    virtual void aufrufEnde(ByteView chunk) = 0;
};

class TelegramScanner {
public:
    // Buffers longer than this drop everything before the scan position after a call.
    static constexpr std::size_t PufferGrenze = 1024;

    explicit TelegramScanner(ScanConsumer& consumer) : consumer_(consumer) {}

    void ShowData(ByteView chunk);

    ReceiveState& state() { return state_; }
    const ReceiveState& state() const { return state_; }

private:
    // One step of the state machine; false ends the scan of this call.
    bool schritt();
    bool sucheStart();
    bool pruefeTelegramm();

    ReceiveState state_;
    ScanConsumer& consumer_;
};

}  // namespace krv::link
