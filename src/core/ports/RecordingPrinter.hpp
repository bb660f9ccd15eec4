#pragma once
// A printer that keeps every job and answers with a chosen result: for tests and headless runs.
#include <string>
#include <vector>

#include "core/ports/Printer.hpp"

namespace krv::ports {

class RecordingPrinter : public Printer {
public:
    struct Auftrag {
        bool fenster = false;  // true: a window by its form name; false: a text
        std::string inhalt;    // the text, or the form name
    };

    // What every job answers; Fehler makes this a failing printer.
    DruckErgebnis ergebnis = DruckErgebnis::Gedruckt;
    std::vector<Auftrag> auftraege;

    DruckErgebnis druckeText(const std::string& text) override {
        auftraege.push_back({false, text});
        return ergebnis;
    }
    DruckErgebnis druckeFenster(const std::string& formName) override {
        auftraege.push_back({true, formName});
        return ergebnis;
    }
    // Saving the view fails with bildFehler while it is set.
    std::optional<std::string> bildFehler;
    std::vector<std::string> bilder;  // the paths of the views saved
    std::optional<std::string> speichereAnsicht(const std::string& pfad) override {
        if (!bildFehler) bilder.push_back(pfad);
        return bildFehler;
    }
};

}  // namespace krv::ports
