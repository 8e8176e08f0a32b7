#include <gtest/gtest.h>

#include <QDir>

#include "support/scratch_directory.h"
#include "ui/element_pictures.h"

namespace ohmara::testing {
namespace {

// The sheet places every symbol at a fixed offset from its branch's start
// terminal; the picture's own lead must then lie on the branch line, or the
// branch shows a step where the symbol begins.
TEST(ElementPicturesTest, EachSymbolsLeadLiesOnTheBranchLineAtItsSheetOffset) {
  struct Row {
    const char* name;
    bool vertical;
    int offsetAcross;  // the picture's offset across the branch line
  };
  const Row rows[] = {{"Rh.bmp", false, -8},  {"Lh.bmp", false, -7}, {"Ch.bmp", false, -10}, {"Ehr.bmp", false, -10},
                      {"Eh.bmp", false, -10}, {"Rv.bmp", true, -8},  {"Lv.bmp", true, 0},    {"Cv.bmp", true, -10},
                      {"Evd.bmp", true, -10}, {"Ev.bmp", true, -10}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QImage image = DrawElementPicture(row.name);
    ASSERT_FALSE(image.isNull());
    const QPoint entry = row.vertical ? QPoint(-row.offsetAcross, 0) : QPoint(0, -row.offsetAcross);
    const QPoint exit =
        row.vertical ? QPoint(-row.offsetAcross, image.height() - 1) : QPoint(image.width() - 1, -row.offsetAcross);
    EXPECT_EQ(image.pixelColor(entry), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(exit), QColor(Qt::black));
  }
  EXPECT_EQ(DrawElementPicture("back.bmp").size(), QSize(846, 608));
  EXPECT_TRUE(DrawElementPicture("rh.bmp").isNull());
}

TEST(ElementPicturesTest, AFileInPicturesOfTheCurrentDirectoryWinsOverTheDrawnPicture) {
  ScratchDirectory scratch{"ohmara-pictures"};
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(scratch.Path().string()));
  QImage own(3, 4, QImage::Format_RGB32);
  own.fill(Qt::red);
  ASSERT_TRUE(QDir().mkpath("Pictures"));
  ASSERT_TRUE(own.save("Pictures/Rh.bmp", "BMP"));
  const QImage loaded = LoadElementPicture("Rh.bmp", "/nonexistent");
  const QImage drawn = LoadElementPicture("Lh.bmp", "/nonexistent");
  QDir::setCurrent(previous);
  EXPECT_EQ(loaded.size(), QSize(3, 4));
  EXPECT_EQ(drawn, DrawElementPicture("Lh.bmp"));
}

}  // namespace
}  // namespace ohmara::testing
