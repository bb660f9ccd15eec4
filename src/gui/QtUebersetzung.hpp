#pragma once
// Qt's own texts (file dialogs, standard buttons) in the program's language: the German ones
// come from qtbase_de in Qt's translations directory (Debian package qt6-translations-l10n);
// English is Qt's own language and needs none.
#include <QTranslator>

namespace krv::gui {

class QtUebersetzung {
public:
    // 0 German, 10000 English, as the program's language offset. Without the translation files
    // Qt's texts simply stay English.
    void setSprache(int sprachOffset);

private:
    QTranslator deutsch_;
    bool installiert_ = false;
};

}  // namespace krv::gui
