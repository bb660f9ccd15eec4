#pragma once
// Which widget updates belong to which control. The window registers one update per widget
// property; a change reported by a control runs only that control's updates.
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/state/Control.hpp"

namespace krv::gui {

class ControlBindings {
public:
    // Runs update at once (the widget starts from the control's state) and on every change.
    void bind(const app::Control& control, std::function<void()> update) {
        update();
        updates_[&control].push_back(std::move(update));
    }

    void changed(const app::Control& control) const {
        const auto it = updates_.find(&control);
        if (it == updates_.end()) return;
        for (const auto& update : it->second) update();
    }

    bool bound(const app::Control& control) const { return updates_.count(&control) != 0; }

private:
    std::unordered_map<const app::Control*, std::vector<std::function<void()>>> updates_;
};

}  // namespace krv::gui
