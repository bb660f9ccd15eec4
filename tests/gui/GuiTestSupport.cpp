#include "GuiTestSupport.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace krv::gui::test {

TestSitzung::TestSitzung(const std::string& iniText, const std::string& lockFile)
    : lockFile_(lockFile.empty() ? dir_.filePath(QStringLiteral("krvdiag.lock")).toStdString() : lockFile) {
    if (!iniText.empty()) {
        std::ofstream(dir_.filePath(QStringLiteral("KrvDiag.ini")).toStdString()) << iniText;
    }
    // The program directory holds the device pictures the build drew; tests add their own
    // error and help texts beside them.
    const QDir bilder(QStringLiteral(KRVDIAG_BUILD_DATA_DIR));
    for (const QString& name : bilder.entryList({QStringLiteral("*.WMF")}, QDir::Files)) {
        QFile::link(bilder.filePath(name), dir_.filePath(name));
    }
    SessionOptions o;
    o.configDir = configDir();
    o.lockFile = lockFile_;
    o.programmPfad = dir_.path().toStdString() + "/";
    o.splash = false;
    session_ = std::make_unique<ProgramSession>(o, dialogs_, clock_);
}

TestSitzung::~TestSitzung() = default;

bool TestSitzung::start() { return session_->start(); }

std::string TestSitzung::settingsText() const {
    std::ifstream in(dir_.filePath(QStringLiteral("KrvDiag.ini")).toStdString());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Geraet::Geraet() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) throw std::runtime_error("no pty");
    slave_ = ::ptsname(master_);
    // Raw on the master side too: the bytes must arrive unchanged.
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
}

Geraet::~Geraet() { auflegen(); }

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

Bytes statusBlock(const link::ReceiveState& s) {
    const std::size_t start = s.DatenLaenge == 256 ? 224 : 0;
    Bytes block;
    for (std::size_t i = 0; i < 16; ++i) block.push_back(s.datenByte(start + i));
    return block;
}

}  // namespace krv::gui::test
