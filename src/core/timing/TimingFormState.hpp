#pragma once
// The controls of the timing diagram frame `fraTimingDiagram` as data: the ten selectors, the
// cursor and trigger lines of the nine strips and the playback labels. The strips themselves
// are Spur canvases; the start/stop button and the scroll bar belong to MainFormState.
#include <array>
#include <functional>

#include "core/state/Control.hpp"

namespace krv::timing {

inline constexpr int kAnzahlKanaele = 9;        // channels 0..8
inline constexpr int kTriggerSelektor = 9;       // cboKlemmen(9)
inline constexpr int kAnzahlSelektoren = 10;

inline constexpr app::Colour kCursorFarbe = app::kBlau;
inline constexpr app::Colour kTriggerFarbe = app::kRot;

// A vertical line over one strip, both ends at x (pixels of the strip).
class LinienControl : public app::Control {
public:
    using Control::Control;
    int x() const { return x_; }
    void setX(int x) { update(x_, x); }

private:
    int x_ = 0;
};

struct TimingFormState {
    TimingFormState();
    TimingFormState(const TimingFormState&) = delete;
    TimingFormState& operator=(const TimingFormState&) = delete;

    // 0..8 channel selectors, 9 trigger selector; the colour is the back colour (the recorder
    // shows the armed and fired trigger in it).
    std::array<app::ListControl, kAnzahlSelektoren> cboKlemmen;
    std::array<LinienControl, kAnzahlKanaele> Line1;        // playback cursor
    std::array<LinienControl, kAnzahlKanaele> LineTrigger;  // trigger marker

    // Playback information: frame with caption labels, and the values beside them.
    app::Control fraTimingStatus{"fraTimingStatus"};
    app::Control lblTimingStatusStart{"lblTimingStatusStart"};
    app::Control lblTimingStatusStop{"lblTimingStatusStop"};
    app::Control lblTimingStatusAktuell{"lblTimingStatusAktuell"};
    app::Control lblStartDatum{"lblStartDatum"};
    app::Control lblEndeDatum{"lblEndeDatum"};
    app::Control lblAktuelleZeit{"lblAktuelleZeit"};
    app::Control lblDateiname{"lblDateiname"};

    // Every control once, in a fixed order.
    void forEach(const std::function<void(app::Control&)>& visit);
    void setListener(app::ControlListener listener) { listener_ = std::move(listener); }

private:
    app::ControlListener listener_;
};

}  // namespace krv::timing
