// The serial port on a real pseudo-terminal, with the test or the built krvdiag-sim as the device.
#include "platform/LinuxSerialPort.hpp"

#include <poll.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <tuple>

#include "core/link/PortControl.hpp"
#include "platform/LineErrorCounters.hpp"
#include "support/LinkRig.hpp"
#include "support/SerialRig.hpp"

namespace krv::platform {
namespace {

using ::testing::HasSubstr;
namespace ev = ports::CommEvent;
using linktest::operator+;
using test::Pty;
using test::pumpOnce;
using test::Sim;

// Writes everything to the master side, letting the port read whenever the line is full.
void send(Pty& pty, LinuxSerialPort& port, ByteView bytes) {
    std::size_t done = 0;
    for (int stalls = 0; done < bytes.size() && stalls < 1000;) {
        const ssize_t n = ::write(pty.master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            ++stalls;
            pumpOnce(port, 100);
        }
    }
    ASSERT_EQ(done, bytes.size()) << "the port does not take the bytes";
}

// The receive path, the main window stand-in and the port handling around a real port on COM1.
struct LinuxPortRig : test::ReceiveRig {
    explicit LinuxPortRig(const std::string& geraet, std::unique_ptr<ports::LineErrorSource> fehler = nullptr)
        : port(profile, std::move(fehler)) {
        profile.WritePrivateProfileString("Ports", "COM1", geraet);
        port.setDescriptorListener([this](int fd) { descriptors.push_back(fd); });
    }
    LinuxSerialPort port;
    test::FakeHost host{port, log};
    link::PortHandler handler{port, receive, host, dialogs, settings};
    link::PortControl control{port, receive, host, dialogs, profile, settings};
    std::vector<int> descriptors;
};

// Short telegrams and every fifth a long one, each with its own status block.
Bytes telegramme(int anzahl) {
    Bytes all;
    for (int i = 0; i < anzahl; ++i) {
        link::StatusBlock s{};
        for (std::size_t k = 0; k < s.size(); ++k) s[k] = static_cast<std::uint8_t>(i * 7 + k);
        all = all + (i % 5 ? link::kurzTelegramm(s) : link::langTelegramm(link::langeNutzdaten(s, 1000)));
    }
    return all;
}

TEST(LinuxSerialPort, BytesArriveInOrderUntilTheDeviceGoesAwayWithOneMessage) {
    Pty pty;
    LinuxPortRig rig(pty.slave);
    rig.control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.host.portOffen) << (rig.dialogs.boxes.empty() ? "" : rig.dialogs.boxes[0].text);
    ASSERT_EQ(rig.descriptors, std::vector<int>{rig.port.fd()});

    const Bytes sent = telegramme(30);
    // Odd pieces, so telegrams are split across reads.
    for (std::size_t pos = 0; pos < sent.size(); pos += 37) {
        send(pty, rig.port, ByteView(sent).subspan(pos, std::min<std::size_t>(37, sent.size() - pos)));
    }
    for (int i = 0; i < 200 && rig.hooks.bytes.size() < sent.size(); ++i) pumpOnce(rig.port);
    EXPECT_EQ(rig.hooks.bytes, sent);
    rig.receive.drain();
    ASSERT_EQ(rig.hooks.telegrams.size(), 30u);
    EXPECT_EQ(rig.hooks.telegrams[5][224 + 3], 5 * 7 + 3);
    EXPECT_EQ(rig.hooks.crcErrors, 0);

    // The adapter is pulled: the port closes, one message names the device, and a hung-up
    // descriptor is not watched any longer (no busy loop).
    pty.schliessen();
    int wakeUps = 0;
    while (rig.port.fd() >= 0 && wakeUps < 100 && pumpOnce(rig.port)) ++wakeUps;
    EXPECT_LE(wakeUps, 2);
    rig.port.handleReadable();  // the event loop may still call in once more
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.host.portOffen);
    EXPECT_EQ(rig.host.portVerlorenAufrufe, 1);
    EXPECT_EQ(rig.descriptors.back(), -1);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text,
              "Die Verbindung zum Gerät über " + pty.slave + " wurde unterbrochen.");
    EXPECT_EQ(rig.hooks.bytes, sent);
}

