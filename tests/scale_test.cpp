// The one scaling rule of every window: lengths and places at 96 DPI times DPI / 96.
#include "ui/scale.h"

#include <gtest/gtest.h>

using ui::Scaled;

TEST(Scale, HalvesRoundAwayFromZeroAnd96DpiChangesNothing) {
  EXPECT_EQ(Scaled(10, 120), 13);  // 12.5
  EXPECT_EQ(Scaled(9, 120), 11);   // 11.25
  EXPECT_EQ(Scaled(5, 144), 8);    // 7.5
  EXPECT_EQ(Scaled(-5, 144), -8);
  EXPECT_EQ(Scaled(190, 192), 380);
  for (const int value : {-7, 0, 1, 16, 1015, 1920}) EXPECT_EQ(Scaled(value, 96), value);
}

TEST(Scale, BoxesKeepTheirScaledEdgesSoNeighboursStillTouch) {
  // Rows of 18 from y = 5, as the menu lays them: each row starts where the one above ends.
  for (const int dpi : {120, 144, 168}) {
    for (int row = 0; row < 40; ++row) {
      const ui::Box above = ui::ScaledBox({24, 5 + 18 * row, 162, 18}, dpi);
      const ui::Box below = ui::ScaledBox({24, 5 + 18 * (row + 1), 162, 18}, dpi);
      EXPECT_EQ(above.y + above.height, below.y) << dpi << " DPI, row " << row;
    }
  }
  // A 16-pixel picture is 20, 24 or 32 pixels wherever it stands.
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(ui::ScaledBox({x, x, 16, 16}, 120).width, 20);
    EXPECT_EQ(ui::ScaledBox({x, x, 16, 16}, 144).height, 24);
    EXPECT_EQ(ui::ScaledBox({x, x, 16, 16}, 192).width, 32);
  }
}

TEST(Scale, ScreenLengthsInLayoutUnitsRoundDownAndPicturesTakeTheNearestDpi) {
  EXPECT_EQ(ui::Unscaled(1080, 144), 720);
  EXPECT_EQ(ui::Unscaled(1081, 120), 864);  // 864.8
  EXPECT_EQ(ui::Unscaled(1080, 96), 1080);
  EXPECT_EQ(ui::PictureDpi(96), 96);
  EXPECT_EQ(ui::PictureDpi(110), 120);
  EXPECT_EQ(ui::PictureDpi(132), 144);  // as near to 120 as to 144: the sharper
  EXPECT_EQ(ui::PictureDpi(168), 192);
  EXPECT_EQ(ui::PictureDpi(288), 192);
  EXPECT_EQ(ui::PictureDpi(72), 96);
}
