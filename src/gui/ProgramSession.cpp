#include "gui/ProgramSession.hpp"

#include <QCoreApplication>
#include <QTimer>

#include "core/app/ProgramEntry.hpp"
#include "core/app/StringTable.hpp"
#include "gui/MainWindow.hpp"
#include "gui/SerialNotifier.hpp"
#include "gui/SplashWindow.hpp"
#include "platform/ConfigLocation.hpp"

namespace krv::gui {
namespace {

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
      lock_(lockPfad(options_)) {}

ProgramSession::~ProgramSession() {
    if (splash_) delete splash_.data();
}

bool ProgramSession::start() {
    const bool weiter = app::ProgrammStartVorDemHauptfenster(state_, profile_, dialogs_, lock_, options_.programmPfad,
                                                             [this] { zeigeSplash(); });
    if (!weiter) return false;

    programm_ = std::make_unique<app::Programm>(state_, controls_,
                                                app::Ports{profile_, clock_, dialogs_, serial_, pictures_, printer_, protokollDatei_});
    notifier_ = std::make_unique<SerialNotifier>(serial_);
    window_ = std::make_unique<MainWindow>(programm_->form);
    cpuFehlerWindow_ = new CpuFehlerWindow(programm_->form.cpuFehlerFenster(), window_.get());
    QObject::connect(window_.get(), &MainWindow::geschlossen, [this] {
        if (splash_) splash_->close();
        // The program ends: the error window goes without an unload of its own.
        if (cpuFehlerWindow_) cpuFehlerWindow_->hide();
    });

    programm_->form.Form_Load();
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

}  // namespace krv::gui