TEST(LinuxSerialPort, QueueCountsKernelBytesIsClearedCappedAndReopens) {
    Pty pty;
    LinuxPortRig rig(pty.slave);
    ASSERT_FALSE(rig.port.open());  // open, but not shown open: the handler reads nothing
    const int erster = rig.port.fd();
    EXPECT_THAT(*rig.port.open(), HasSubstr("already open"));
    std::vector<int> codes;
    rig.port.setOnComm([&](int code) { codes.push_back(code); });

    send(pty, rig.port, Bytes(100, 'a'));
    ASSERT_TRUE(pumpOnce(rig.port));
    EXPECT_EQ(codes, std::vector<int>{ev::Empfang});
    send(pty, rig.port, Bytes(10, 'b'));
    pollfd p{rig.port.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(rig.port.inBufferCount(), 110u);  // queued in the port and waiting in the kernel
    rig.port.clearInBuffer();
    EXPECT_EQ(rig.port.inBufferCount(), 0u);
    EXPECT_TRUE(rig.port.input().empty());

    send(pty, rig.port, Bytes(LinuxSerialPort::MaxQueue + 5000, 'x'));
    while (pumpOnce(rig.port, 200)) {
    }
    EXPECT_THAT(codes, ::testing::Contains(ev::PufferUeberlauf));
    EXPECT_EQ(rig.port.input().size(), LinuxSerialPort::MaxQueue);

    ASSERT_FALSE(rig.port.close());
    EXPECT_FALSE(rig.port.close());  // closing a closed port is no error
    ASSERT_FALSE(rig.port.open());
    EXPECT_EQ(rig.descriptors, (std::vector<int>{erster, -1, rig.port.fd()}));
}

TEST(LinuxSerialPort, OpenFailuresSayWhatToDo) {
    const std::tuple<const char*, int, std::vector<std::string>> faelle[] = {
        {"/dev/krvdiag-no-such-tty", 1, {"/dev/krvdiag-no-such-tty", "No such file or directory", "[Ports]"}},
        {"/dev/null", 1, {"/dev/null", "not a serial port"}},
        {"", 5, {"COM5", "[Ports]"}},  // a port number without a device
    };
    for (const auto& [geraet, nr, texte] : faelle) {
        LinuxPortRig rig(geraet);
        rig.port.setCommPort(nr);
        const auto fehler = rig.port.open();
        ASSERT_TRUE(fehler) << geraet;
        for (const std::string& t : texte) EXPECT_THAT(*fehler, HasSubstr(t));
        EXPECT_TRUE(rig.descriptors.empty());
    }
    EXPECT_THAT(describeOpenError("/dev/ttyUSB0", EBUSY), HasSubstr("in use by another program"));
    // The kernel's error counters become events; a pseudo-terminal has none.
    const std::vector<int> alle{1001, 1004, 1006, 1008, 1009};
    EXPECT_EQ(gewachseneZaehler({5, 1, 0, 7, 0}, {6, 2, 1, 9, 1}), alle);
    EXPECT_FALSE(leseFehlerZaehler(Pty().master).has_value());
}

// The counters cost a system call per look: a line without them (the pseudo-terminal's own
// answer) is asked once, at the opening; one with them at most every 250 ms, and what grew
// between two looks is still reported. Ten reads of real bytes, the clock moving by a step each.
TEST(LinuxSerialPort, LineErrorCountersAreAskedOnceOrSparingly) {
    const std::tuple<bool, int, int> faelle[] = {{false, 300, 1}, {true, 300, 11}, {true, 100, 4}, {true, 249, 6}};
    for (const auto& [zaehler, schrittMs, fragenErwartet] : faelle) {
        SCOPED_TRACE(testing::Message() << "counters " << zaehler << ", step " << schrittMs << " ms");
        int fragen = 0;
        std::chrono::steady_clock::time_point jetzt{};
        auto leser = [&, zaehler = zaehler](int fd) -> std::optional<FehlerZaehler> {
            ++fragen;
            if (!zaehler) return leseFehlerZaehler(fd);
            return FehlerZaehler{fragen, 0, 0, 0, 0};  // a framing error before every look
        };
        Pty pty;
        LinuxPortRig rig(pty.slave, std::make_unique<KernelLineErrors>(leser, [&] { return jetzt; }));
        ASSERT_FALSE(rig.port.open());
        std::vector<int> codes;
        rig.port.setOnComm([&](int code) { codes.push_back(code); });
        for (int i = 0; i < 10; ++i) {
            jetzt += std::chrono::milliseconds(schrittMs);
            send(pty, rig.port, Bytes(10, 'a'));
            ASSERT_TRUE(pumpOnce(rig.port));
        }
        EXPECT_EQ(fragen, fragenErwartet);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), ev::Empfang), 10);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), ev::Rahmenfehler), fragenErwartet - 1);
        EXPECT_EQ(rig.hooks.bytes.size() + rig.port.input().size(), 100u);
    }
}

// The simulator on a pseudo-terminal, read by the program's serial port as a device would be,
// until it has sent its telegrams and hangs up.
TEST(Simulator, APortReadsItsPseudoTerminalInOrderUntilItEnds) {
    Sim sim("--count 100 --seed 3");
    const std::string pfad = sim.ersteZeile();
    ASSERT_THAT(pfad, ::testing::StartsWith("/dev/"));
    LinuxPortRig rig(pfad);
    rig.control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.host.portOffen) << (rig.dialogs.boxes.empty() ? "" : rig.dialogs.boxes[0].text);
    while (pumpOnce(rig.port, 5000)) {
    }
    EXPECT_EQ(sim.warte(), 0);
    EXPECT_FALSE(rig.port.isOpen());
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_THAT(rig.dialogs.boxes[0].text, HasSubstr(pfad));

    // The same scenario written straight out: what the port received is one piece of it. Telegrams
    // sent before the port opened are lost, as on a real line; most arrive, and only the first may be cut.
    const Bytes alles = Sim("--device - --fast --count 100 --seed 3").alles();
    const Bytes& got = rig.hooks.bytes;
    ASSERT_FALSE(got.empty());
    EXPECT_NE(std::search(alles.begin(), alles.end(), got.begin(), got.end()), alles.end());
    rig.receive.drain();
    EXPECT_GE(rig.hooks.telegrams.size(), 10u);
    EXPECT_LE(rig.hooks.crcErrors, 1);
    EXPECT_EQ(Sim("--count 0").warte(), 2);  // a bad option is refused
}

}  // namespace
}  // namespace krv::platform
