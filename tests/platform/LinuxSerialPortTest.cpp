#include "platform/LinuxSerialPort.hpp"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/link/PortControl.hpp"
#include "core/link/PortTestDoubles.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "platform/LineErrorCounters.hpp"
#include "platform/PortMapping.hpp"

namespace krv::platform {
namespace {

using ::testing::HasSubstr;
namespace ev = ports::CommEvent;

// A pseudo-terminal pair: the test plays the device on the master side, the port opens the slave.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        slave_ = ::ptsname(master_);
        termios t{};
        ::tcgetattr(master_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(master_, TCSANOW, &t);
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0 && !slave_.empty(); }
    int master() const { return master_; }
    const std::string& slave() const { return slave_; }
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_;
};

// What the event loop does: wait until the port's descriptor is readable, then let it read.
// Returns false when nothing happened within the wait.
bool pumpOnce(LinuxSerialPort& port, int waitMs = 2000) {
    if (port.fd() < 0) return false;
    pollfd p{port.fd(), POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0) return false;
    port.handleReadable();
    return true;
}

// Writes all bytes to the master, letting the port read whenever the line is full.
void send(Pty& pty, LinuxSerialPort& port, ByteView bytes) {
    std::size_t done = 0;
    int stalls = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(pty.master(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        ASSERT_TRUE(n < 0 && errno == EAGAIN) << std::strerror(errno);
        ASSERT_LT(++stalls, 1000) << "the port does not take the bytes";
        pumpOnce(port, 100);
    }
}

// The receive path, the main window stand-in and the port handling around a real port.
class LinuxPortRig : public test::ReceiveRig {
public:
    explicit LinuxPortRig(std::unique_ptr<ports::LineErrorSource> errors = nullptr)
        : port(profile, std::move(errors)) {
        port.setDescriptorListener([this](int fd) { descriptors.push_back(fd); });
    }

    void mapCom1(const std::string& path) { profile.WritePrivateProfileString("Ports", "COM1", path); }
    int events() const { return static_cast<int>(std::count(log.begin(), log.end(), "host.Timer1 off")); }

    LinuxSerialPort port;
    test::FakeHost host{port, log};
    link::PortHandler handler{port, receive, host, dialogs, settings};
    link::PortControl control{port, receive, host, dialogs, profile, settings};
    std::vector<int> descriptors;
};

Bytes telegrams(int count) {
    Bytes all;
    for (int i = 0; i < count; ++i) {
        link::StatusBlock status{};
        status[0] = 13;
        for (std::size_t k = 1; k < status.size(); ++k) status[k] = static_cast<std::uint8_t>(i * 7 + k);
        const Bytes t = i % 5 == 4 ? link::langTelegramm(link::langeNutzdaten(status, 1000u + i))
                                   : link::kurzTelegramm(status);
        all.insert(all.end(), t.begin(), t.end());
    }
    return all;
}

// ---- Receiving on a pseudo-terminal ----

TEST(LinuxSerialPort, BytesArriveInOrderThroughThePortAndTheHandlerIntoShowData) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    LinuxPortRig rig;
    rig.mapCom1(pty.slave());
    rig.control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.dialogs.boxes.empty()) << rig.dialogs.boxes[0].text;
    ASSERT_TRUE(rig.host.portOffen);
    ASSERT_EQ(rig.descriptors, std::vector<int>{rig.port.fd()});

    const Bytes sent = telegrams(30);
    // Odd pieces, so telegrams are split across reads.
    for (std::size_t pos = 0; pos < sent.size(); pos += 37) {
        send(pty, rig.port, ByteView(sent).subspan(pos, std::min<std::size_t>(37, sent.size() - pos)));
    }
    for (int i = 0; i < 200 && rig.hooks.bytes.size() < sent.size(); ++i) pumpOnce(rig.port);

    EXPECT_EQ(rig.hooks.bytes, sent);
    rig.receive.drain();
    ASSERT_EQ(rig.hooks.telegrams.size(), 30u);
    EXPECT_EQ(rig.hooks.telegrams[3][5], 3 * 7 + 5);
    EXPECT_EQ(rig.hooks.telegrams[4].size(), 256u);
    EXPECT_EQ(rig.hooks.crcErrors, 0);
    EXPECT_TRUE(rig.dialogs.boxes.empty());
}

