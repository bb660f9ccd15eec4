#pragma once
// Service access: Ctrl+L in the device picture opens the dialog `frmPassword`. Opening it locks
// every service item again; the first code unlocks the extra status values, the hex dump menu and
// window and the service flags, the second code the CPU data menu items. The dialog's texts are
// the same in both languages. The Qt dialog renders these controls and reports its events here.
#include <functional>
#include <string>

#include "core/hexdump/HexDump.hpp"
#include "core/state/Control.hpp"
#include "core/state/FormLayout.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"

namespace krv::app {

// The key that opens the dialog: key code 76 ("L") with exactly the Ctrl shift state.
inline constexpr int kTasteL = 76;
inline constexpr int kShiftCtrl = 2;  // shift states: 1 Shift, 2 Ctrl, 4 Alt, added up
inline constexpr int kPasswortIcon = 2;
inline constexpr char kPasswortZeichen = '*';  // what the text box shows for each typed character

// Design geometry in twips.
inline constexpr TwipSize kPasswortClient{4200, 1500};
inline constexpr TwipRect kLblPasswordRect{240, 300, 1080, 285};
inline constexpr TwipRect kTxtPasswordRect{1380, 240, 2580, 345};
inline constexpr TwipRect kCmdOKRect{1380, 840, 1215, 375};
inline constexpr TwipRect kCmdAbbrechenRect{2745, 840, 1215, 375};

struct PasswortDialogState {
    PasswortDialogState();
    PasswortDialogState(const PasswortDialogState&) = delete;
    PasswortDialogState& operator=(const PasswortDialogState&) = delete;

    Control frmPassword{"frmPassword", "Insert password"};  // visible = shown
    Control lblPassword{"lblPassword", "Password: "};
    Control txtPassword{"txtPassword"};  // caption = the typed text, shown masked
    Control cmdOK{"cmdOK", "OK"};
    Control cmdAbbrechen{"cmdAbbrechen", "Abbrechen"};

    void forEach(const std::function<void(Control&)>& visit);
    void setListener(ControlListener listener) { listener_ = std::move(listener); }

private:
    ControlListener listener_;
};

class ServiceZugang {
public:
    ServiceZugang(ProgramState& state, MainFormState& mainControls, hexdump::HexDumpFenster& hexDump);

    PasswortDialogState& controls() { return c_; }
    const PasswortDialogState& controls() const { return c_; }
    bool geladen() const { return geladen_; }
    // How often the open dialog was asked to come to the front (Ctrl+L while it is open).
    unsigned nachVorne() const { return nachVorne_; }

    // A key went down in the device picture area. Opens the dialog for Ctrl+L exactly, and only
    // while that area has the keyboard focus. True when it opened (or raised) the dialog.
    bool picContainer_KeyDown(int keyCode, int shift, bool picContainerHatFokus);

    // Opens the dialog modeless. Loading it locks everything; an open dialog is only raised.
    void Show();
    // The text box changed.
    void txtPassword_Change(const std::string& text) { c_.txtPassword.setCaption(text); }
    // Checks the typed text against both codes, then closes the dialog.
    void cmdOK_Click();
    // Closes the dialog without further change (also the close box).
    void cmdAbbrechen_Click() { Unload(); }
    // Releases the dialog. Nothing when it is not loaded.
    void Unload();

private:
    void Form_Load();
    void sperren();

    ProgramState& state_;
    MainFormState& m_;
    hexdump::HexDumpFenster& hexDump_;
    PasswortDialogState c_;
    bool geladen_ = false;
    unsigned nachVorne_ = 0;
};

}  // namespace krv::app
