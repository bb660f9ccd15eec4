// krvdiag: the diagnostic program's main window.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

#include "core/state/StringTable.hpp"
#include "core/state/VersionText.hpp"
#include "gui/CommandLine.hpp"
#include "gui/DemoSimulator.hpp"
#include "gui/MainWindow.hpp"
#include "gui/ProgramSession.hpp"
#include "gui/QtDialogs.hpp"
#include "gui/SignalClose.hpp"
#include "platform/DataDirectory.hpp"
#include "platform/SystemClock.hpp"

namespace {

// Help and version need no display: they are answered before the window system is opened.
bool nurAuskunft(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h" || a == "--version" || a == "-v") return true;
    }
    return false;
}

// --exit-when-shown: once the main window's first paint is done, the window is closed the
// usual way, which ends the program.
class EndeNachErstemBild : public QObject {
public:
    explicit EndeNachErstemBild(QWidget& fenster) : fenster_(fenster) { fenster_.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &fenster_ && event->type() == QEvent::Paint) {
            fenster_.removeEventFilter(this);
            QTimer::singleShot(0, &fenster_, &QWidget::close);
        }
        return false;
    }

private:
    QWidget& fenster_;
};

// An exception that no handler took is an internal error: it is printed and the program ends
// with status 70 the usual way (a running recording is finished), instead of std::terminate.
class Anwendung : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* empfaenger, QEvent* ereignis) override {
        try {
            return QApplication::notify(empfaenger, ereignis);
        } catch (const std::exception& e) {
            interneFehler(e.what());
        } catch (...) {
            interneFehler("unknown exception");
        }
        return false;
    }

    static void interneFehler(const char* was) {
        std::fprintf(stderr, "krvdiag: internal error: %s\n", was);
        QCoreApplication::exit(70);
    }
};

int auskunft(const krv::gui::CommandLine& optionen) {
    if (!optionen.fehler.isEmpty()) {
        std::fprintf(stderr, "krvdiag: %s\n\n%s", qPrintable(optionen.fehler), qPrintable(optionen.helpText));
        return 2;
    }
    if (optionen.help) {
        std::printf("%s", qPrintable(optionen.helpText));
    } else {
        std::printf("%s\n", krv::app::VersionsNameText(0).c_str());
    }
    return 0;
}

int hauptprogramm(int argc, char** argv) {
    if (nurAuskunft(argc, argv)) {
        QStringList args;
        for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
        return auskunft(krv::gui::parseCommandLine(args));
    }

    Anwendung qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("krvdiag"));
    QApplication::setApplicationVersion(QString::fromStdString(krv::app::VersionsText()));

    // The window system's own options have been taken out of the arguments by now.
    const krv::gui::CommandLine optionen = krv::gui::parseCommandLine(QApplication::arguments());
    if (!optionen.fehler.isEmpty()) return auskunft(optionen);

    krv::gui::SessionOptions sessionOptionen;
    if (optionen.configDir) sessionOptionen.configDir = optionen.configDir->toStdString();
    sessionOptionen.programmPfad = krv::platform::dataDirectory().string();
    sessionOptionen.splash = optionen.splash;

    krv::platform::SystemClock uhr;
    krv::app::ProgramState* zustand = nullptr;
    krv::gui::QtDialogs dialoge([&zustand] { return zustand != nullptr ? zustand->sprachOffset() : 0; });
    krv::gui::ProgramSession sitzung(sessionOptionen, dialoge, uhr);
    zustand = &sitzung.state();

    // A second copy has shown its message and ends; the running copy is not touched.
    if (!sitzung.start()) return 1;
    dialoge.setHauptfenster(&sitzung.window());
    QObject::connect(&sitzung.window(), &krv::gui::MainWindow::geschlossen, &qtApp, &QApplication::quit);
    const krv::gui::SignalClose signale(sitzung.window());
    std::optional<EndeNachErstemBild> ende;
    if (optionen.exitWhenShown) ende.emplace(sitzung.window());

    krv::gui::DemoSimulator simulator;
    if (optionen.demo) {
        krv::gui::starteDemo(sitzung, simulator, krv::gui::DemoSimulator::finde(QApplication::applicationDirPath()),
                             dialoge);
    }
    const int rc = QApplication::exec();
    // The window's unload has closed the port before the simulator ends.
    simulator.beende();
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return hauptprogramm(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krvdiag: internal error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "krvdiag: internal error\n");
    }
    return 70;
}
