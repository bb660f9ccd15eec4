#pragma once
// The receive buffer `EmpfangsString`: bytes addressed by 1-based position, as the framing
// rules count them. Dropping the front only moves a start offset; the storage is compacted
// when new data is appended, so cutting telegrams off the front costs no copying per telegram.
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "core/common/Bytes.hpp"

namespace krv::link {

class ReceiveBuffer {
public:
    std::size_t length() const { return data_.size() - head_; }
    bool empty() const { return length() == 0; }

    // Byte at 1-based position pos; 0 outside the buffer (the framing rules never ask for one).
    std::uint8_t at(std::size_t pos) const {
        assert(pos >= 1 && pos <= length());
        return pos >= 1 && pos <= length() ? data_[head_ + pos - 1] : 0;
    }

    // count bytes from 1-based position pos, clipped to the buffer.
    ByteView view(std::size_t pos, std::size_t count) const;
    ByteView all() const { return {data_.data() + head_, length()}; }

    void append(ByteView chunk);
    // Keeps the bytes from 1-based position pos on (pos = length() + 1 empties the buffer).
    void dropBefore(std::size_t pos);
    void clear();

private:
    Bytes data_;
    std::size_t head_ = 0;
};

}  // namespace krv::link