TEST(LinuxSerialPort, ClosingTheDeviceSideGivesExactlyOneLostMessageAndNoSpin) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    LinuxPortRig rig;
    rig.mapCom1(pty.slave());
    rig.control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.host.portOffen);

    const Bytes sent = telegrams(2);
    send(pty, rig.port, sent);
    for (int i = 0; i < 50 && rig.hooks.bytes.size() < sent.size(); ++i) pumpOnce(rig.port);
    ASSERT_EQ(rig.hooks.bytes, sent);

    pty.closeMaster();
    int wakeUps = 0;
    while (rig.port.fd() >= 0 && wakeUps < 100) {
        if (!pumpOnce(rig.port)) break;
        ++wakeUps;
    }

    EXPECT_LE(wakeUps, 2);  // a hung-up descriptor is not watched any longer
    EXPECT_EQ(rig.port.fd(), -1);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.host.portOffen);
    EXPECT_EQ(rig.host.portVerlorenAufrufe, 1);
    EXPECT_EQ(rig.descriptors.back(), -1);
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Die Verbindung zum Gerät über " + pty.slave() + " wurde unterbrochen.");
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_LE(rig.events(), 3);

    // The event loop may still call in once more: nothing happens.
    rig.port.handleReadable();
    EXPECT_EQ(rig.dialogs.boxes.size(), 1u);
    // Everything received before the loss reached the receive path.
    EXPECT_EQ(rig.hooks.bytes, sent);
}

TEST(LinuxSerialPort, ThePortCanBeOpenedAgainAfterClosing) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    LinuxPortRig rig;
    rig.mapCom1(pty.slave());
    ASSERT_FALSE(rig.port.open());
    const int first = rig.port.fd();
    EXPECT_THAT(*rig.port.open(), HasSubstr("already open"));
    ASSERT_FALSE(rig.port.close());
    EXPECT_EQ(rig.port.fd(), -1);
    EXPECT_FALSE(rig.port.close());  // closing a closed port is no error
    ASSERT_FALSE(rig.port.open());
    EXPECT_EQ(rig.descriptors, (std::vector<int>{first, -1, rig.port.fd()}));
}

TEST(LinuxSerialPort, ClearInBufferDiscardsBothQueuedAndKernelBytes) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    LinuxPortRig rig;
    rig.mapCom1(pty.slave());
    ASSERT_FALSE(rig.port.open());  // opened, PortOffen still false: nothing is read by the handler
    std::vector<int> codes;
    rig.port.setOnComm([&](int code) { codes.push_back(code); });

    send(pty, rig.port, Bytes(100, 'a'));
    ASSERT_TRUE(pumpOnce(rig.port));
    EXPECT_EQ(codes, std::vector<int>{ev::Empfang});
    send(pty, rig.port, Bytes(10, 'b'));
    // Queued in the port and waiting in the kernel both count.
    pollfd p{rig.port.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(rig.port.inBufferCount(), 110u);

    rig.port.clearInBuffer();
    EXPECT_EQ(rig.port.inBufferCount(), 0u);
    EXPECT_TRUE(rig.port.input().empty());
}

TEST(LinuxSerialPort, AnUnreadQueueIsCappedAndReportsTheOverflow) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    LinuxPortRig rig;
    rig.mapCom1(pty.slave());
    ASSERT_FALSE(rig.port.open());
    std::vector<int> codes;
    rig.port.setOnComm([&](int code) { codes.push_back(code); });

    send(pty, rig.port, Bytes(LinuxSerialPort::MaxQueue + 5000, 'x'));
    while (pumpOnce(rig.port, 200)) {
    }

    EXPECT_THAT(codes, ::testing::Contains(ev::PufferUeberlauf));
    EXPECT_EQ(rig.port.input().size(), LinuxSerialPort::MaxQueue);
}

// ---- Line errors ----

// Line errors a pseudo-terminal cannot make.
class ScriptedLineErrors : public ports::LineErrorSource {
public:
    explicit ScriptedLineErrors(std::vector<std::vector<int>> script) : script_(std::move(script)) {}
    void start(int fd) override { startedOn = fd; }
    std::vector<int> neueFehler(int) override {
        if (next_ >= script_.size()) return {};
        return script_[next_++];
    }
    int startedOn = -2;

private:
    std::vector<std::vector<int>> script_;
    std::size_t next_ = 0;
};

