#include "gui/ProgramSession.hpp"

#include <QCoreApplication>
#include <QTimer>

#include "core/app/ProgramEntry.hpp"
#include "core/link/PortHinweise.hpp"
#include "core/state/StringTable.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PictureArea.hpp"
#include "gui/SerialNotifier.hpp"
#include "gui/SplashWindow.hpp"
#include "platform/ConfigLocation.hpp"
#include "platform/SerialDeviceList.hpp"

namespace krv::gui {
namespace {

constexpr int kTextEinstellungenNichtGelesen = 7101;
constexpr int kIniDatei = 18;  // "KrvDiag.ini", the same in both languages

std::filesystem::path lockPfad(const SessionOptions& o) {
    if (o.lockFile) return *o.lockFile;
    return platform::defaultLockFile(platform::configDirectory(o.configDir));
}

}  // namespace

ProgramSession::ProgramSession(SessionOptions options, ports::Dialogs& dialogs, ports::Clock& clock)
    : options_(std::move(options)),
      dialogs_(dialogs),
      clock_(clock),
      datei_(platform::settingsFilePath(app::LoadResString(kIniDatei, 0), options_.configDir)),
      profile_(datei_),
      serial_(profile_),
      lock_(lockPfad(options_)) {
    // A settings file that cannot be read is told once, after the step that met it.
    datei_.beiLeseFehler([this](const std::string& fehler) {
        QTimer::singleShot(0, [this, fehler] {
            dialogs_.messageBox({app::LoadResString(kTextEinstellungenNichtGelesen, state_.sprachOffset()) + "\n" +
                                     fehler,
                                 {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
        });
    });
}

ProgramSession::~ProgramSession() {
    if (splash_) delete splash_.data();
}

bool ProgramSession::start() {
    const bool weiter = app::ProgrammStartVorDemHauptfenster(state_, profile_, dialogs_, lock_, options_.programmPfad,
                                                             [this] { zeigeSplash(); });
    if (!weiter) return false;

    programm_ = std::make_unique<app::Programm>(state_, controls_,
                                                app::Ports{profile_, clock_, dialogs_, serial_, pictures_, printer_,
                                                           protokollDatei_, cpuDatenDatei_, dateiQuelle_,
                                                           &exportDatei_});
    notifier_ = std::make_unique<SerialNotifier>(serial_);
    window_ = std::make_unique<MainWindow>(programm_->form);
    for (std::size_t i = 0; i < 4; ++i) {
        pictures_.setView(static_cast<ports::Bildbereich>(i), window_->bildBereich(i)->view());
    }
    cpuFehlerWindow_ = new CpuFehlerWindow(programm_->form.cpuFehlerFenster(), window_.get());
    QObject::connect(window_.get(), &MainWindow::geschlossen, [this] {
        if (splash_) splash_->close();
        // The program ends: the error window goes without an unload of its own.
        if (cpuFehlerWindow_) cpuFehlerWindow_->hide();
    });
    verbindeFenster();

    programm_->form.Form_Load();
    qtTexte_.setSprache(state_.sprachOffset());
    app::ProgrammStartNachDemLaden(state_, programm_->form);
    window_->zentrieren();
    window_->show();

    if (splash_) QTimer::singleShot(app::splashRestzeitMs(clock_), splash_.data(), &QWidget::close);
    return true;
}

void ProgramSession::zeigeSplash() {
    if (!options_.splash) return;
    splash_ = new SplashWindow(state_.sprachOffset());
    splash_->show();
    // Let it paint before the main window's load keeps the program busy.
    QCoreApplication::processEvents();
}

void ProgramSession::verbindeFenster() {
    app::Programm& p = *programm_;
    MainWindow& w = *window_;
    hexDumpWindow_ = new HexDumpWindow(p.hexDump, &w);
    helpWindow_ = new HelpWindow(p.hilfe, &w);
    passwordDialog_ = new PasswordDialog(p.service, &w);

    for (std::size_t i = 0; i < controls_.mnuSprache.size(); ++i) {
        w.setHandler(controls_.mnuSprache[i], [this, &p, i] {
            p.mnuSprache_Click(static_cast<int>(i));
            qtTexte_.setSprache(state_.sprachOffset());
        });
    }
    for (std::size_t i = 0; i < controls_.mnuHexDumpAuswahl.size(); ++i) {
        w.setHandler(controls_.mnuHexDumpAuswahl[i], [&p, i] { p.mnuHexDumpAuswahl_Click(static_cast<int>(i)); });
    }
    w.setHandler(controls_.mnuHilfe, [this] {
        programm_->mnuHilfe_Click();
        helpWindow_->abgleichen();  // opened, or brought up when it is open
    });
    w.setHandler(controls_.mnuInfo, [this] { zeigeInfo(); });
    // The port menu names each number's device while the selected one is missing.
    w.setHandler(controls_.mnuComAnschluss, [this] {
        link::setzePortHinweise(controls_.mnuCom, serial_.commPort(), state_.sprachOffset(),
                                [this](int nr) { return platform::portGeraetInfo(profile_, nr); });
    });
    w.setHandler(controls_.mnuPrint, [this] { programm_->mnuPrint_Click(); });
    w.setHandler(controls_.mnuExportieren, [this] { programm_->exportMenue.mnuExportieren_Click(); });
    w.setHandler(controls_.mnuBildSpeichern, [this] { programm_->exportMenue.mnuBildSpeichern_Click(); });
    // The status line's progress is painted between blocks of records.
    p.exportMenue.ereignisseVerarbeiten = [] { QCoreApplication::processEvents(); };
    printer_.setAnsicht([this] { return window_ ? window_->ansichtsBild() : QPixmap(); });
    w.onPicContainerKeyDown = [this](int code, int shift, bool fokus) {
        if (!programm_->picContainer_KeyDown(code, shift, fokus)) return false;
        passwordDialog_->abgleichen();
        return true;
    };

    // After a language switch: the window's texts are set; show them now.
    p.sprache.onNeuZeichnen = [this](const std::string& formName) {
        QWidget* f = fenster(formName);
        if (f == nullptr) return;
        if (f == hexDumpWindow_) hexDumpWindow_->abgleichen();
        if (f == cpuFehlerWindow_) cpuFehlerWindow_->abgleichen();
        f->update();
    };
    p.onInfoSchliessen = [this] {
        if (splash_) splash_->close();
    };
    printer_.setFensterSuche([this](const std::string& formName) { return fenster(formName); });
    QObject::connect(&w, &MainWindow::geschlossen, [this] {
        // The main window's unload has released the hex dump and help windows.
        if (hexDumpWindow_) hexDumpWindow_->abgleichen();
        if (helpWindow_) helpWindow_->abgleichen();
        if (passwordDialog_) passwordDialog_->hide();
    });
}

QWidget* ProgramSession::fenster(const std::string& formName) const {
    if (!programm_) return nullptr;
    if (formName == controls_.frmKrvDiag.name()) return window_.get();
    if (formName == programm_->hexDump.controls().frmHexDump.name()) return hexDumpWindow_.data();
    if (formName == programm_->hilfe.controls().frmHilfe.name()) return helpWindow_.data();
    if (formName == programm_->form.cpuFehlerFenster().controls().frmCpuFehlermeldung.name()) {
        return cpuFehlerWindow_.data();
    }
    return nullptr;
}

void ProgramSession::zeigeInfo() {
    // The info window is the splash window; one that is still open is only brought up.
    if (!splash_) {
        splash_ = new SplashWindow(state_.sprachOffset());
        splash_->show();
    }
    splash_->raise();
    splash_->activateWindow();
}

}  // namespace krv::gui
