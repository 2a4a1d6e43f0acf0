// The screen compositor: text cells and attributes, the text cursor and the CRT
// controller that drives it, the merge modes, the graphics layer and cursors,
// and the dirty rectangle.
#include <set>
#include <utility>
#include <vector>
#include "cpu/SystemReset.h"
#include "unit/board/BoardFixture.h"

namespace korva::test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

class ScreenTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ScreenMergeMode = 1;  // text shown
    ScmCharGenRam[0x41 * 16 + 0] = 0xFF;
    ScmCharGenRam[0x41 * 16 + 1] = 0x81;
  }
  static void Cell(uint32_t index, uint16_t value) { Scm.DisplayRam(index, value); }
};

// Attributes, 50-row text, the outline cursor, the 600-line layout and both
// graphics cursors are in the test ROM's picture (TestRomScreenTest); here the
// other modes and the edges.
TEST_F(ScreenTest, TwentyFiveRowModeDoublesRowsAndDrawsOnlyItsCells) {
  Cell(1, 0x4741);
  for (int y : {0, 1}) EXPECT_EQ(Image(11, y), kWhite);
  EXPECT_EQ(Image(12, 2), 0u);  // glyph row 1 on screen rows 2 and 3
  EXPECT_EQ(Image(11, 3), kWhite);

  // Cell 2500 lies beyond 25 rows: stored, drawn when 50 rows are chosen.
  Cell(2500, 0x4741);
  EXPECT_EQ(ScmDisplayRam[2500], 0x4741);
  const int x0 = 10 * (2500 % 80), y0 = 12 * (2500 / 80);
  EXPECT_EQ(Image(x0 + 1, y0), 0u);
  Crt(4, 50);
  EXPECT_EQ(ScreenMode, 2);
  EXPECT_EQ(Image(x0 + 1, y0), kWhite);
  EXPECT_EQ(Image(12, 1), 0u);  // cell 1 redrawn in the 50-row geometry
}

// The pixels of a cell whose text-cursor layer is set, relative to its origin.
std::set<std::pair<int, int>> CursorPixels(int x0, int y0, int height) {
  std::set<std::pair<int, int>> s;
  for (int y = y0 - 2; y < y0 + height + 2; ++y)
    for (int x = x0 - 2; x < x0 + 12; ++x)
      if (x >= 0 && y >= 0 && ScreenBuffer[y * ScreenWidth + x].TextCursorRGB) s.insert({x - x0, y - y0});
  return s;
}

TEST_F(ScreenTest, TextCursorShapesIn50And25Rows) {
  for (uint8_t mode : {2, 1}) {
    const int h = mode == 2 ? 12 : 24;
    ScreenMode = mode;
    for (uint8_t type = 0; type < 4; ++type) {
      SCOPED_TRACE(testing::Message() << "mode " << int(mode) << " type " << int(type));
      ScmCursorType = type;
      Screen.DoCursor(81);  // column 1, row 1
      std::set<std::pair<int, int>> want;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < 10; ++x) {
          const bool edgeColumn = x == 0 || x == 9, edgeRow = y == 0 || y == h - 1;
          if (type == 0 || (type == 1 && y == h - 1) || (type == 2 && (edgeColumn || edgeRow)) ||
              (type == 3 && x == 0))
            want.insert({x, y});
        }
      EXPECT_EQ(CursorPixels(10, mode == 2 ? 12 : 24, h), want);
      EXPECT_EQ(Screen.DeleteCursor(), 81);
      EXPECT_TRUE(CursorPixels(10, mode == 2 ? 12 : 24, h).empty());
      EXPECT_EQ(Screen.DeleteCursor(), 65535);
    }
  }
}

TEST_F(ScreenTest, CursorModeOneHidesTheCursorWithoutClearingItsLayer) {
  Cell(0, 0x4700);  // white on black, empty glyph
  Crt(14, 0);
  Crt(15, 0);
  EXPECT_EQ(Image(3, 3), kWhite);  // block cursor over black
  Crt(10, 0x20);
  EXPECT_EQ(CursorMode, 1);
  EXPECT_EQ(Pixel(3, 3).TextCursorRGB, kWhite);
  EXPECT_EQ(Image(3, 3), 0u);
  Crt(10, 0x00);
  EXPECT_EQ(Image(3, 3), kWhite);
}

