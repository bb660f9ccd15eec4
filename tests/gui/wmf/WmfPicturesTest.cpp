// The two ways users see metafiles besides the main window's drawing: the device display
// loading them through the picture port, and `krvdiag-cli render-wmf` writing a PNG.
#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

#include "cli/CliOptions.hpp"
#include "cli/RenderWmfCommand.hpp"
#include "core/device/DeviceDisplay.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "core/state/MainFormState.hpp"
#include "core/state/ProgramState.hpp"
#include "gui/wmf/MetafileView.hpp"
#include "gui/wmf/QtPictures.hpp"
#include "support/TempVerzeichnis.hpp"
#include "support/WmfBytes.hpp"

namespace krv::wmf::test {
namespace {

using enum ports::Bildbereich;

// A w:h picture, its left half blue.
Bytes picture(int w, int h) {
    return WmfBytes().placeable(w, h, 100).pen(5, 0, 0, 0, 0).select(0).brush(0, 0, 255).select(1)
        .rect(0, 0, w / 2, h).bytes();
}

// Model 13 (KRV-cbx/Rx) and model 15 (KRV-cbx/Tx) share the CPU and extension pictures. A
// wiring picture of 15 with nothing playable shows message 13 once; its output picture loaded
// before it stays, and the wiring area and its view keep model 13's picture. An extension
// picture cut in its last record is loaded without a message, drawn without that record.
TEST(WmfPictures, DamagedWiringPictureShowsMessage13AndKeepsTheOldOne) {
    krv::test::TempVerzeichnis dir;
    for (const char* name : {"RX.WMF", "TX.WMF", "CBX.WMF", "ST-CBXRX.WMF"})
        save(dir.pfad(name), picture(100, 100));
    Bytes damaged = picture(100, 100);
    damaged.resize(damaged.size() - 10);
    save(dir.pfad("IO-CX.WMF"), damaged);
    damaged.resize(22 + 18 + 4);
    save(dir.pfad("ST-CBXTX.WMF"), damaged);
    app::ProgramState state;
    state.ProgrammPfad = dir.pfad("");
    app::MainFormState controls;
    QtPictures pictures;
    ports::ScriptedDialogs dialogs;
    device::DeviceDisplay display{state, controls, pictures, dialogs};
    MetafileView view;
    view.resize(60, 60);
    pictures.setView(imgStrom, &view);

    display.AnzeigeGeraet({13, 0, 0, 0, 0, 0, 0});
    state.AnzeigeGueltig = 1;
    EXPECT_TRUE(dialogs.boxes.empty());
    for (auto b : {Image1, Image2, Image3, imgStrom})
        ASSERT_TRUE(pictures.metafile(b)) << static_cast<int>(b);
    EXPECT_EQ(pictures.metafile(Image3)->skipped,
              std::vector<std::string>{"record 5 (0x041B): size beyond the end of the file, the rest is not drawn"});
    const auto wiring13 = pictures.metafile(imgStrom);
    const auto output13 = pictures.metafile(Image1);

    display.AnzeigeGeraet({15, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              ".WMF-Datei nicht gefunden.\n" + dir.pfad("ST-CBXTX.WMF") + ": record 1: record header truncated");
    EXPECT_NE(pictures.metafile(Image1), output13);
    EXPECT_EQ(pictures.metafile(imgStrom), wiring13);
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(15, 30), QColor(0, 0, 255));
    EXPECT_NE(shown.pixelColor(45, 30), QColor(0, 0, 255));
}

TEST(WmfPictures, RenderCommandWritesTheFittedPictureOrSaysWhyNot) {
    krv::test::TempVerzeichnis dir;
    const std::string in = dir.pfad("IN.WMF"), bad = dir.pfad("BAD.WMF");
    save(in, picture(200, 100));
    std::ostringstream out, err;
    const auto run = [&](std::vector<std::string> args) { return cli::runRenderWmf(args, out, err); };

    ASSERT_EQ(run({"--size", "300x200", in, dir.pfad("out.png")}), 0) << err.str();
    const QImage png(QString::fromStdString(dir.pfad("out.png")));
    ASSERT_EQ(png.size(), QSize(300, 200));
    // 2:1 into 300 x 200: rows 25..175, blue on the left half.
    for (const auto& [x, y, blue] : {std::tuple{70, 100, 1}, {70, 27, 1}, {70, 22, 0}, {230, 99, 0}})
        EXPECT_EQ(png.pixelColor(x, y), blue ? QColor(0, 0, 255) : QColor(Qt::white)) << x << "," << y;
    EXPECT_EQ(run({"--size", "8192x1", in, dir.pfad("wide.png")}), 0);

    Bytes cut = picture(200, 100);  // cut in its last record: drawn, with one warning line
    save(bad, Bytes(cut.begin(), cut.end() - 10));
    EXPECT_EQ(run({bad, dir.pfad("cut.png")}), 0);
    EXPECT_EQ(err.str(), "krvdiag-cli: " + bad + ": warning: record 5 (0x041B): size beyond the end of the file, "
                         "the rest is not drawn\n");
    err.str("");
    std::ofstream(bad) << "This is a text file and no metafile at all.";
    EXPECT_EQ(run({bad, dir.pfad("bad.png")}), 2);
    EXPECT_EQ(err.str(), "krvdiag-cli: " + bad + ": not a Windows metafile (header type)\n");
    EXPECT_FALSE(std::filesystem::exists(dir.pfad("bad.png")));
    EXPECT_EQ(run({in, dir.pfad("no/dir/out.png")}), 2);
    EXPECT_NE(err.str().find(dir.pfad("no/dir/out.png") + ": No such file or directory"), std::string::npos);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {in}, {in, "a.png", "b.png"}, {"--size", in, "a.png"}, {"--size", "0x10", in, "a.png"},
             {"--size"}, {"--size", "10x", in, "a"}, {"--size", "8193x1", in, "a"}, {"-c", "1", in, "a"}})
        EXPECT_THROW(run(args), cli::UsageError) << args.front() << " " << args.size();
}

}  // namespace
}  // namespace krv::wmf::test
