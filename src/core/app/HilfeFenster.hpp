#pragma once
// The help window `frmHilfe`: the help text of the current language, read-only, with a print
// button. It remembers its position and size in section "HilfeFenster" of the settings file.
// The Qt window renders these controls and reports its events to the handlers here.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/ports/Dialogs.hpp"
#include "core/ports/Printer.hpp"
#include "core/ports/ProfileStore.hpp"
#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::app {

// The help text files: "Hilfe0.txt" (German) and "Hilfe1.txt" (English) in the data directory.
// At most this much of a file is shown; a longer file is cut at a character boundary.
inline constexpr std::size_t kHilfeDateiMaxBytes = 1024 * 1024;

// programmPfad (ends with a separator) & "Hilfe" & language number & ".txt".
std::string hilfeDateiName(const std::string& programmPfad, int sprachOffset);

// The file's text as UTF-8 with line feeds only: a byte-order mark is dropped, a file that is
// not UTF-8 is read as Windows-1252. A missing or unreadable file, or anything that is not a
// regular file, gives an empty text; there is no message.
// fehler (when given) becomes "PATH: REASON" when the file cannot be read, else empty.
std::string leseHilfeText(const std::string& dateiName, std::string* fehler = nullptr);
// The same rules on bytes already read; `abgeschnitten` says more bytes followed them.
std::string hilfeTextAusBytes(std::string_view bytes, bool abgeschnitten);

inline constexpr const char* kSektionHilfeFenster = "HilfeFenster";
inline constexpr int kHilfeIcon = 2;  // icon resource of the window
inline constexpr int kTextHilfeDateiFehler = 7100;  // "the help file cannot be read:" + path and reason

// Window geometry in twips: outer left and top edge, outer width and height.
struct HilfeGeometrie {
    int links = 1000;
    int oben = 1000;
    int breite = 8000;
    int hoehe = 8000;
    bool operator==(const HilfeGeometrie&) const = default;
};

// Design places in twips. The text box starts below the strip that carries the print button.
inline constexpr int kTxtHilfeLinks = 240;
inline constexpr int kTxtHilfeOben = 480;
inline constexpr int kLblObererRandHoehe = 480;
inline constexpr TwipRect kCmdHilfeDruckenRect{240, 60, 1215, 360};

struct HilfeLayout {
    TwipRect txtHilfe;
    TwipRect lblObererRand;
    bool operator==(const HilfeLayout&) const = default;
};

// Form_Resize for an inner area of innenBreite x innenHoehe twips: the text box fills the rest
// of the window right of and below its fixed corner (0 where the window is smaller), the strip
// spans the full width.
HilfeLayout hilfeLayout(int innenBreite, int innenHoehe);

struct HilfeFensterState {
    HilfeFensterState();
    HilfeFensterState(const HilfeFensterState&) = delete;
    HilfeFensterState& operator=(const HilfeFensterState&) = delete;

    Control frmHilfe{"frmHilfe"};              // caption = title, visible = shown
    Control lblObererRand{"lblObererRand"};    // the strip at the top
    Control cmdHilfeDrucken{"cmdHilfeDrucken"};
    Control txtHilfe{"txtHilfe"};              // caption = the help text, read-only

    void forEach(const std::function<void(Control&)>& visit);
    void setListener(ControlListener listener) { listener_ = std::move(listener); }

private:
    ControlListener listener_;
};

class HilfeFenster {
public:
    HilfeFenster(const ProgramState& state, ports::ProfileStore& profile, ports::Dialogs& dialogs,
                 ports::Printer& printer);

    HilfeFensterState& controls() { return c_; }
    const HilfeFensterState& controls() const { return c_; }

    bool geladen() const { return geladen_; }
    bool sichtbar() const { return geladen_ && c_.frmHilfe.visible(); }
    // Position and size as read at load or last reported by the window.
    const HilfeGeometrie& geometrie() const { return geometrie_; }
    // Places of the text box and the strip after the last layout.
    const HilfeLayout& layout() const { return layout_; }
    // How often the window was asked to come to the front (a second mnuHilfe while open).
    unsigned nachVorne() const { return nachVorne_; }

    // Menu "?" -> Help: opens the window modeless; when it is open, only brings it up again.
    void mnuHilfe_Click();
    // Closes the window (close box, or the main window's unload): stores the geometry and
    // releases the window. Nothing when it is not loaded.
    void Unload();

    // Captions in the current language.
    void Init_Sprache();
    // The window was resized; a minimised window is not laid out.
    void Form_Resize(int innenBreite, int innenHoehe, bool minimiert);
    // The user moved or sized the window: its new outer geometry in twips.
    void Move(const HilfeGeometrie& geometrie) { geometrie_ = geometrie; }
    // Prints the whole help text; a failure shows text 7002 in a plain OK box.
    void cmdHilfeDrucken_Click();

private:
    void Form_Load();
    void Form_Unload();
    const std::string& text(int id) const;

    const ProgramState& state_;
    ports::ProfileStore& profile_;
    ports::Dialogs& dialogs_;
    ports::Printer& printer_;
    HilfeFensterState c_;
    HilfeGeometrie geometrie_;
    HilfeLayout layout_;
    bool geladen_ = false;
    unsigned nachVorne_ = 0;
};

}  // namespace krv::app
