// The picture port: loading into the four areas, refusing bad files while keeping the old
// picture, and the view that shows an area.
#include "gui/wmf/QtPictures.hpp"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <fstream>

#include "RenderSupport.hpp"
#include "UemfWriter.hpp"

namespace krv::wmf::test {
namespace {

using ports::Bildbereich;

std::string writeFile(const QTemporaryDir& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> redSquare() {
    UemfWriter w(1.0, 1.0, 100);
    w.windowOrg(0, 0);
    w.windowExt(100, 100);
    w.select(w.pen(5, 0, {}));
    w.select(w.brush(0, {255, 0, 0}));
    w.rectangle(0, 0, 100, 100);
    return w.finish();
}

TEST(WmfQtPictures, LoadsKeepsAndEmptiesAreas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string good = writeFile(dir, "R.WMF", redSquare());
    std::vector<std::uint8_t> cut = redSquare();
    cut.resize(cut.size() - 10);
    const std::string damaged = writeFile(dir, "CUT.WMF", cut);

    QtPictures pictures;
    std::vector<Bildbereich> changed;
    pictures.setListener([&](Bildbereich b) { changed.push_back(b); });

    ASSERT_TRUE(pictures.laden(Bildbereich::Image2, good));
    const auto loaded = pictures.metafile(Bildbereich::Image2);
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(pictures.metafile(Bildbereich::Image1));
    EXPECT_EQ(changed, std::vector<Bildbereich>{Bildbereich::Image2});

    // Refused files leave the area as it was and say why.
    EXPECT_FALSE(pictures.laden(Bildbereich::Image2, damaged));
    EXPECT_EQ(pictures.metafile(Bildbereich::Image2), loaded);
    EXPECT_EQ(pictures.letzterFehler(), damaged + ": record 7 (0x041B): size beyond the end of the file");
    EXPECT_FALSE(pictures.laden(Bildbereich::Image2, dir.filePath("MISSING.WMF").toStdString()));
    EXPECT_EQ(pictures.metafile(Bildbereich::Image2), loaded);
    EXPECT_EQ(changed.size(), 1u);

    pictures.leeren(Bildbereich::Image2);
    EXPECT_FALSE(pictures.metafile(Bildbereich::Image2));
    EXPECT_EQ(changed.size(), 2u);
}

TEST(WmfQtPictures, ABoundViewShowsTheAreasPicture) {
    QTemporaryDir dir;
    const std::string good = writeFile(dir, "ST.WMF", redSquare());
    QtPictures pictures;
    MetafileView view;
    view.resize(60, 40);
    pictures.setView(Bildbereich::imgStrom, &view);
    ASSERT_TRUE(pictures.laden(Bildbereich::imgStrom, good));
    EXPECT_EQ(view.metafile(), pictures.metafile(Bildbereich::imgStrom));

    const QImage shown = view.grab().toImage();
    EXPECT_TRUE(near(shown.pixelColor(30, 20), QColor(255, 0, 0)));
    EXPECT_NE(shown.pixelColor(5, 20), QColor(255, 0, 0));  // square picture in a wide view: centred

    pictures.leeren(Bildbereich::imgStrom);
    EXPECT_FALSE(view.metafile());
}

}  // namespace
}  // namespace krv::wmf::test
