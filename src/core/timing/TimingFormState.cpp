#include "core/timing/TimingFormState.hpp"

#include <string>

namespace krv::timing {
namespace {

template <typename C, std::size_t N>
void nameArray(std::array<C, N>& controls, const std::string& base) {
    for (std::size_t i = 0; i < N; ++i) controls[i].setName(base + "(" + std::to_string(i) + ")");
}

}  // namespace

TimingFormState::TimingFormState() {
    nameArray(cboKlemmen, "cboKlemmen");
    nameArray(Line1, "Line1");
    nameArray(LineTrigger, "LineTrigger");
    // The cursor, the trigger marker and the playback information appear only during playback.
    for (LinienControl& l : Line1) {
        l.setColour(kCursorFarbe);
        l.setVisible(false);
    }
    for (LinienControl& l : LineTrigger) {
        l.setColour(kTriggerFarbe);
        l.setVisible(false);
    }
    fraTimingStatus.setVisible(false);
    forEach([this](app::Control& c) { c.setListener(&listener_); });
}

void TimingFormState::forEach(const std::function<void(app::Control&)>& visit) {
    for (app::ListControl& c : cboKlemmen) visit(c);
    for (LinienControl& c : Line1) visit(c);
    for (LinienControl& c : LineTrigger) visit(c);
    for (app::Control* c : {&fraTimingStatus, &lblTimingStatusStart, &lblTimingStatusStop, &lblTimingStatusAktuell,
                            &lblStartDatum, &lblEndeDatum, &lblAktuelleZeit, &lblDateiname}) {
        visit(*c);
    }
}

}  // namespace krv::timing
