#include "support/GuiRig.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/app/ServiceZugang.hpp"

namespace krv::gui::test {

// The status block a displayed telegram carries (data bytes 0..15, or 224..239 of a long one).
static Bytes statusBlock(const link::ReceiveState& s) {
    const std::size_t start = s.DatenLaenge == 256 ? 224 : 0;
    Bytes block;
    for (std::size_t i = 0; i < 16; ++i) block.push_back(s.datenByte(start + i));
    return block;
}

Geraet::Geraet() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        throw std::runtime_error("no pty");
    }
    slave_ = ::ptsname(master_);
    // Raw on the master side too: the bytes must arrive unchanged.
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
}

void Geraet::sende(ByteView bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + pos, bytes.size() - pos);
        if (n <= 0) throw std::runtime_error("pty write failed");
        pos += static_cast<std::size_t>(n);
    }
}

void Geraet::auflegen() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

Sitzung::Sitzung(const std::string& ini, const Dateien& dateien, const std::string& lockFile) {
    // COM1 is the test's line unless the settings name another device.
    const bool eigenes = ini.find("COM1=") != std::string::npos;
    std::ofstream(datei("KrvDiag.ini")) << (eigenes ? "" : "[Ports]\nCOM1=" + geraet.pfad() + "\n") << ini;
    for (const auto& [name, inhalt] : dateien) std::ofstream(datei(name), std::ios::binary) << inhalt;
    const QDir bilder(QStringLiteral(KRVDIAG_BUILD_DATA_DIR));
    for (const QString& name : bilder.entryList({QStringLiteral("*.WMF")}, QDir::Files)) {
        QFile::link(bilder.filePath(name), dir_.filePath(name));
    }
    SessionOptions o;
    o.configDir = configDir();
    o.lockFile = lockFile.empty() ? datei("krvdiag.lock") : lockFile;
    o.programmPfad = configDir() + "/";
    o.splash = false;
    session_ = std::make_unique<ProgramSession>(o, dialogs_, clock_);
}

bool Sitzung::start() {
    if (!session_->start()) return false;
    form().onAnzeige = [this](const link::ReceiveState& s) {
        ++angezeigt;
        bloecke.push_back(statusBlock(s));
    };
    return true;
}

void Sitzung::verbinde() {
    ASSERT_TRUE(start());
    menu(c().mnuDatenuebertragungStart);
    ASSERT_TRUE(session().serial().isOpen());
}

void Sitzung::menu(const app::Control& item) {
    a(item)->trigger();
    QCoreApplication::processEvents();
}

std::string Sitzung::settingsText() const {
    std::ifstream in(datei("KrvDiag.ini"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Sitzung::texte() const {
    std::vector<std::string> r;
    for (const auto& box : dialogs_.boxes) r.push_back(box.text);
    return r;
}

void Sitzung::sende(const Bytes& telegramm) {
    const int vorher = angezeigt;
    geraet.sende(telegramm);
    ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    QCoreApplication::processEvents();  // the windows take over what the core laid out
}

void Sitzung::serviceCode(const std::string& code) {
    app::ServiceZugang& service = session().programm().service;
    service.Show();
    service.txtPassword_Change(code);
    service.cmdOK_Click();
    EXPECT_FALSE(service.geladen());  // OK closes the dialog, and the next opening starts empty
    EXPECT_EQ(service.controls().txtPassword.caption(), "");
    QCoreApplication::processEvents();
}

link::StatusBlock block(std::initializer_list<std::uint8_t> bytes, std::uint8_t nr) {
    link::StatusBlock s{};
    s[15] = nr;
    std::size_t i = 0;
    for (std::uint8_t b : bytes) s[i++] = b;
    return s;
}

QStringList dumpZeilen(const std::string& datei, const QStringList& optionen) {
    QProcess dump;
    dump.start(QStringLiteral(KRVDIAG_CLI_PATH), QStringList{QStringLiteral("dump")} + optionen +
                                                     QStringList{QString::fromStdString(datei)});
    if (!dump.waitForFinished(10000) || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        ADD_FAILURE() << "krvdiag-cli dump " << datei << ": " << dump.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(dump.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QStringList slotZeilen(const QStringList& dump) {
    QStringList r;
    for (const QString& zeile : dump.mid(4)) {
        const QStringList teile = zeile.split(' ');
        r << (teile.size() == 5 ? teile[3] + ' ' + teile[4].mid(4, 10) : zeile);
    }
    return r;
}

bool dateiNochOffen(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path ziel = fs::canonical(path, ec);
    if (ec) return false;
    for (const auto& eintrag : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code lesen;
        if (fs::read_symlink(eintrag.path(), lesen) == ziel) return true;
    }
    return false;
}

}  // namespace krv::gui::test

// The GUI tests need one application object for all tests; they run headless.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
