// The instructions: twelve pages in order with their headings and figures, page turns,
// Escape as a page turn, and the credits picture's pulse.
#include "screens/instructions.h"

#include <string>
#include <string_view>
#include <vector>

#include "arena/grubs.h"
#include "data/instruction_pages.h"
#include "data/line_art.h"
#include "screen_fixture.h"
#include "screens/high_score_screen.h"
#include "support/pixels.h"

namespace {

class InstructionsTest : public ScreenTest {
 protected:
  static void SetUpTestSuite() {
    ScreenTest::SetUpTestSuite();
    LoadGrubShape();
  }
};

TEST(InstructionPagesData, TwelvePagesWithTheirHeadingsShapesAndShortLines) {
  struct Expected {
    const char* heading;
    int shape;
  };
  const Expected expected[kInstructionPages] = {{"You're Zorbin - the spider king.", 0},
                                                {"item: grubsteaks", 0},
                                                {"enemy gallery: the Mosquito", 2},
                                                {"enemy gallery: the hornet", 1},
                                                {"enemy gallery: beetle", 3},
                                                {"enemy gallery: bug slayer", 8},
                                                {"enemy gallery: spoiler", 7},
                                                {"enemy gallery: rocket bug", 6},
                                                {"enemy gallery: grenade bug", 5},
                                                {"enemy gallery: thunderbug", 10},
                                                {"enemy gallery: dragonfly", 4},
                                                {"credits:", 1}};
  for (int p = 0; p < kInstructionPages; ++p) {
    SCOPED_TRACE(p + 1);
    const InstructionPage& page = InstructionPages[p];
    EXPECT_STREQ(page.lines[0], expected[p].heading);
    EXPECT_EQ(page.shape, expected[p].shape);
    int lines = 0;
    while (lines < kPageSlots && page.lines[lines] && std::string_view(page.lines[lines]) != "*") {
      EXPECT_LE(std::string_view(page.lines[lines]).size(), 35u) << page.lines[lines];
      ++lines;
    }
    ASSERT_LT(lines, kPageSlots);  // the end mark is there
    EXPECT_GE(lines, 8);
    EXPECT_LE(lines, 10);
  }
}

TEST(InstructionPagesData, TheCreditsPictureIs128BlueLines) {
  ASSERT_EQ(CreditsPictureData.lines, 128);
  for (int i = 0; i < CreditsPictureData.lines; ++i) {
    const LineArtRecord& l = CreditsPictureData.records[i];
    EXPECT_EQ(l.red, 26) << i;
    EXPECT_EQ(l.green, 84) << i;
    EXPECT_EQ(l.blue, 255) << i;
  }
}

TEST(InstructionPagesData, TheCreditsPicturePulsesBetweenItsSizeAndTwice) {
  EXPECT_DOUBLE_EQ(CreditsPictureScale(0), 1.0);
  EXPECT_DOUBLE_EQ(CreditsPictureScale(90), 2.0);
  EXPECT_NEAR(CreditsPictureScale(179), 1.0, 0.02);
}

TEST_F(InstructionsTest, AKeyAPageTwelveInAllThenBackWithTheMenuZoomReset) {
  std::vector<int> pages;
  script.EachFrame([&](int frame) {
    if (frame % 10 == 5) pages.push_back(InstructionsPageShown);
  });
  for (int p = 1; p <= 12; ++p) script.Press(p * 10, p % 2 ? ' ' : KeyMoveDown);
  MenuZoom = 3;
  InstructionsScreen();
  EXPECT_EQ(script.Frames(), 120);
  EXPECT_EQ(pages, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(MenuZoom, 25);
  EXPECT_EQ(CharList.Count(), 0u);
}

// Escape is one more key of the table: it turns the page, it does not leave.
TEST_F(InstructionsTest, EscapeTurnsThePageLikeAnyOtherKey) {
  script.Press(3, 'A').Press(6, kVkEscape).StopAfter(12);
  EXPECT_THROW(InstructionsScreen(), ScriptStop);
  EXPECT_EQ(InstructionsPageShown, 2);
}

TEST_F(InstructionsTest, KeysPressedTogetherTurnOnePage) {
  script.Press(3, 'A').Press(3, 'B').Press(3, KeyMoveLeft).StopAfter(8);
  EXPECT_THROW(InstructionsScreen(), ScriptStop);
  EXPECT_EQ(InstructionsPageShown, 1);
}

TEST_F(InstructionsTest, ThePulseStaysWithinHalfATurnAndTheFiguresTurn) {
  int lowest = 1000, highest = -1;
  script.EachFrame([&](int) {
    lowest = std::min(lowest, PulseAngle);
    highest = std::max(highest, PulseAngle);
  });
  script.StopAfter(400);
  EXPECT_THROW(InstructionsScreen(), ScriptStop);
  EXPECT_EQ(lowest, 0);
  EXPECT_EQ(highest, 179);
  EXPECT_DOUBLE_EQ(FigureRotation, 400 * 2 % 360);
}

// Every page draws its figure: something lit where it stands, clear of the text.
TEST_F(InstructionsTest, EveryPageShowsItsFigure) {
  std::vector<int> lit_per_page;
  auto count_lit = [](int cx, int cy, int half) {
    int lit = 0;
    for (int y = cy - half; y <= cy + half; ++y)
      for (int x = cx - half; x <= cx + half; ++x) {
        const Rgb c = ReadPixel(x, y);
        lit += c.r + c.g + c.b > 0;
      }
    return lit;
  };
  for (int p = 0; p < 12; ++p) {
    script.At(p * 10 + 9, [&, p] {
      lit_per_page.push_back(p == 11 ? count_lit(512, 256, 30) : count_lit(480, 192, 24));
    });
    script.Press(p * 10 + 9, ' ');
  }
  InstructionsScreen();
  ASSERT_EQ(lit_per_page.size(), 12u);
  for (int p = 0; p < 12; ++p) EXPECT_GT(lit_per_page[static_cast<std::size_t>(p)], 10) << p + 1;
}

}  // namespace
