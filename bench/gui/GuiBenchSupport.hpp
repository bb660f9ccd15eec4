#pragma once
// What the window measurements share: a started program session in a temporary configuration
// directory (as `krvdiag --no-splash --config-dir <dir>` runs it, with scripted dialogs), the
// device side of a pseudo-terminal, a watch on the end of paint events, telegram and protocol
// file generators, and the figures read from /proc.
#include <QObject>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/common/Bytes.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "gui/ProgramSession.hpp"
#include "platform/SystemClock.hpp"

class QWidget;

namespace krv::bench {

using Uhr = std::chrono::steady_clock;

inline double ms(Uhr::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class BenchSitzung {
public:
    explicit BenchSitzung(const std::string& iniText = {});
    ~BenchSitzung();
    bool start();

    gui::ProgramSession& session() { return *session_; }
    gui::MainWindow& window() { return session_->window(); }
    app::MainForm& form() { return session_->form(); }
    app::MainFormState& c() { return session_->controls(); }
    app::ProgramState& state() { return session_->state(); }
    ports::ScriptedDialogs& dialogs() { return dialogs_; }
    std::string pfad(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }

private:
    QTemporaryDir dir_;
    ports::ScriptedDialogs dialogs_;
    platform::SystemClock clock_;
    std::unique_ptr<gui::ProgramSession> session_;
};

// The master side of a raw pseudo-terminal: the measurement plays the device on it.
class Geraet {
public:
    Geraet();
    ~Geraet();
    const std::string& pfad() const { return slave_; }
    void sende(ByteView bytes);

private:
    int master_ = -1;
    std::string slave_;
};

// Takes over the Paint events of the watched widgets (or of all widgets) so that the moment
// each paint has finished is known.
class PaintUhr : public QObject {
public:
    // Called with the end time of every watched paint.
    std::function<void(Uhr::time_point)> onPaintEnde;

    void beobachte(QWidget* widget);
    void beobachteAlle();

    // Runs the event loop until no paint has ended for ruheMs (at most maxMs in all); the end
    // of the last paint seen meanwhile, or none.
    std::optional<Uhr::time_point> laufeBisRuhe(int ruheMs = 60, int maxMs = 5000);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool alle_ = false;
    Uhr::time_point letzter_{};
    std::uint64_t paints_ = 0;
};

// Short model 13 telegrams in which every data byte but the model code differs from the one
// before: every telegram changes LEDs, terminals, status labels and is a new recorder status.
class WechselndeTelegramme {
public:
    Bytes naechstes();

private:
    std::mt19937 random_{42};
    std::uniform_int_distribution<int> nichtNull_{1, 255};
    std::uint8_t daten_[16] = {};
    std::uint64_t n_ = 0;
};

// A protocol file as the recorder writes it without trigger: header group, then `saetze` data
// records of changing status, 20 ms apart. `gruppen` > 1 appends that many such recordings.
void schreibeProtokolldatei(const std::string& pfad, int saetze, int gruppen = 1);
// A CPU data file: `telegramme` short telegrams, back to back, as the line delivered them.
void schreibeCpuDaten(const std::string& pfad, int telegramme);

struct Speicher {
    long rssKb = 0;
    long spitzeKb = 0;  // VmHWM
};
Speicher speicher();
// User plus system CPU time of this process, and of the calling thread in milliseconds.
double cpuSekunden();
double threadCpuMs();
// Times the calling thread has gone to sleep (voluntary context switches): its wake-ups.
long threadWeckungen();
// The 1-minute load average, printed beside time figures.
double last1();

struct Verteilung {
    double median = 0, p95 = 0, max = 0;
    std::size_t n = 0;
};
Verteilung verteilung(std::vector<double> werte);

}  // namespace krv::bench
