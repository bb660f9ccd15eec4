#pragma once
// Loading the device picture files (metafiles) into the four picture areas of the main window.
// The Qt layer decodes and draws them; tests and the command-line tool use a scripted double.
#include <string>

namespace krv::ports {

// The picture areas of the device picture, named as the window's controls.
enum class Bildbereich { Image1, Image2, Image3, imgStrom };

class Pictures {
public:
    virtual ~Pictures() = default;
    // Loads the picture file at `pfad` (full path) into the area. False when the file cannot be
    // loaded (missing, unreadable, not a picture); the area then keeps what it showed before.
    virtual bool laden(Bildbereich bereich, const std::string& pfad) = 0;
    // Empties the area.
    virtual void leeren(Bildbereich bereich) = 0;
    // Why the last refused load failed, "PATH: REASON"; empty when nothing more is known.
    virtual std::string fehler() const { return {}; }
};

}  // namespace krv::ports
