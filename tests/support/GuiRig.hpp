#pragma once
// The GUI tests' rig: a started program session in a temporary configuration directory with
// scripted dialogs, a pseudo-terminal the test plays the device on, waiting for the event loop,
// and reading protocol files back with the built `krvdiag-cli dump`.
#include <gtest/gtest.h>

#include <QAction>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "core/link/TelegramBuilder.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "gui/MainWindow.hpp"
#include "gui/ProgramSession.hpp"
#include "platform/SystemClock.hpp"

// Failure messages show the text of a QString.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace krv::gui::test {

using Dateien = std::vector<std::pair<std::string, std::string>>;

// Runs the event loop until cond holds or ms passed; the result is cond's last value.
inline bool warteBis(const std::function<bool()>& cond, int ms = 5000) { return QTest::qWaitFor(cond, ms); }

// The master side of a new pseudo-terminal: the test plays the device on it.
class Geraet {
public:
    Geraet();
    ~Geraet() { auflegen(); }
    const std::string& pfad() const { return slave_; }
    void sende(ByteView bytes);
    void auflegen();  // the program's side sees end of file

private:
    int master_ = -1;
    std::string slave_;
};

// A program session as `krvdiag --no-splash --config-dir <temporary>` runs it, its COM1 the
// test's pseudo-terminal. The data directory is the temporary directory too: it holds the
// pictures the build drew and the data files a test gives (error texts, help texts).
class Sitzung {
public:
    explicit Sitzung(const std::string& ini = {}, const Dateien& dateien = {},
                     const std::string& lockFile = {});

    bool start();      // the program entry; false when another copy holds the lock
    void verbinde();   // start, then the data transfer from the menu

    Geraet geraet;
    ProgramSession& session() { return *session_; }
    MainWindow& w() { return session_->window(); }
    app::MainForm& form() { return session_->form(); }
    app::MainFormState& c() { return session_->controls(); }
    app::ProgramState& state() { return session_->state(); }
    ports::ScriptedDialogs& dialogs() { return dialogs_; }
    QAction* a(const app::Control& item) { return w().action(item); }
    void menu(const app::Control& item);
    std::string configDir() const { return dir_.path().toStdString(); }
    std::string datei(const std::string& name) const { return configDir() + "/" + name; }
    std::string settingsText() const;
    std::vector<std::string> texte() const;  // the message boxes shown so far

    // Sends a telegram and waits until the window has displayed it.
    void sende(const Bytes& telegramm);
    void sende(const link::StatusBlock& block) { sende(link::kurzTelegramm(block)); }
    void serviceCode(const std::string& code);  // as the password dialog enters it

    int angezeigt = 0;
    std::vector<Bytes> bloecke;  // the status blocks displayed, in order

private:
    QTemporaryDir dir_;
    ports::ScriptedDialogs dialogs_;
    platform::SystemClock clock_;
    std::unique_ptr<ProgramSession> session_;
};

// A status block from its first bytes; nr: the CPU error number in byte 15.
link::StatusBlock block(std::initializer_list<std::uint8_t> bytes, std::uint8_t nr = 0);
// Model 13 with terminal byte 2 = i: every i gives another stored status.
inline link::StatusBlock laufBlock(int i) { return block({0x0D, 0, static_cast<std::uint8_t>(i)}); }

// The lines `krvdiag-cli dump` prints for a protocol file; empty (after a failure) when the
// tool rejects it.
QStringList dumpZeilen(const std::string& datei, const QStringList& optionen = {});
// The slot lines of runs 1, 2 (twice), 3 as the dump shows them: repeat count and status bytes
// 2 onwards (bytes 3 and 4 carry the forced bits).
QStringList slotZeilen(const QStringList& dump);
inline const QStringList kLaeufe1223 = {"1 0102010000", "2 0202010000", "1 0302010000"};

// Whether a descriptor of this process still refers to path: a protocol file the recorder has
// finished is closed, and closing is where it is synced to the disk.
bool dateiNochOffen(const std::string& path);

}  // namespace krv::gui::test
