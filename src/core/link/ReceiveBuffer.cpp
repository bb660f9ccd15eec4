#include "core/link/ReceiveBuffer.hpp"

#include <algorithm>

namespace krv::link {

ByteView ReceiveBuffer::view(std::size_t pos, std::size_t count) const {
    if (pos < 1 || pos > length()) return {};
    count = std::min(count, length() - (pos - 1));
    return {data_.data() + head_ + pos - 1, count};
}

void ReceiveBuffer::append(ByteView chunk) {
    if (chunk.empty()) return;
    if (head_ > 0) {
        data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    data_.insert(data_.end(), chunk.begin(), chunk.end());
}

void ReceiveBuffer::dropBefore(std::size_t pos) {
    if (pos <= 1) return;
    head_ += std::min(pos - 1, length());
    if (head_ == data_.size()) clear();
}

void ReceiveBuffer::clear() {
    data_.clear();
    head_ = 0;
}

}  // namespace krv::link
