// The device display loading real metafiles through the picture port: a damaged wiring picture
// shows message 13 once, the module pictures loaded before it stay, and the wiring area keeps
// the picture it showed before.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "UemfWriter.hpp"
#include "core/app/MainFormState.hpp"
#include "core/app/ProgramState.hpp"
#include "core/device/DeviceDisplay.hpp"
#include "core/ports/ScriptedDialogs.hpp"
#include "gui/wmf/QtPictures.hpp"

namespace krv::wmf::test {
namespace {

using ports::Bildbereich;

std::vector<std::uint8_t> picture(Colour c) {
    UemfWriter w(1.0, 1.0, 100);
    w.windowOrg(0, 0);
    w.windowExt(100, 100);
    w.select(w.brush(0, c));
    w.rectangle(0, 0, 100, 100);
    return w.finish();
}

class DevicePictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        state_.ProgrammPfad = dir_.path().toStdString() + "/";
        // Model 13 (KRV-cbx/Rx) and model 15 (KRV-cbx/Tx) share the CPU and extension pictures.
        for (const char* name : {"RX.WMF", "TX.WMF", "CBX.WMF", "IO-CX.WMF", "ST-CBXRX.WMF", "ST-CBXTX.WMF"})
            write(name, picture({0, 0, 200}));
    }
    void write(const std::string& name, std::vector<std::uint8_t> bytes) {
        std::ofstream(state_.ProgrammPfad + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void show(std::uint8_t model) {
        display_.AnzeigeGeraet({model, 0, 0, 0, 0, 0, 0});
        state_.AnzeigeGueltig = 1;
    }

    QTemporaryDir dir_;
    app::ProgramState state_;
    app::MainFormState controls_;
    QtPictures pictures_;
    ports::ScriptedDialogs dialogs_;
    device::DeviceDisplay display_{state_, controls_, pictures_, dialogs_};
};

TEST_F(DevicePictures, AllPicturesOfAModelLoad) {
    show(13);
    EXPECT_TRUE(dialogs_.boxes.empty());
    for (Bildbereich b : {Bildbereich::Image1, Bildbereich::Image2, Bildbereich::Image3, Bildbereich::imgStrom})
        EXPECT_TRUE(pictures_.metafile(b)) << static_cast<int>(b);
}

TEST_F(DevicePictures, DamagedWiringPictureShowsMessage13AndKeepsTheOldOne) {
    show(13);
    const auto wiring13 = pictures_.metafile(Bildbereich::imgStrom);
    const auto output13 = pictures_.metafile(Bildbereich::Image1);
    ASSERT_TRUE(wiring13);

    std::vector<std::uint8_t> damaged = picture({200, 0, 0});
    damaged.resize(damaged.size() / 2);
    write("ST-CBXTX.WMF", damaged);
    show(15);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].text, ".WMF-Datei nicht gefunden.");
    EXPECT_NE(pictures_.metafile(Bildbereich::Image1), output13);  // TX.WMF was loaded before the failure
    EXPECT_EQ(pictures_.metafile(Bildbereich::imgStrom), wiring13);
}

}  // namespace
}  // namespace krv::wmf::test
