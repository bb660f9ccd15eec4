#pragma once
// One run of the program: the settings file, the serial port, the form and its window, put
// together and started in the program entry's order (settings, single-instance test, splash,
// main window load, initial view, splash closed after its remaining time).
#include <QPointer>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/app/Programm.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"
#include "core/ports/Clock.hpp"
#include "core/ports/Dialogs.hpp"
#include "gui/CpuFehlerWindow.hpp"
#include "gui/HelpWindow.hpp"
#include "gui/HexDumpWindow.hpp"
#include "gui/PasswordDialog.hpp"
#include "gui/wmf/QtPictures.hpp"
#include "gui/QtPrinter.hpp"
#include "gui/QtUebersetzung.hpp"
#include "platform/PosixFileSink.hpp"
#include "platform/PosixFileSource.hpp"
#include "gui/PortOverlayProfile.hpp"
#include "gui/SplashWindow.hpp"
#include "platform/IniFileProfile.hpp"
#include "platform/MappedSerialPort.hpp"
#include "platform/LockFileInstance.hpp"

namespace krv::gui {

class MainWindow;
class SerialNotifier;

struct SessionOptions {
    std::optional<std::filesystem::path> configDir;  // --config-dir; else the usual places
    std::optional<std::filesystem::path> lockFile;   // else the program-wide default
    std::string programmPfad;                        // data directory with a trailing '/'
    bool splash = true;
};

class ProgramSession {
public:
    ProgramSession(SessionOptions options, ports::Dialogs& dialogs, ports::Clock& clock);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // Runs the program entry up to the shown main window. False when another copy runs: the
    // message has been shown and no window exists.
    bool start();

    // Valid after a successful start().
    MainWindow& window() { return *window_; }
    app::MainForm& form() { return programm_->form; }
    app::Programm& programm() { return *programm_; }
    SplashWindow* splash() const { return splash_.data(); }
    // The CPU error window; it belongs to the main window.
    CpuFehlerWindow* cpuFehlerWindow() const { return cpuFehlerWindow_.data(); }
    // The hex dump, help and service access windows; they belong to the main window too.
    HexDumpWindow* hexDumpWindow() const { return hexDumpWindow_.data(); }
    HelpWindow* helpWindow() const { return helpWindow_.data(); }
    PasswordDialog* passwordDialog() const { return passwordDialog_.data(); }
    // The window with this form name ("frmKrvDiag", "frmHexDump", ...); nothing for others.
    QWidget* fenster(const std::string& formName) const;
    QtPrinter& printer() { return printer_; }

    app::ProgramState& state() { return state_; }
    app::MainFormState& controls() { return controls_; }
    PortOverlayProfile& profile() { return profile_; }
    platform::MappedSerialPort& serial() { return serial_; }

private:
    void zeigeSplash();
    // The windows the main window opens, and its menu items and keys that belong to them.
    void verbindeFenster();
    void zeigeInfo();

    SessionOptions options_;
    ports::Dialogs& dialogs_;
    ports::Clock& clock_;
    platform::IniFileProfile datei_;
    PortOverlayProfile profile_;
    platform::MappedSerialPort serial_;
    wmf::QtPictures pictures_;
    QtPrinter printer_;
    QtUebersetzung qtTexte_;
    platform::PosixFileSink protokollDatei_;
    platform::PosixFileSink cpuDatenDatei_;
    platform::PosixFileSink exportDatei_;
    platform::PosixFileSource dateiQuelle_;
    app::ProgramState state_;
    app::MainFormState controls_;
    platform::LockFileInstance lock_;
    std::unique_ptr<app::Programm> programm_;
    std::unique_ptr<SerialNotifier> notifier_;
    std::unique_ptr<MainWindow> window_;
    QPointer<SplashWindow> splash_;
    QPointer<CpuFehlerWindow> cpuFehlerWindow_;
    QPointer<HexDumpWindow> hexDumpWindow_;
    QPointer<HelpWindow> helpWindow_;
    QPointer<PasswordDialog> passwordDialog_;
};

}  // namespace krv::gui
