// `krvdiag-cli render-wmf`: the picture as the areas draw it, written as a PNG.
#include "cli/RenderWmfCommand.hpp"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "RenderSupport.hpp"
#include "UemfWriter.hpp"
#include "cli/CliOptions.hpp"

namespace krv::wmf::test {
namespace {

class RenderWmfCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        UemfWriter w(2.0, 1.0, 100);  // a 2:1 picture, blue on the left half
        w.windowOrg(0, 0);
        w.windowExt(200, 100);
        w.select(w.pen(5, 0, {}));
        w.select(w.brush(0, {0, 0, 255}));
        w.rectangle(0, 0, 100, 100);
        const auto bytes = w.finish();
        input_ = path("IN.WMF");
        std::ofstream(input_, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
    int run(const std::vector<std::string>& args) { return cli::runRenderWmf(args, out_, err_); }

    QTemporaryDir dir_;
    std::string input_;
    std::ostringstream out_, err_;
};

TEST_F(RenderWmfCommand, WritesThePictureFittedOnWhite) {
    ASSERT_EQ(run({"--size", "300x200", input_, path("out.png")}), 0) << err_.str();
    const QImage png(QString::fromStdString(path("out.png")));
    ASSERT_EQ(png.size(), QSize(300, 200));
    // 2:1 into 300 x 200: 300 x 150, rows 25..175.
    EXPECT_TRUE(near(png.pixelColor(70, 100), QColor(0, 0, 255)));
    EXPECT_TRUE(near(png.pixelColor(230, 100), QColor(255, 255, 255)));
    EXPECT_TRUE(near(png.pixelColor(70, 10), QColor(255, 255, 255)));

    ASSERT_EQ(run({input_, path("default.png")}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(path("default.png"))).size(), QSize(800, 800));
}

TEST_F(RenderWmfCommand, RejectedFileExitsWithTwoAndTheReason) {
    std::ofstream(path("BAD.WMF")) << "This is a text file and no metafile at all.";
    EXPECT_EQ(run({path("BAD.WMF"), path("bad.png")}), 2);
    EXPECT_EQ(err_.str(), "krvdiag-cli: " + path("BAD.WMF") + ": not a Windows metafile (header type)\n");
    EXPECT_FALSE(QImage(QString::fromStdString(path("bad.png"))).width() > 0);

    err_.str("");
    EXPECT_EQ(run({input_, path("no/such/dir/out.png")}), 2);
    EXPECT_NE(err_.str().find("cannot write the PNG file"), std::string::npos);
}

TEST_F(RenderWmfCommand, BadArgumentsAreUsageErrors) {
    EXPECT_THROW(run({input_}), cli::UsageError);
    EXPECT_THROW(run({input_, "a.png", "b.png"}), cli::UsageError);
    EXPECT_THROW(run({"--size", input_, "a.png"}), cli::UsageError);
    EXPECT_THROW(run({"--size", "0x10", input_, "a.png"}), cli::UsageError);
    EXPECT_THROW(run({"--size", "10x", input_, "a.png"}), cli::UsageError);
    EXPECT_THROW(run({"--size", "9000x10", input_, "a.png"}), cli::UsageError);
    EXPECT_THROW(run({"--size"}), cli::UsageError);
    EXPECT_THROW(run({"--colour", "red", input_, "a.png"}), cli::UsageError);
}

}  // namespace
}  // namespace krv::wmf::test
