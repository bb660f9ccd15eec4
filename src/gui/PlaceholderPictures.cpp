#include "gui/PlaceholderPictures.hpp"

namespace krv::gui {

// The area shows the file name the core puts into its control's caption after a load.
bool PlaceholderPictures::laden(ports::Bildbereich, const std::string&) { return true; }

void PlaceholderPictures::leeren(ports::Bildbereich) {}

}  // namespace krv::gui
