#include "gui/QtUebersetzung.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace krv::gui {

void QtUebersetzung::setSprache(int sprachOffset) {
    const bool deutsch = sprachOffset == 0;
    if (deutsch == installiert_) return;
    if (!deutsch) {
        QCoreApplication::removeTranslator(&deutsch_);
        installiert_ = false;
        return;
    }
    if (deutsch_.isEmpty() &&
        !deutsch_.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return;
    }
    installiert_ = QCoreApplication::installTranslator(&deutsch_);
}

}  // namespace krv::gui
