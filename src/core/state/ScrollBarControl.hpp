#pragma once
// A horizontal scroll bar as data: position, range and step sizes, and its two events. Like the
// toolkit's scroll bar, a real change of the position raises Change, whether the user moved it
// or code set it; dragging the box raises Scroll, and Change follows when the box is let go.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "core/state/Control.hpp"

namespace krv::app {

class ScrollBarControl : public Control {
public:
    using Control::Control;

    std::int32_t value() const { return value_; }
    std::int32_t min() const { return min_; }
    std::int32_t max() const { return max_; }
    std::int32_t smallChange() const { return smallChange_; }
    std::int32_t largeChange() const { return largeChange_; }
    // How often the scroll bar was asked to take the input focus.
    unsigned focusRequests() const { return focusRequests_; }

    // The position, from code or from the user (arrow, page, key, box let go): kept inside
    // Min..Max; a real change repaints and raises Change.
    void setValue(std::int32_t v) {
        v = std::clamp(v, min_, std::max(min_, max_));
        if (v == value_) return;
        update(value_, v);
        if (onChange) onChange();
    }
    // The range; the position follows into it (raising Change when it moves).
    void setMin(std::int32_t v) {
        update(min_, v);
        setValue(value_);
    }
    void setMax(std::int32_t v) {
        update(max_, v);
        setValue(value_);
    }
    // Step of an arrow click and of a click beside the box; at least 1.
    void setSmallChange(std::int32_t v) { update(smallChange_, std::max<std::int32_t>(v, 1)); }
    void setLargeChange(std::int32_t v) { update(largeChange_, std::max<std::int32_t>(v, 1)); }

    // The user drags the box. The position is taken only when the box is let go (setValue).
    void ziehen() {
        if (onScroll) onScroll();
    }
    // Give the scroll bar the input focus.
    void setFocus() {
        ++focusRequests_;
        if (onFocus) onFocus();
    }

    // The events; each may stay empty. The Qt layer sets onFocus.
    std::function<void()> onChange;
    std::function<void()> onScroll;
    std::function<void()> onFocus;

private:
    std::int32_t value_ = 0;
    std::int32_t min_ = 0;
    std::int32_t max_ = 32767;
    std::int32_t smallChange_ = 1;
    std::int32_t largeChange_ = 1;
    unsigned focusRequests_ = 0;
};

}  // namespace krv::app