TEST(LinuxSerialPort, LineErrorsFollowTheDataOfTheSameRead) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    auto errors = std::make_unique<ScriptedLineErrors>(
        std::vector<std::vector<int>>{{ev::Rahmenfehler}, {ev::PufferUeberlauf}});
    ScriptedLineErrors& script = *errors;
    LinuxPortRig rig(std::move(errors));
    rig.mapCom1(pty.slave());
    rig.control.mnuDatenuebertragungStart_Click();
    ASSERT_TRUE(rig.host.portOffen);
    EXPECT_EQ(script.startedOn, rig.port.fd());

    send(pty, rig.port, Bytes{'a', 'b'});
    ASSERT_TRUE(pumpOnce(rig.port));
    EXPECT_EQ(rig.hooks.bytes, (Bytes{'a', 'b'}));
    EXPECT_EQ(rig.host.statuszeile, " Fehler im Übertragungsraster.");
    EXPECT_TRUE(rig.port.isOpen());

    rig.dialogs.answers = {ports::MsgResult::Cancel};
    send(pty, rig.port, Bytes{'c'});
    ASSERT_TRUE(pumpOnce(rig.port));
    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    EXPECT_EQ(rig.dialogs.boxes[0].text, "Überlauf des Empfangspuffers.");
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.host.portOffen);
    EXPECT_EQ(rig.descriptors.back(), -1);
}

TEST(LineErrorCounters, GrownCountersBecomeEventCodesInAscendingOrder) {
    const FehlerZaehler vorher{5, 1, 0, 7, 0};
    EXPECT_TRUE(gewachseneZaehler(vorher, vorher).empty());
    FehlerZaehler nachher = vorher;
    nachher.frame = 6;
    nachher.parity = 2;
    nachher.overrun = 9;
    nachher.bufOverrun = 1;
    EXPECT_EQ(gewachseneZaehler(vorher, nachher), (std::vector<int>{1004, 1006, 1008, 1009}));
    FehlerZaehler nurBreak = vorher;
    nurBreak.brk = 1;
    EXPECT_EQ(gewachseneZaehler(vorher, nurBreak), std::vector<int>{1001});
}

TEST(LineErrorCounters, APseudoTerminalHasNoCountersAndReportsNothing) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    const int fd = ::open(pty.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(leseFehlerZaehler(fd).has_value());
    KernelLineErrors errors;
    errors.start(fd);
    EXPECT_TRUE(errors.neueFehler(fd).empty());
    ::close(fd);
}

// ---- Opening failures ----

TEST(LinuxSerialPort, AMissingDeviceIsReportedWithItsPathAndTheReason) {
    LinuxPortRig rig;
    rig.mapCom1("/dev/krvdiag-no-such-tty");
    rig.control.mnuDatenuebertragungStart_Click();

    ASSERT_EQ(rig.dialogs.boxes.size(), 1u);
    const std::string& text = rig.dialogs.boxes[0].text;
    EXPECT_THAT(text, HasSubstr("/dev/krvdiag-no-such-tty"));
    EXPECT_THAT(text, HasSubstr("No such file or directory"));
    EXPECT_THAT(text, HasSubstr("[Ports]"));
    EXPECT_EQ(rig.dialogs.boxes[0].icon, ports::MsgIcon::Exclamation);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.host.portOffen);
    EXPECT_TRUE(rig.descriptors.empty());
}

