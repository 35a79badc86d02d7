// The picture control's choices: the kind of file by extension and where a picture goes.
#include "widgets/picture.h"

#include <gtest/gtest.h>

namespace sentavo::widgets {
namespace {

TEST(PictureKind, ByExtensionInAnyCase) {
  EXPECT_EQ(PictureKindOf("C:\\p\\pozadi.JPG"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("x.jpeg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("x.Bmp"), PictureKind::Bitmap);
  EXPECT_EQ(PictureKindOf("x.ico"), PictureKind::Icon);
  EXPECT_EQ(PictureKindOf("x.wmf"), PictureKind::Wmf);
  EXPECT_EQ(PictureKindOf("x.EMF"), PictureKind::Emf);
  EXPECT_EQ(PictureKindOf("SentavoBig.png"), PictureKind::Png);
  EXPECT_EQ(PictureKindOf("x.gif"), PictureKind::Unknown);
  EXPECT_EQ(PictureKindOf("jpg"), PictureKind::Unknown);
  EXPECT_EQ(PictureKindOf("C:\\dir.jpg\\file"), PictureKind::Unknown);
  EXPECT_EQ(PictureKindOf("x."), PictureKind::Unknown);
}

TEST(PictureFit, StretchCentreAndProportions) {
  const ui::Rect box{10, 20, 110, 70};  // 100 x 50
  EXPECT_EQ(FitPicture({40, 10}, box, PictureFit::Stretch), box);
  EXPECT_EQ(FitPicture({40, 10}, box, PictureFit::Normal), (ui::Rect{10, 20, 50, 30}));
  EXPECT_EQ(FitPicture({40, 10}, box, PictureFit::Center), (ui::Rect{40, 40, 80, 50}));
  // Wide: the width fills, the height follows and is centred.
  EXPECT_EQ(FitPicture({200, 50}, box, PictureFit::Proportional), (ui::Rect{10, 32, 110, 57}));
  // Tall: the height fills.
  EXPECT_EQ(FitPicture({10, 100}, box, PictureFit::Proportional), (ui::Rect{57, 20, 62, 70}));
  // A small picture grows to fit.
  EXPECT_EQ(FitPicture({1, 1}, box, PictureFit::Proportional), (ui::Rect{35, 20, 85, 70}));
  EXPECT_EQ(FitPicture({0, 5}, box, PictureFit::Proportional).Width(), 0);
}

}  // namespace
}  // namespace sentavo::widgets
