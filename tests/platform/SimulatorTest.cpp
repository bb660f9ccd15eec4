// Runs the built krvdiag-sim and reads what it sends through the program's own framing.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/link/PortControl.hpp"
#include "core/link/PortTestDoubles.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/link/TelegramScanner.hpp"
#include "platform/LinuxSerialPort.hpp"

extern char** environ;

namespace krv::platform {
namespace {

const std::string kSim = KRVDIAG_BINARY_DIR "/src/sim/krvdiag-sim";

// A running simulator with its standard output on a pipe.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> all{kSim};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, kSim.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = pipeFds[0];
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Standard output up to the first newline (the pseudo-terminal's path).
    std::string firstLine() {
        std::string line;
        char c = 0;
        while (::read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    Bytes readAll() {
        Bytes all;
        std::uint8_t buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(out_, buffer, sizeof buffer)) > 0) all.insert(all.end(), buffer, buffer + n);
        return all;
    }
    // The exit status, or -1 when the process did not end within the wait.
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

struct SimRun {
    int exitCode = -1;
    Bytes out;
};

SimRun runSim(const std::vector<std::string>& args) {
    SimProcess sim(args);
    SimRun run;
    if (!sim.started()) return run;
    run.out = sim.readAll();
    run.exitCode = sim.wait();
    return run;
}

// The framing's view of a byte stream: every accepted telegram's status block, and the errors.
struct Frames : link::ScanConsumer {
    std::vector<link::StatusBlock> blocks;
    std::vector<std::uint32_t> relayCycles;  // of the long telegrams
    int longTelegrams = 0;
    int crcErrors = 0;
    std::size_t telegramBytes = 0;

    void telegrammErkannt(std::uint8_t) override {}
    bool telegrammAkzeptiert(link::ReceiveState& s) override {
        const ByteView p = s.payload();
        const std::size_t offset = p.size() == 256 ? 224 : 0;
        link::StatusBlock b{};
        std::copy_n(p.begin() + static_cast<std::ptrdiff_t>(offset), b.size(), b.begin());
        blocks.push_back(b);
        if (p.size() == 256) {
            ++longTelegrams;
            relayCycles.push_back(p[116] | p[117] << 8 | p[118] << 16);
        }
        telegramBytes += p.size() + 3;
        return false;  // not displayed: the scan goes on through the whole stream
    }
    void kopfsatz(link::ReceiveState& s, std::size_t p) override { s.EmpfangsPos = p + 1; }
    void crcFehler() override { ++crcErrors; }
    void aufrufEnde(ByteView) override {}
};

Frames frame(const Bytes& stream) {
    Frames frames;
    link::TelegramScanner scanner(frames);
    scanner.ShowData(stream);
    return frames;
}

bool bit(const link::StatusBlock& b, int n) { return (b[2 + n / 8] & (0x80 >> (n % 8))) != 0; }

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::access(kSim.c_str(), X_OK), 0) << kSim << " is not built";
    }
};

TEST_F(Simulator, SendsTheRequestedNumberOfTelegramsWithCorrectCrcs) {
    const SimRun run = runSim({"--device", "-", "--fast", "--count", "400", "--seed", "5"});
    ASSERT_EQ(run.exitCode, 0);
    const Frames f = frame(run.out);
    EXPECT_EQ(f.blocks.size(), 400u);
    EXPECT_EQ(f.crcErrors, 0);
    EXPECT_EQ(f.telegramBytes, run.out.size());  // nothing between the telegrams
    EXPECT_GE(f.longTelegrams, 1);
}

TEST_F(Simulator, TheSameSeedGivesTheSameBytes) {
    const std::vector<std::string> args{"--device", "-", "--fast", "--count", "300", "--seed", "42",
                                        "--cpu-errors", "--crc-errors", "--garbage"};
    const SimRun a = runSim(args);
    const SimRun b = runSim(args);
    ASSERT_EQ(a.exitCode, 0);
    EXPECT_EQ(a.out, b.out);
    const SimRun other = runSim({"--device", "-", "--fast", "--count", "300", "--seed", "43", "--cpu-errors",
                                 "--crc-errors", "--garbage"});
    EXPECT_NE(a.out, other.out);
}

TEST_F(Simulator, TheDefaultScenarioLooksLikeARunningMachine) {
    // About a minute of line time.
    const SimRun run = runSim({"--device", "-", "--fast", "--count", "3000", "--seed", "2"});
    ASSERT_EQ(run.exitCode, 0);
    const Frames f = frame(run.out);
    ASSERT_EQ(f.blocks.size(), 3000u);

    std::set<bool> tuerA, notHaltA, ausgang;
    bool kanaeleVersetzt = false;
    for (const link::StatusBlock& b : f.blocks) {
        EXPECT_EQ(b[0] & 0x1F, 13);  // model 13, no CPU error
        EXPECT_EQ(b[7], 118);        // program version 1.18
        EXPECT_EQ(b[13] & 0x01, 1);  // restart interlock
        tuerA.insert(bit(b, 19));
        notHaltA.insert(bit(b, 12));
        ausgang.insert(bit(b, 5));
        kanaeleVersetzt |= bit(b, 19) != bit(b, 20);
        // The outputs never run with an open door or a pressed emergency stop.
        if (bit(b, 5)) {
            EXPECT_TRUE(bit(b, 12) && bit(b, 13) && bit(b, 19) && bit(b, 20));
        }
    }
    EXPECT_EQ(tuerA.size(), 2u) << "the guard door is opened and closed";
    EXPECT_EQ(notHaltA.size(), 2u) << "the emergency stop is operated";
    EXPECT_EQ(ausgang.size(), 2u) << "the outputs switch";
    EXPECT_TRUE(kanaeleVersetzt) << "the door's two contacts do not move at the same moment";
    ASSERT_GE(f.relayCycles.size(), 2u);
    EXPECT_GT(f.relayCycles.back(), f.relayCycles.front());
}

