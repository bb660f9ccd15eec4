#pragma once
// Demo mode: the simulated controller krvdiag-sim runs on a pseudo-terminal, the selected port
// is connected to it for this run only, and the data transfer starts at once.
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "core/ports/Dialogs.hpp"

namespace krv::gui {

class ProgramSession;

class DemoSimulator : public QObject {
    Q_OBJECT
public:
    explicit DemoSimulator(QObject* parent = nullptr);
    // Ends the simulator.
    ~DemoSimulator() override;

    // The simulator program: <programDir>/../sim/krvdiag-sim (the build tree), then
    // <programDir>/krvdiag-sim, then the search path. Empty when there is none.
    static QString finde(const QString& programDir);

    // Starts program and waits up to timeoutMs for its first output line, the pseudo-terminal's
    // path. False with fehler() set when it cannot be started or says nothing in time.
    bool starte(const QString& program, const QStringList& args = {}, int timeoutMs = 5000);
    void beende();

    const QString& geraet() const { return geraet_; }
    const QString& fehler() const { return fehler_; }
    bool laeuft() const { return prozess_.state() != QProcess::NotRunning; }

private:
    QProcess prozess_;
    QString geraet_;
    QString fehler_;
};

// " (Demo)", the title's suffix in demo mode.
QString demoTitelZusatz();

// Starts the simulator and the demo in a started session: the selected port's device becomes
// the simulator's pseudo-terminal and, when no timing channel is chosen, the channels show its
// busiest terminals (nothing is written to the settings file); the title gets its suffix, and
// the data transfer starts as its menu item would. When the simulator cannot be found or
// started, a message says so and the program goes on without the demo.
bool starteDemo(ProgramSession& session, DemoSimulator& simulator, const QString& program, ports::Dialogs& dialogs);

}  // namespace krv::gui
