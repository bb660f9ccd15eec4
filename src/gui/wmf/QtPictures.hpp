#pragma once
// The picture port of the device display: loads metafiles with the bounds-checked parser and
// keeps one per picture area. A file with records the parser left out is loaded and drawn
// without them (its `skipped` lines say which); a file that cannot be read or has nothing
// playable is refused and the area keeps its picture. Views bound to an area follow it.
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/device/wmf/Metafile.hpp"
#include "core/ports/Pictures.hpp"
#include "gui/wmf/MetafileView.hpp"

namespace krv::wmf {

class QtPictures : public ports::Pictures {
public:
    bool laden(ports::Bildbereich bereich, const std::string& pfad) override;
    void leeren(ports::Bildbereich bereich) override;

    // The metafile shown in the area; empty when none is loaded.
    std::shared_ptr<const Metafile> metafile(ports::Bildbereich bereich) const;
    // Why the last refused load failed ("path: reason"), for the log and the tests.
    const std::string& letzterFehler() const { return letzterFehler_; }
    std::string fehler() const override { return letzterFehler_; }

    // The view shows the area's picture from now on (a null pointer unbinds).
    void setView(ports::Bildbereich bereich, MetafileView* view);
    // Called after the area's picture changed.
    void setListener(std::function<void(ports::Bildbereich)> listener) { listener_ = std::move(listener); }

private:
    static std::size_t index(ports::Bildbereich bereich) { return static_cast<std::size_t>(bereich); }
    void zeige(ports::Bildbereich bereich, std::shared_ptr<const Metafile> mf);

    std::array<std::shared_ptr<const Metafile>, 4> bilder_;
    std::array<QPointer<MetafileView>, 4> views_;
    std::function<void(ports::Bildbereich)> listener_;
    std::string letzterFehler_;
};

}  // namespace krv::wmf
