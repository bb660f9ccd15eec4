#include "gui/wmf/QtPictures.hpp"

#include "core/device/wmf/WmfFile.hpp"

namespace krv::wmf {

bool QtPictures::laden(ports::Bildbereich bereich, const std::string& pfad) {
    ParseResult result = readMetafileFile(pfad);
    if (!result.ok()) {
        letzterFehler_ = pfad + ": " + result.error;
        return false;
    }
    zeige(bereich, std::make_shared<const Metafile>(std::move(*result.metafile)));
    return true;
}

void QtPictures::leeren(ports::Bildbereich bereich) { zeige(bereich, nullptr); }

std::shared_ptr<const Metafile> QtPictures::metafile(ports::Bildbereich bereich) const {
    return bilder_[index(bereich)];
}

void QtPictures::setView(ports::Bildbereich bereich, MetafileView* view) {
    views_[index(bereich)] = view;
    if (view) view->setMetafile(bilder_[index(bereich)]);
}

void QtPictures::zeige(ports::Bildbereich bereich, std::shared_ptr<const Metafile> mf) {
    bilder_[index(bereich)] = std::move(mf);
    if (MetafileView* view = views_[index(bereich)]) view->setMetafile(bilder_[index(bereich)]);
    if (listener_) listener_(bereich);
}

}  // namespace krv::wmf