TEST_F(ScreenTest, ControllerRegistersDumpCursorAddressAndRows) {
  Crt(12, 0xFF);  // start address high: six bits kept
  Crt(16, 0x77);  // light pen: never written
  EXPECT_NE(Crtc.GetSetup().find("\r\nSA H/L= 0x3F00\r\nC  H/L= 0x0000\r\nLP H/L= 0x0000\r\n"), std::string::npos);
  Crt(12, 0x00);

  // The cursor address moves once per pair of writes.
  Crt(14, 0x00);
  EXPECT_EQ(TextCursorPos, 65535);
  Crt(15, 0x51);
  EXPECT_EQ(TextCursorPos, 0x51);
  Crt(15, 0x05);
  Crt(15, 0x06);
  EXPECT_EQ(TextCursorPos, 0x51);
  Crt(14, 0xF1);  // the latest halves, 12 bits of them
  EXPECT_EQ(TextCursorPos, 0x106);

  // The row register switches only on 25 and 50 and redraws once.
  Screen.DeleteCursor();
  Crt(4, 60);
  EXPECT_EQ(Crtc.R(4), 60);
  EXPECT_EQ(ScreenMode, 1);
  Crt(4, 50);
  EXPECT_EQ(ScreenMode, 2);
  ScmDisplayRam[0] = 0x4741;  // changed behind the screen's back
  Crt(4, 50);                 // equal value: no redraw
  EXPECT_EQ(Image(1, 0), 0u);
  Crt(4, 25);
  EXPECT_EQ(ScreenMode, 1);
  EXPECT_EQ(Image(1, 1), kWhite);
}

TEST_F(ScreenTest, EveryMergeModeWithAndWithoutInverseVideo) {
  // Pixel A: red text under the text cursor and green graphics; pixel B: only the graphics cursor.
  Pixel(0, 0) = {kRed, kWhite, kGreen, 0};
  Pixel(1, 0) = {0, 0, 0, kWhite};
  GraphGreenOn = True;
  const uint32_t wantA[2][8] = {{0, 0xFFFF00, kGreen, kBlue, 0, 0xFFFF00, kGreen, kBlue},
                                {0, kRed, kGreen, kRed, kWhite, kRed, 0xFF00FF, 0x00FFFF}};
  const uint32_t wantB[2][8] = {{0, 0, kWhite, kWhite, 0, 0, kWhite, kWhite},
                                {0, kWhite, kWhite, 0, kWhite, kWhite, 0, 0}};
  for (int ivs = 0; ivs < 2; ++ivs) {
    ScmIVS = ivs ? True : False;
    for (uint8_t mode = 0; mode < 8; ++mode) {
      SCOPED_TRACE(testing::Message() << "IVS " << ivs << " mode " << int(mode));
      ScreenMergeMode = mode;
      ScreenImage[0] = ScreenImage[1] = 0x123456;
      Screen.ReMergeScreen();
      EXPECT_EQ(Image(0, 0), wantA[ivs][mode]);
      EXPECT_EQ(Image(1, 0), wantB[ivs][mode]);
      ScreenImage[0] = ScreenImage[1] = 0x123456;
      Screen.MergePixel(0, 0);
      Screen.MergePixel(1, 0);
      EXPECT_EQ(Image(0, 0), wantA[ivs][mode]);
      EXPECT_EQ(Image(1, 0), wantB[ivs][mode]);
    }
  }
}

TEST_F(ScreenTest, MonochromeRenderingUsesThePhosphorLevels) {
  Pixel(0, 0) = {0, 0, kBlue, 0};
  Pixel(1, 0) = {0, 0, kWhite, 0};
  GraphRedOn = GraphGreenOn = GraphBlueOn = True;
  ScreenMergeMode = 2;
  SrSW1 = True;
  Screen.ReMergeScreen();
  EXPECT_EQ(Image(0, 0), PhosphorPalette[2]);
  EXPECT_EQ(Image(1, 0), PhosphorPalette[7]);
}

TEST_F(ScreenTest, The300LineLayoutDoublesPlaneRows) {
  ScreenMergeMode = 2;
  GraphGreenOn = True;
  Layout600(false);
  Screen.SetGraphPixel(5, 10, kGreen);
  EXPECT_EQ(Pixel(5, 20).GraphRGB, kGreen);
  EXPECT_EQ(Pixel(5, 21).GraphRGB, kGreen);
  EXPECT_EQ(Image(5, 21), kGreen);
  EXPECT_EQ(Screen.GetGraphPixel(5, 10), kGreen);
}

