#pragma once
// What the GUI tests share: a started program session in a temporary configuration directory
// with scripted dialogs, a pseudo-terminal the test writes to as the device, and waiting for
// the event loop.
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "core/common/Bytes.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "gui/ProgramSession.hpp"
#include "platform/SystemClock.hpp"

namespace krv::gui::test {

// Runs the event loop until cond holds or timeoutMs passed; the result is cond's last value.
inline bool warteBis(const std::function<bool()>& cond, int timeoutMs = 5000) {
    return QTest::qWaitFor(cond, timeoutMs);
}

// A program session as `krvdiag --no-splash --config-dir <temporary>` would run it.
class TestSitzung {
public:
    // iniText: contents of KrvDiag.ini before the start; empty: no settings file. lockFile:
    // the single-instance lock; empty: one in the temporary directory.
    explicit TestSitzung(const std::string& iniText = {}, const std::string& lockFile = {});
    ~TestSitzung();

    // The program entry; false when another copy holds the lock.
    bool start();

    ProgramSession& session() { return *session_; }
    MainWindow& window() { return session_->window(); }
    app::MainForm& form() { return session_->form(); }
    app::MainFormState& c() { return session_->controls(); }
    app::ProgramState& state() { return session_->state(); }
    ports::ScriptedDialogs& dialogs() { return dialogs_; }
    std::string configDir() const { return dir_.path().toStdString(); }
    const std::string& lockFile() const { return lockFile_; }
    std::string settingsText() const;

private:
    QTemporaryDir dir_;
    std::string lockFile_;
    ports::ScriptedDialogs dialogs_;
    platform::SystemClock clock_;
    std::unique_ptr<ProgramSession> session_;
};

// The master side of a new pseudo-terminal: the test plays the device on it.
class Geraet {
public:
    Geraet();
    ~Geraet();
    const std::string& pfad() const { return slave_; }
    void sende(ByteView bytes);
    // Hangs the line up: the program's side sees end of file.
    void auflegen();

private:
    int master_ = -1;
    std::string slave_;
};

// The status block a displayed telegram carries (data bytes 0..15, or 224..239 of a long one).
Bytes statusBlock(const link::ReceiveState& s);

}  // namespace krv::gui::test
