#pragma once
// Picture loading until the metafile renderer exists: every load is accepted, so the picture
// areas show the names of their files (the control captions) and the LEDs work on top of them.
#include "core/ports/Pictures.hpp"

namespace krv::gui {

class PlaceholderPictures : public ports::Pictures {
public:
    bool laden(ports::Bildbereich bereich, const std::string& pfad) override;
    void leeren(ports::Bildbereich bereich) override;
};

}  // namespace krv::gui