TEST_F(ScreenTest, PlaneRowsPastTheScreenDrawNothing) {
  // A 600-line plane position in the 300-line layout lands past row 599.
  Layout600(false);
  Screen.SetGraphPixel(5, 300, kGreen);
  Screen.SetGraphPixel(5, 599, kGreen);
  EXPECT_EQ(Screen.GetGraphPixel(5, 599), 0u);
  Screen.SetGreenWord(29999, 0xFFFF);  // last word of a 600-line plane
  Layout600(true);
  Screen.SetGraphPixel(5, 600, kGreen);
  EXPECT_EQ(Screen.GetGraphPixel(5, 600), 0u);
  EXPECT_EQ(Screen.GetGraphPixel(799, 599), 0u);
  for (const ScreenPixel& p : ScreenBuffer) ASSERT_EQ(p.GraphRGB, 0u);
}

TEST_F(ScreenTest, GraphicsCursors) {
  Layout600(true);
  Screen.DrawHGC(100);
  EXPECT_EQ(Pixel(799, 100).GraphCursorRGB, kWhite);
  // The layout turns to 300 lines: the old line goes from the row it was drawn
  // on, the new one lands on row 201.
  Layout600(false);
  Screen.DrawHGC(100);
  EXPECT_EQ(Pixel(0, 100).GraphCursorRGB, 0u);
  EXPECT_EQ(Pixel(0, 201).GraphCursorRGB, kWhite);
  // Removed from its row though column 0 carries a vertical cursor.
  Screen.DrawVGC(0);
  EXPECT_EQ(Screen.DeleteHGCursor(), 100);
  EXPECT_EQ(Pixel(400, 201).GraphCursorRGB, 0u);
  EXPECT_EQ(Pixel(0, 201).GraphCursorRGB, kWhite);
  EXPECT_EQ(Screen.DeleteHGCursor(), 4095);
  Screen.DrawHGC(300);  // row 601: nothing drawn
  EXPECT_EQ(Screen.DeleteHGCursor(), 4095);

  Screen.DrawVGC(0);  // the same column again: erased and drawn, it stays
  EXPECT_EQ(Pixel(0, 599).GraphCursorRGB, kWhite);
  EXPECT_EQ(Screen.DeleteVGCursor(), 0);
  EXPECT_EQ(Pixel(0, 599).GraphCursorRGB, 0u);
  EXPECT_EQ(Screen.DeleteVGCursor(), 4095);
}

TEST_F(ScreenTest, ResetLeavesThePictureEqualToTheMergedLayers) {
  ScreenMode = 2;
  Screen.DoCursor(0);
  ScreenMergeMode = 1;
  Screen.ReMergeScreen();
  ASSERT_EQ(Image(0, 0), kWhite);
  ResetDevices(False);
  std::vector<uint32_t> after(ScreenImage, ScreenImage + ScreenPixels);
  Screen.ReMergeScreen();
  EXPECT_TRUE(std::equal(after.begin(), after.end(), ScreenImage));
  EXPECT_EQ(Image(0, 0), 0u);
}

TEST_F(ScreenTest, HeldRedrawsDoNothing) {
  ScreenRedrawHeld = True;
  Pixel(0, 0).TextRGB = kWhite;
  Screen.ReMergeScreen();
  Screen.RedrawGraphics();
  RedrawScreen();
  EXPECT_EQ(Image(0, 0), 0u);
  EXPECT_EQ(form.Takes, 0);
}

TEST_F(ScreenTest, DirtyRectangleCoversWhatChanged) {
  ScreenMode = 2;
  Screen.TakeDirtyRect();
  Cell(81, 0x4F41);  // black on white: every background pixel changes
  const DirtyRect r = Screen.TakeDirtyRect();
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Top, 12);
  EXPECT_EQ(r.Right, 19);
  EXPECT_EQ(r.Bottom, 23);
  Cell(81, 0x4F41);  // unchanged: nothing to copy
  EXPECT_TRUE(Screen.TakeDirtyRect().Empty());
  Screen.ReMergeScreen();
  const DirtyRect all = Screen.TakeDirtyRect();
  EXPECT_EQ(all.Right, 799);
  EXPECT_EQ(all.Bottom, 599);
}

}  // namespace
}  // namespace korva::test