TEST(LinuxSerialPort, AFileThatIsNoTerminalIsRefused) {
    LinuxPortRig rig;
    rig.mapCom1("/dev/null");
    const auto error = rig.port.open();
    ASSERT_TRUE(error);
    EXPECT_THAT(*error, HasSubstr("/dev/null"));
    EXPECT_THAT(*error, HasSubstr("not a serial port"));
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(LinuxSerialPort, APortWithoutADeviceSaysWhereToSetOne) {
    LinuxPortRig rig;
    rig.port.setCommPort(5);
    const auto error = rig.port.open();
    ASSERT_TRUE(error);
    EXPECT_THAT(*error, HasSubstr("COM5"));
    EXPECT_THAT(*error, HasSubstr("[Ports]"));
}

class TempFile {
public:
    TempFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "krvdiag-ttyXXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) ::close(fd);
        path_ = pattern;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    std::string groupName() const {
        struct stat st {};
        if (::stat(path_.c_str(), &st) != 0) return {};
        const group* g = ::getgrgid(st.st_gid);
        return g ? g->gr_name : std::string{};
    }

private:
    std::string path_;
};

TEST(LinuxSerialPort, PermissionFailureNamesTheGroupThatOwnsTheDevice) {
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any device; the hint text is tested with an injected error";
    TempFile device;
    ASSERT_EQ(::chmod(device.path().c_str(), 0), 0);
    LinuxPortRig rig;
    rig.mapCom1(device.path());
    const auto error = rig.port.open();
    ASSERT_TRUE(error);
    EXPECT_THAT(*error, HasSubstr(device.path()));
    EXPECT_THAT(*error, HasSubstr("Permission denied"));
    EXPECT_THAT(*error, HasSubstr("group '" + device.groupName() + "'"));
}

TEST(OpenErrorText, PermissionHintNamesTheOwningGroup) {
    TempFile device;
    if (::geteuid() == 0) {
        // Give the stand-in device a group an ordinary user could join.
        const group* g = ::getgrnam("dialout");
        ASSERT_EQ(::chown(device.path().c_str(), static_cast<uid_t>(-1), g ? g->gr_gid : 65534), 0);
    }
    const std::string group = device.groupName();
    ASSERT_FALSE(group.empty());
    ASSERT_NE(group, "root");
    for (int err : {EACCES, EPERM}) {
        const std::string text = describeOpenError(device.path(), err);
        EXPECT_THAT(text, HasSubstr(device.path() + ": "));
        EXPECT_THAT(text, HasSubstr(std::strerror(err)));
        EXPECT_THAT(text, HasSubstr("group '" + group + "'"));
        EXPECT_THAT(text, HasSubstr("usermod -aG " + group));
    }
}

TEST(OpenErrorText, OtherCausesGetTheirOwnHints) {
    // Nobody should be told to join root's group.
    if (::geteuid() == 0) {
        TempFile rootDevice;
        ASSERT_EQ(::chown(rootDevice.path().c_str(), static_cast<uid_t>(-1), 0), 0);
        const std::string text = describeOpenError(rootDevice.path(), EACCES);
        EXPECT_THAT(text, HasSubstr("group 'root'"));
        EXPECT_THAT(text, ::testing::Not(HasSubstr("usermod")));
    }
    // Without a device to look at, the usual group is named.
    EXPECT_THAT(describeOpenError("/dev/krvdiag-gone", EACCES), HasSubstr("dialout"));
    EXPECT_THAT(describeOpenError("/dev/ttyUSB0", EBUSY), HasSubstr("in use by another program"));
    EXPECT_THAT(describeOpenError("/dev/ttyUSB0", ENOENT), HasSubstr("plugged in"));
    EXPECT_THAT(describeOpenError("/dev/ttyUSB0", EIO), ::testing::Not(HasSubstr("group")));
}

// ---- Port mapping and line settings ----

TEST(PortMapping, DefaultsPreferUsbAdaptersAndTheSettingsFileOverrides) {
    app::MemoryProfile profile;
    EXPECT_EQ(portGeraet(profile, 1), "/dev/ttyUSB0");
    EXPECT_EQ(portGeraet(profile, 2), "/dev/ttyUSB1");
    EXPECT_EQ(portGeraet(profile, 3), "/dev/ttyS0");
    EXPECT_EQ(portGeraet(profile, 4), "/dev/ttyS1");
    EXPECT_EQ(portGeraet(profile, 5), "");

    profile.WritePrivateProfileString("Ports", "COM2", "  /dev/serial/by-id/usb-FTDI_adapter-if00-port0 ");
    EXPECT_EQ(portGeraet(profile, 2), "/dev/serial/by-id/usb-FTDI_adapter-if00-port0");

    LinuxSerialPort port(profile);
    port.setCommPort(2);
    EXPECT_EQ(port.deviceName(), "/dev/serial/by-id/usb-FTDI_adapter-if00-port0");
    port.setCommPort(3);
    EXPECT_EQ(port.deviceName(), "/dev/ttyS0");
}

TEST(LineSettingsText, AcceptsTheUsualFormAndRejectsTheRest) {
    const auto s = parseLineSettings("9600,N,8,1");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->baud, 9600);
    EXPECT_EQ(s->parity, 'N');
    EXPECT_EQ(s->dataBits, 8);
    EXPECT_EQ(s->stopBits, 1);
    const auto e = parseLineSettings("19200,e,7,2");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->parity, 'E');
    EXPECT_EQ(e->stopBits, 2);
    for (const char* bad : {"", "9600,N,8", "9600,N,8,1,1", "9601,N,8,1", "9600,X,8,1", "9600,N,9,1", "9600,N,8,3",
                            "9600,NN,8,1", "x,N,8,1"}) {
        EXPECT_FALSE(parseLineSettings(bad)) << bad;
    }
}

}  // namespace
}  // namespace krv::platform
