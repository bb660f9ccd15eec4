#include "gui/DemoSimulator.hpp"

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/state/Einstellungen.hpp"
#include "core/state/StartupSettings.hpp"
#include "gui/MainWindow.hpp"
#include "gui/ProgramSession.hpp"
#include "sim/Scenario.hpp"

namespace krv::gui {
namespace {

const QString kSimulator = QStringLiteral("krvdiag-sim");

bool ausfuehrbar(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.isFile() && info.isExecutable();
}

std::string meldung(int sprachOffset, const QString& grund) {
    const bool englisch = sprachOffset != 0;
    const QString text = englisch ? QStringLiteral("Demo mode: %1\nThe program continues without the demo.")
                                  : QStringLiteral("Demo-Modus: %1\nDas Programm läuft ohne Demo weiter.");
    return text.arg(grund).toStdString();
}

// The nine timing channels on the terminals the simulator switches most: emergency stop and
// guard door (two channels each), start button, both safety outputs, the feedback loop and the
// first muting sensor. A channel's value is the terminal number, terminal bit + 1. Channels the
// user has chosen before are kept.
void waehleDemoKanaele(ProgramSession& session) {
    using namespace sim::Klemme;
    constexpr int kBits[] = {NotHaltA, NotHaltB, TuerA, TuerB, Start,
                             Ausgang1, Ausgang2, Rueckfuehrung, MutingSensor1};
    app::Einstellungen& e = session.state().einstellungen;
    if (std::any_of(e.KanalTab.begin(), e.KanalTab.end(), [](int kanal) { return kanal != 0; })) return;
    for (std::size_t k = 0; k < std::size(kBits); ++k) {
        const int kanal = static_cast<int>(k);
        session.profile().setSitzungsWert(app::kSektionEinstellungen, app::timingKanalKey(kanal),
                                          std::to_string(kBits[k] + 1));
        e.KanalTab[k] = kBits[k] + 1;
        session.form().timing().selektorZeigen(kanal);
    }
}

}  // namespace

DemoSimulator::DemoSimulator(QObject* parent) : QObject(parent) {
    prozess_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Should the program die without its orderly end, the simulator goes with it.
    prozess_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // Nothing after the first line is needed, but a full pipe would stop the simulator.
    connect(&prozess_, &QProcess::readyReadStandardOutput, this, [this] {
        if (!geraet_.isEmpty()) prozess_.readAllStandardOutput();
    });
}

DemoSimulator::~DemoSimulator() { beende(); }

QString DemoSimulator::finde(const QString& programDir) {
    const QDir dir(programDir);
    for (const QString& kandidat : {dir.filePath(QStringLiteral("../sim/") + kSimulator), dir.filePath(kSimulator)}) {
        if (ausfuehrbar(kandidat)) return QDir::cleanPath(kandidat);
    }
    return QStandardPaths::findExecutable(kSimulator);
}

bool DemoSimulator::starte(const QString& program, const QStringList& args, int timeoutMs) {
    geraet_.clear();
    fehler_.clear();
    prozess_.start(program, args, QIODevice::ReadOnly);
    if (!prozess_.waitForStarted(timeoutMs)) {
        fehler_ = QStringLiteral("%1: %2").arg(program, prozess_.errorString());
        return false;
    }
    QElapsedTimer uhr;
    uhr.start();
    while (!prozess_.canReadLine()) {
        const qint64 rest = timeoutMs - uhr.elapsed();
        if (rest <= 0 || prozess_.state() == QProcess::NotRunning || !prozess_.waitForReadyRead(static_cast<int>(rest))) {
            fehler_ = prozess_.state() == QProcess::NotRunning
                          ? QStringLiteral("%1 ended without naming its pseudo-terminal.").arg(program)
                          : QStringLiteral("%1 did not name its pseudo-terminal in time.").arg(program);
            beende();
            return false;
        }
    }
    geraet_ = QString::fromLocal8Bit(prozess_.readLine()).trimmed();
    if (geraet_.isEmpty()) {
        fehler_ = QStringLiteral("%1 named no pseudo-terminal.").arg(program);
        beende();
        return false;
    }
    prozess_.readAllStandardOutput();
    return true;
}

void DemoSimulator::beende() {
    if (prozess_.state() == QProcess::NotRunning) return;
    prozess_.terminate();
    if (!prozess_.waitForFinished(2000)) {
        prozess_.kill();
        prozess_.waitForFinished(2000);
    }
}

QString demoTitelZusatz() { return QStringLiteral(" (Demo)"); }

bool starteDemo(ProgramSession& session, DemoSimulator& simulator, const QString& program, ports::Dialogs& dialogs) {
    const int sprache = session.state().sprachOffset();
    auto fehlschlag = [&](const QString& grund) {
        dialogs.messageBox({meldung(sprache, grund), {}, ports::MsgIcon::Exclamation, ports::MsgButtons::Ok});
        return false;
    };
    if (program.isEmpty()) {
        return fehlschlag(sprache != 0 ? QStringLiteral("the simulator krvdiag-sim was not found.")
                                       : QStringLiteral("das Simulationsprogramm krvdiag-sim wurde nicht gefunden."));
    }
    if (!simulator.starte(program)) return fehlschlag(simulator.fehler());

    session.profile().setPortGeraet(session.state().einstellungen.ComPortNr, simulator.geraet().toStdString());
    waehleDemoKanaele(session);
    session.window().setTitelZusatz(demoTitelZusatz());
    session.form().mnuDatenuebertragungStart_Click();
    return true;
}

}  // namespace krv::gui
