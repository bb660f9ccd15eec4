#include "cli/RenderWmfCommand.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <charconv>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "cli/CliOptions.hpp"
#include "core/device/wmf/WmfFile.hpp"
#include "gui/wmf/MetafilePainter.hpp"
#include "platform/DateiOeffnen.hpp"

namespace krv::cli {

namespace {

constexpr int kMaxSide = 8192;

int parseSide(std::string_view text, const std::string& option) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxSide)
        throw UsageError("bad size '" + option + "': expected WxH, each 1 to " + std::to_string(kMaxSide));
    return value;
}

QSize parseSize(const std::string& text) {
    const auto x = text.find('x');
    if (x == std::string::npos) throw UsageError("bad size '" + text + "': expected WxH");
    const std::string_view all(text);
    return QSize(parseSide(all.substr(0, x), text), parseSide(all.substr(x + 1), text));
}

// Qt's note about a missing runtime directory says nothing about the picture; other messages
// pass.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    qt_message_output(type, context, message);
}

// Fonts need a GUI application object; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    static int argc = 1;
    static char name[] = "krvdiag-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int runRenderWmf(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    QSize size(800, 800);
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (i + 1 >= args.size()) throw UsageError("--size needs a value WxH");
            size = parseSize(args[++i]);
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            throw UsageError("unknown option '" + args[i] + "' for render-wmf");
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) throw UsageError("render-wmf needs a metafile and an output file");

    const wmf::ParseResult parsed = wmf::readMetafileFile(files[0]);
    if (!parsed.ok()) {
        err << "krvdiag-cli: " << files[0] << ": " << parsed.error << '\n';
        return 2;
    }
    // What the picture leaves out is drawn around, as the picture areas do; it is named here.
    for (const std::string& line : parsed.metafile->skipped)
        err << "krvdiag-cli: " << files[0] << ": warning: " << line << '\n';
    const auto app = guiApplication();
    const QImage image = wmf::renderMetafile(*parsed.metafile, size).convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    if (!image.save(&puffer, "PNG")) throw std::runtime_error("the picture cannot be encoded as PNG");
    const auto laenge = static_cast<std::size_t>(png.size());
    if (const auto fehler = platform::schreibeDatei(files[1], png.constData(), laenge)) {
        err << "krvdiag-cli: " << *fehler << '\n';
        return 2;
    }
    return 0;
}

}  // namespace krv::cli
