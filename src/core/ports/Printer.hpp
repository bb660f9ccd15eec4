#pragma once
// Printing: a plain text (the help window) or a window as it appears on screen (the hex dump
// window, the main window). The Qt layer prints through its print dialog; tests record the jobs.
#include <optional>
#include <string>

namespace krv::ports {

enum class DruckErgebnis {
    Gedruckt,     // the job went to the printer (or the PDF file)
    Abgebrochen,  // the user cancelled the print dialog: nothing printed, nothing to report
    Fehler,       // anything failed: the caller shows its message
};

class Printer {
public:
    virtual ~Printer() = default;

    // The whole text as one print job, ended before returning.
    virtual DruckErgebnis druckeText(const std::string& text) = 0;

    // The window named by its form name ("frmKrvDiag", "frmHexDump") as shown on screen.
    virtual DruckErgebnis druckeFenster(const std::string& formName) = 0;

    // The main window's current view (device picture beside the status window, timing diagram
    // or model list) as a PNG file at the screen's pixel ratio; the failure's reason, if any.
    virtual std::optional<std::string> speichereAnsicht(const std::string& pfad) = 0;
};

}  // namespace krv::ports
