#pragma once
// One window control as plain data: what the Qt layer paints and what tests read. Every
// setter reports a real change to the form's listener, so "repaint only on change" is visible.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace krv::app {

using Colour = std::uint32_t;  // 0x00BBGGRR

inline constexpr Colour kRot = 0x0000FF;
inline constexpr Colour kGruen = 0x00FF00;
inline constexpr Colour kGelb = 0x00FFFF;
inline constexpr Colour kWeiss = 0xFFFFFF;
inline constexpr Colour kBlau = 0xFF0000;
inline constexpr Colour kCyan = 0xFFFF00;

class Control;
// Called after a property of a control changed.
using ControlListener = std::function<void(const Control&)>;

class Control {
public:
    explicit Control(std::string name = {}, std::string caption = {}) : name_(std::move(name)), caption_(std::move(caption)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    bool checked() const { return checked_; }
    Colour colour() const { return colour_; }  // fill or background colour
    // Background drawn (true) or see-through (false), as a label's back style.
    bool opaque() const { return opaque_; }
    // A line about the control shown while the pointer rests on it; empty: none.
    const std::string& statusTip() const { return statusTip_; }
    // How often a property really changed: tests use it to see that unchanged values repaint nothing.
    unsigned changes() const { return changes_; }

    void setCaption(const std::string& v) { update(caption_, v); }
    void setVisible(bool v) { update(visible_, v); }
    void setEnabled(bool v) { update(enabled_, v); }
    void setChecked(bool v) { update(checked_, v); }
    void setColour(Colour v) { update(colour_, v); }
    void setOpaque(bool v) { update(opaque_, v); }
    void setStatusTip(const std::string& v) { update(statusTip_, v); }

    void setName(std::string name) { name_ = std::move(name); }
    void setListener(const ControlListener* listener) { listener_ = listener; }

protected:
    template <typename T>
    void update(T& field, const T& value) {
        if (field == value) return;
        field = value;
        ++changes_;
        if (listener_ && *listener_) (*listener_)(*this);
    }

private:
    std::string name_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    Colour colour_ = kWeiss;
    bool opaque_ = false;
    std::string statusTip_;
    unsigned changes_ = 0;
    const ControlListener* listener_ = nullptr;
};

// A list box: its items and the selected index (-1 = none).
class ListControl : public Control {
public:
    using Control::Control;
    const std::vector<std::string>& items() const { return items_; }
    int listIndex() const { return listIndex_; }
    void setItems(const std::vector<std::string>& items) { update(items_, items); }
    void setListIndex(int index) { update(listIndex_, index); }

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// A timer is state too: the window runs a real timer while it is enabled and calls the
// form's tick handler.
class TimerControl : public Control {
public:
    TimerControl(std::string name, int intervalMs) : Control(std::move(name)), intervalMs_(intervalMs) {
        setEnabled(false);
    }
    int intervalMs() const { return intervalMs_; }

private:
    int intervalMs_;
};

}  // namespace krv::app