TEST_F(Simulator, ModelOptionSetsTheModelCode) {
    const SimRun run = runSim({"--device", "-", "--fast", "--count", "200", "--model", "5"});
    ASSERT_EQ(run.exitCode, 0);
    const Frames f = frame(run.out);
    ASSERT_EQ(f.blocks.size(), 200u);
    for (const link::StatusBlock& b : f.blocks) EXPECT_EQ(b[0] & 0x0F, 5);
}

TEST_F(Simulator, CpuErrorEpisodesCarryTheFlagAndAnErrorNumber) {
    const SimRun run = runSim({"--device", "-", "--fast", "--count", "3000", "--cpu-errors"});
    ASSERT_EQ(run.exitCode, 0);
    const Frames f = frame(run.out);
    int mitFehler = 0;
    for (const link::StatusBlock& b : f.blocks) {
        if (!(b[0] & 0x10)) continue;
        ++mitFehler;
        EXPECT_THAT(b[15], ::testing::AnyOf(3, 7));
        EXPECT_FALSE(b[1] & 0x04) << "outputs off during a CPU error";
    }
    EXPECT_GT(mitFehler, 0);
    EXPECT_LT(mitFehler, 3000);
}

TEST_F(Simulator, CrcDamageAndStrayBytesAreWhatTheFramingSeesAsSuch) {
    const SimRun damaged = runSim({"--device", "-", "--fast", "--count", "1000", "--crc-errors"});
    ASSERT_EQ(damaged.exitCode, 0);
    const Frames d = frame(damaged.out);
    EXPECT_GT(d.crcErrors, 0);
    EXPECT_EQ(d.blocks.size() + static_cast<std::size_t>(d.crcErrors), 1000u);

    const SimRun garbage = runSim({"--device", "-", "--fast", "--count", "1000", "--garbage"});
    ASSERT_EQ(garbage.exitCode, 0);
    const Frames g = frame(garbage.out);
    EXPECT_EQ(g.blocks.size(), 1000u);  // stray bytes cost no telegram
    EXPECT_EQ(g.crcErrors, 0);
    EXPECT_GT(garbage.out.size(), g.telegramBytes);
}

TEST_F(Simulator, HelpListsTheOptionsAndBadOptionsAreRefused) {
    const SimRun help = runSim({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    const std::string text(help.out.begin(), help.out.end());
    for (const char* option : {"--device", "--fast", "--count", "--model", "--seed", "--cpu-errors", "--crc-errors",
                               "--garbage", "--help"}) {
        EXPECT_THAT(text, ::testing::HasSubstr(option));
    }
    EXPECT_EQ(runSim({"--bogus"}).exitCode, 2);
    EXPECT_EQ(runSim({"--model", "16"}).exitCode, 2);
    EXPECT_EQ(runSim({"--count", "0"}).exitCode, 2);
    EXPECT_EQ(runSim({"--count"}).exitCode, 2);
}

TEST_F(Simulator, StopsCleanlyOnSigterm) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    ASSERT_THAT(sim.firstLine(), ::testing::StartsWith("/dev/"));
    ASSERT_EQ(::kill(sim.pid(), SIGTERM), 0);
    EXPECT_EQ(sim.wait(std::chrono::seconds(10)), 0);
}

// The simulator on a pseudo-terminal, read by the program's serial port as a device would be.
TEST_F(Simulator, APortReadsThePseudoTerminalInOrderUntilTheSimulatorEnds) {
    const std::vector<std::string> scenario{"--count", "100", "--seed", "3"};
    SimProcess sim(scenario);
    ASSERT_TRUE(sim.started());
    const std::string path = sim.firstLine();
    ASSERT_THAT(path, ::testing::StartsWith("/dev/"));

    test::ReceiveRig rig;
    rig.profile.WritePrivateProfileString("Ports", "COM1", path);
    LinuxSerialPort port(rig.profile);
    test::FakeHost host(port, rig.log);
    link::PortHandler handler(port, rig.receive, host, rig.dialogs, rig.settings);
    link::PortControl control(port, rig.receive, host, rig.dialogs, rig.profile, rig.settings);
    control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(host.portOffen) << (rig.dialogs.boxes.empty() ? "" : rig.dialogs.boxes[0].text);

    // Until the simulator has sent its telegrams and hung up.
    for (int i = 0; i < 5000 && port.fd() >= 0; ++i) {
        pollfd p{port.fd(), POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        port.handleReadable();
    }
    EXPECT_EQ(sim.wait(), 0);
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_THAT(rig.dialogs.boxes[0].text, ::testing::HasSubstr(path));

    // The same scenario written straight out: what the port received is one piece of it.
    std::vector<std::string> reference{"--device", "-", "--fast"};
    reference.insert(reference.end(), scenario.begin(), scenario.end());
    const SimRun expected = runSim(reference);
    ASSERT_EQ(expected.exitCode, 0);
    const Bytes& got = rig.hooks.bytes;
    ASSERT_FALSE(got.empty());
    EXPECT_NE(std::search(expected.out.begin(), expected.out.end(), got.begin(), got.end()), expected.out.end())
        << "received bytes are not a contiguous piece of the simulator's stream";

    rig.receive.drain();
    // Telegrams sent before the port opened are lost, as on a real line; most arrive.
    EXPECT_GE(rig.hooks.telegrams.size(), 10u);
    // The port may have opened in the middle of a telegram; after that every telegram is whole.
    EXPECT_LE(rig.hooks.crcErrors, 1);
}

}  // namespace
}  // namespace krv::platform
