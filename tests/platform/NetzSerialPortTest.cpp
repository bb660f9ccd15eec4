// Ports on serial device servers, through the port handling as the window uses it: the built
// krvdiag-sim serving raw TCP, a real ser2net speaking RFC 2217, and a scripted Telnet server.
#include "platform/MappedSerialPort.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/link/PortControl.hpp"
#include "platform/LineErrorCounters.hpp"
#include "support/LinkRig.hpp"
#include "support/Ser2net.hpp"
#include "support/SerialRig.hpp"

namespace krv::platform {
namespace {

using ::testing::HasSubstr;
using linktest::operator+;
using T = TelnetComPort;
using namespace std::chrono_literals;

struct NetzRig : test::ReceiveRig {
    explicit NetzRig(const std::string& adresse, std::chrono::milliseconds frist = NetzSerialPort::Frist)
        : port(profile, frist) {
        profile.WritePrivateProfileString("Ports", "COM1", adresse);
        control.mnuDatenuebertragungStart_Click();
    }
    void pumpeBisZu() { while (test::pumpOnce(port, 5000)) {} }
    MappedSerialPort port;
    test::FakeHost host{port, log};
    link::PortHandler handler{port, receive, host, dialogs, settings};
    link::PortControl control{port, receive, host, dialogs, profile, settings};
};

// A server on 127.0.0.1 that listens but never accepts; `voll` fills its backlog of one, so that
// a further connection attempt gets no answer.
struct Horcher {
    explicit Horcher(bool voll) {
        sockaddr_in a = test::loopback();
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        if (voll) ::connect(fuell, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~Horcher() { ::close(fd), ::close(fuell); }
    std::string adresse(const std::string& schema) const {
        return schema + "://127.0.0.1:" + std::to_string(port);
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int fuell = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int port = 0;
};

TEST(NetzAdresse, HostAndPortOrNothing) {
    const std::tuple<std::string, std::string> faelle[] = {
        {"tcp://127.0.0.1:4001", "tcp 127.0.0.1 4001"}, {"RFC2217://schrank-3:2000", "rfc schrank-3 2000"},
        {"rfc2217://[fe80::1]:7", "rfc fe80::1 7"},      {"tcp://::1:7", ""}, {"tcp://host", ""},
        {"tcp://host:0", ""}, {"tcp://host:65536", ""}, {"tcp://:4001", ""}, {"/dev/ttyUSB0", ""}};
    for (const auto& [text, erwartet] : faelle) {
        const auto a = netzAdresse(text);
        const std::string teile = a ? (a->rfc2217 ? "rfc " : "tcp ") + a->host + " " + a->port : "";
        EXPECT_EQ(teile, erwartet) << text;
        EXPECT_EQ(istNetzAdresse(text), text[0] != '/') << text;
    }
}

// The simulator's telegrams arrive until it ends them; every failure names the address and why.
TEST(NetzSerialPort, RawTcpReceivesUntilThePeerClosesAndSaysWhyNot) {
    test::Sim sim("--listen 0 --count 40 --seed 4");
    const std::string simAdresse = "tcp://" + sim.ersteZeile();
    const Horcher voll(true);
    const std::tuple<std::string, std::string> faelle[] = {
        {simAdresse, ""},
        {"tcp://127.0.0.1:" + std::to_string(test::freierPort()), "Connection refused"},
        {"tcp://krvdiag-no-such-host.invalid:4001", "no such host"},
        {voll.adresse("rfc2217"), "no answer within 300 ms"},
        {"tcp://[::1]", "tcp://HOST:PORT"}};
    for (const auto& [adresse, grund] : faelle) {
        SCOPED_TRACE(adresse);
        NetzRig rig(adresse, 300ms);
        EXPECT_EQ(rig.host.portOffen, grund.empty());
        rig.pumpeBisZu();
        EXPECT_FALSE(rig.port.isOpen());
        ASSERT_EQ(rig.dialogs.boxes.size(), 1u);  // the lost connection, or the failed opening
        EXPECT_THAT(rig.dialogs.boxes[0].text, HasSubstr(adresse));
        EXPECT_THAT(rig.dialogs.boxes[0].text, HasSubstr(grund));
        if (!grund.empty()) continue;
        EXPECT_EQ(rig.host.portVerlorenAufrufe, 1);
        // What came is the end of the scenario (anything sent before the opening was mirrored
        // is dropped, as on a line), and nearly all of it.
        const Bytes alles = test::Sim("--device - --fast --count 40 --seed 4").alles();
        const Bytes& got = rig.hooks.bytes;
        EXPECT_GT(got.size(), alles.size() * 9 / 10);
        EXPECT_TRUE(std::equal(got.rbegin(), got.rend(), alles.rbegin()));
        EXPECT_EQ(sim.warte(), 0);
    }
}

Bytes telnet(std::initializer_list<std::uint8_t> b) { return Bytes(b); }
Bytes comPort(std::initializer_list<std::uint8_t> b) {
    return telnet({T::Iac, T::Sb, T::ComPort}) + Bytes(b) + telnet({T::Iac, T::Se});
}

// A scripted server: the negotiation, then data with 255 doubled and line-state notifications,
// each giving the events the kernel's counters give for the same errors.
TEST(NetzSerialPort, Rfc2217NegotiatesUnescapesAndReportsLineStateAsTheKernelCountersDo) {
    Horcher h(false);
    NetzRig rig(h.adresse("rfc2217"));
    ASSERT_TRUE(rig.host.portOffen);
    const int srv = ::accept4(h.fd, nullptr, nullptr, SOCK_CLOEXEC);
    auto lies = [srv](std::size_t n) {
        Bytes b(n);
        for (std::size_t got = 0; got < n;) {
            const ssize_t r = ::recv(srv, b.data() + got, n - got, 0);
            if (r <= 0) return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(got));
            got += static_cast<std::size_t>(r);
        }
        return b;
    };
    auto sende = [&](const Bytes& b) {
        ::send(srv, b.data(), b.size(), 0);
        test::pumpOnce(rig.port);
    };
    EXPECT_EQ(lies(15), telnet({T::Iac, T::Will, 0, T::Iac, T::Will, 3, T::Iac, T::Will, 44, T::Iac, T::Do, 0,
                                T::Iac, T::Do, 3}));
    // Agreed options need no answer; echo and terminal type are refused; then the line settings.
    sende(telnet({T::Iac, T::Do, 44, T::Iac, T::Will, 1, T::Iac, T::Do, 24, T::Iac, T::Will, 0}));
    const Bytes antwort = comPort({1, 0, 0, 0x25, 0x80}) + comPort({2, 8}) + comPort({3, 1}) +
                          comPort({4, 1}) + comPort({5, 1}) + comPort({10, 0x1E}) +
                          telnet({T::Iac, T::Dont, 1, T::Iac, T::Wont, 24});
    EXPECT_EQ(lies(antwort.size()), antwort);

    std::vector<int> codes;
    rig.port.setOnComm([&](int c) {
        codes.push_back(c);
        if (c == ports::CommEvent::Empfang) rig.hooks.bytes = rig.hooks.bytes + rig.port.input();
    });
    const std::tuple<std::uint8_t, FehlerZaehler> faelle[] = {
        {0x10, {0, 0, 1, 0, 0}}, {0x08, {1, 0, 0, 0, 0}}, {0x04, {0, 1, 0, 0, 0}}, {0x02, {0, 0, 0, 1, 0}},
        {0x1E, {1, 1, 1, 1, 0}}, {0x61, {}}};  // data ready and transmitter empty are no errors
    for (const auto& [ls, zaehler] : faelle) {
        SCOPED_TRACE(static_cast<int>(ls));
        codes.clear();
        sende(comPort({106, ls}));
        EXPECT_EQ(codes, gewachseneZaehler({}, zaehler));
    }
    // A telegram full of 255s, sent doubled and cut inside a doubling and inside a command.
    const Bytes telegramm = link::kurzTelegramm(link::StatusBlock{255, 255, 255, 255, 255, 255, 255, 255});
    Bytes doppelt;
    for (std::uint8_t b : telegramm) doppelt = doppelt + (b == 255 ? telnet({255, 255}) : telnet({b}));
    rig.hooks.bytes.clear();
    sende(Bytes(doppelt.begin(), doppelt.begin() + 6));
    sende(Bytes(doppelt.begin() + 6, doppelt.end()) + telnet({T::Iac, T::Sb, 44, 106}));
    codes.clear();
    sende(telnet({0x10, T::Iac, T::Se}));
    EXPECT_EQ(rig.hooks.bytes, telegramm);
    EXPECT_EQ(codes, std::vector<int>{ports::CommEvent::Break});
    ::close(srv);
    rig.port.setOnComm([&](int c) { rig.handler.OnComm(c); });
    rig.pumpeBisZu();
    EXPECT_EQ(rig.host.portVerlorenAufrufe, 1);
}

// A real ser2net on a pseudo-terminal the test plays the device on: the line is set to 9600 8N1,
// the telegrams arrive as written, 255s included, and stopping the server is one lost port.
TEST(NetzSerialPort, Ser2netServesThePseudoTerminalAndItsEndIsOneLostPort) {
    test::Pty pty;
    test::Ser2net server(pty.slave, "telnet(rfc2217)", "19200e71");
    NetzRig rig(server.adresse());
    ASSERT_TRUE(rig.host.portOffen) << rig.dialogs.boxes.at(0).text;
    termios t{};
    for (int i = 0; i < 50 && (::tcgetattr(pty.master, &t), ::cfgetispeed(&t) != B9600); ++i) {
        test::pumpOnce(rig.port, 20);
    }
    EXPECT_EQ(::cfgetispeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), CS8);

    link::StatusBlock ff;
    ff.fill(255);
    const Bytes sent = link::kurzTelegramm(ff) +
                       link::langTelegramm(link::langeNutzdaten(ff, 0xFFFFFFFF, Bytes(40, 255))) +
                       link::kurzTelegramm({1, 2, 3});
    ASSERT_EQ(::write(pty.master, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    for (int i = 0; i < 50 && rig.hooks.bytes.size() < sent.size(); ++i) test::pumpOnce(rig.port, 100);
    EXPECT_EQ(rig.hooks.bytes, sent);
    rig.receive.drain();
    EXPECT_EQ(rig.hooks.telegrams.size(), 3u);
    EXPECT_EQ(rig.hooks.crcErrors, 0);

    server.stop();
    rig.pumpeBisZu();
    EXPECT_EQ(rig.host.portVerlorenAufrufe, 1);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_THAT(rig.dialogs.boxes[0].text, HasSubstr(server.adresse()));
}

}  // namespace
}  // namespace krv::platform
