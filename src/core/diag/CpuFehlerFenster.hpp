#pragma once
// The CPU error message window `frmCpuFehlermeldung`: a stop symbol and the error text, kept in
// front of the other windows. The Qt window renders these controls; the core decides when the
// window is loaded, shown and unloaded.
#include <string>

#include "core/ports/ProfileStore.hpp"
#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::diag {

inline constexpr const char* kSektionFehlerFenster = "FehlerFenster";
inline constexpr int kFehlerFensterLinksStandard = 3030;  // twips
inline constexpr int kFehlerFensterObenStandard = 6240;   // twips

// Design geometry in twips.
inline constexpr app::TwipSize kFehlerFensterClient{7185, 2520};
inline constexpr app::TwipRect kLblCpuFehlermeldungRect{1560, 240, 5415, 2055};
inline constexpr app::TwipRect kImgStopRect{240, 240, 1080, 1080};
inline constexpr int kFehlerFensterIcon = 2;  // icon resource of the window

struct CpuFehlerFensterState {
    CpuFehlerFensterState() { frmCpuFehlermeldung.setVisible(false); }
    CpuFehlerFensterState(const CpuFehlerFensterState&) = delete;
    CpuFehlerFensterState& operator=(const CpuFehlerFensterState&) = delete;

    app::Control frmCpuFehlermeldung{"frmCpuFehlermeldung"};  // caption = title, visible = shown
    app::Control imgStop{"imgStop"};                          // fixed stop symbol, never changed
    app::Control lblCpuFehlermeldung{"lblCpuFehlermeldung"};  // caption = the error text
};

class CpuFehlerFenster {
public:
    CpuFehlerFenster(const app::ProgramState& state, ports::ProfileStore& profile);

    CpuFehlerFensterState& controls() { return c_; }
    const CpuFehlerFensterState& controls() const { return c_; }

    // Loaded (the instance exists, possibly hidden) and shown.
    bool geladen() const { return geladen_; }
    bool sichtbar() const { return geladen_ && c_.frmCpuFehlermeldung.visible(); }
    // Position of the window's left and top edge in twips, as read at load or last moved to.
    int links() const { return links_; }
    int oben() const { return oben_; }
    // Kept in front of all windows while shown (the Qt window stays on top).
    bool imVordergrund() const { return imVordergrund_; }

    // Shows the window modeless, loading it first when needed, and keeps it in front.
    void Show();
    // Unloads the window: saves its position and releases it. Nothing when it is not loaded.
    void Unload();
    // Sets the title in the current language; like any use of the window, it loads it (hidden)
    // when it is not loaded.
    void Init_Sprache();
    std::string GetCpuFehlerText(int iFehlerNr) const;
    // The label shows the text for this number; loads the window (hidden) when needed.
    void SetTextCaption(int iFehlerNr);
    // Puts the window in front of all windows without moving or sizing it.
    void InDenVordergrund() { imVordergrund_ = true; }
    // The user moved the window: the Qt layer reports its new position.
    void Move(int links, int oben);

private:
    void Form_Load();
    void Form_Unload();
    void ladenFallsNoetig();
    void setzeTitel();

    const app::ProgramState& state_;
    ports::ProfileStore& profile_;
    CpuFehlerFensterState c_;
    bool geladen_ = false;
    bool imVordergrund_ = false;
    int links_ = kFehlerFensterLinksStandard;
    int oben_ = kFehlerFensterObenStandard;
};

}  // namespace krv::diag
