// The metafiles under tests/data/wmf: the fuzzer's seed corpus and the inputs that once
// crashed or misled the parser. valid-* must parse and play, invalid-* must be refused with a
// reason; every file must do either without touching memory it does not own (the sanitizer
// build checks that).
#include <gtest/gtest.h>

#include <filesystem>

#include "core/device/wmf/Canvas.hpp"
#include "core/device/wmf/PictureFrame.hpp"
#include "core/device/wmf/WmfFile.hpp"
#include "RecordingCanvas.hpp"

namespace krv::wmf {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpus() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(KRVDIAG_TEST_DATA_DIR) / "wmf"))
        if (entry.path().extension() == ".wmf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(WmfCorpus, EveryFileParsesOrFailsAsItsNameSays) {
    const auto files = corpus();
    ASSERT_GE(files.size(), 5u);
    int valid = 0;
    int invalid = 0;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const ParseResult r = readMetafileFile(file.string());
        if (name.starts_with("valid-")) {
            ++valid;
            ASSERT_TRUE(r.ok()) << name << ": " << r.error;
            test::RecordingCanvas canvas;
            const auto frame = frameFor(*r.metafile, {0, 0, 640, 480});
            ASSERT_TRUE(frame) << name;
            play(*r.metafile, *frame, canvas);
            EXPECT_FALSE(canvas.drawn.empty()) << name;
        } else if (name.starts_with("invalid-")) {
            ++invalid;
            EXPECT_FALSE(r.ok()) << name;
            EXPECT_FALSE(r.error.empty()) << name;
        } else if (r.ok()) {  // found by the fuzzer: only has to be survived
            test::RecordingCanvas canvas;
            if (const auto frame = frameFor(*r.metafile, {0, 0, 640, 480})) play(*r.metafile, *frame, canvas);
        }
    }
    EXPECT_GE(valid, 5);
    EXPECT_GE(invalid, 3);
}

TEST(WmfCorpus, MissingAndUnreadableFilesAreRefused) {
    EXPECT_EQ(readMetafileFile("/nonexistent/picture.wmf").error, "cannot open the file");
    EXPECT_FALSE(readMetafileFile(KRVDIAG_TEST_DATA_DIR).ok());  // a directory
    ParseLimits tiny;
    tiny.maxFileBytes = 10;
    EXPECT_EQ(readMetafileFile((fs::path(KRVDIAG_TEST_DATA_DIR) / "wmf" / "valid-shapes.wmf").string(), tiny).error,
              "file too large");
}

}  // namespace
}  // namespace krv::wmf
