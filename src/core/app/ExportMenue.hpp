#pragma once
// File menu "Exportieren..." and "Bild speichern...": the protocol file being played back as a
// Value Change Dump or CSV table (chosen by the name's extension, which the save dialog's file
// type gives), and the main window's current view as a PNG picture.
#include <functional>
#include <string>

#include "core/app/MainForm.hpp"

namespace krv::app {

class ExportMenue {
public:
    ExportMenue(ProgramState& state, MainForm& form, Ports ports)
        : state_(state), form_(form), ports_(ports) {}

    void mnuExportieren_Click();
    void mnuBildSpeichern_Click();

    // Runs the window's pending events between blocks of records, so that the progress in the
    // status line is seen; the Qt layer sets it.
    std::function<void()> ereignisseVerarbeiten;

private:
    // The chosen path after the replace question; nothing when the user cancelled.
    std::optional<std::string> zielWaehlen(int titel, int filter, const std::string& vorschlag);
    void fehler(int textId, const std::string& pfad, const std::string& grund);
    const std::string& text(int id) const;

    ProgramState& state_;
    MainForm& form_;
    Ports ports_;
    bool laeuft_ = false;  // the window's events run during an export: no second one meanwhile
};

}  // namespace krv::app
