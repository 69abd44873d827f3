#include "render/tpoly.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "support/pixels.h"

namespace {

struct Expect {
  double x, y, u, v;
  std::uint32_t argb;
};

class StripTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    RegisterEmbeddedResources();
    dot_ = LoadImage("IncBin::res\\dot.png", -1);
    TPoly::Initialise();
  }
  static void TearDownTestSuite() { dot_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(dot_) << "the embedded glow texture res\\dot.png could not be loaded";
    TPoly::_Begin();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    TPoly::_End();
    EnableDrawLog(false);
    ClearDrawLog();
  }

  static std::vector<DrawEntry> Strips() {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog()) {
      if (e.kind == DrawKind::Strip) out.push_back(e);
    }
    return out;
  }

  static void ExpectVertices(const DrawEntry& strip, const std::vector<Expect>& want) {
    ASSERT_EQ(strip.points.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "vertex " << i);
      EXPECT_NEAR(strip.points[i].x, want[i].x, 1e-3);
      EXPECT_NEAR(strip.points[i].y, want[i].y, 1e-3);
      EXPECT_NEAR(strip.points[i].u, want[i].u, 1e-6);
      EXPECT_NEAR(strip.points[i].v, want[i].v, 1e-6);
      EXPECT_EQ(strip.points[i].argb, want[i].argb);
    }
  }

  static unsigned DotName() { return GetImageFrame(dot_, 0)->name; }

  static inline ImageHandle dot_;
};

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

TEST_F(StripTest, LineWithoutCapsIsFourVerticesAcrossTheSegment) {
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 0, 0);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 1u);
  ExpectVertices(strips[0], {{100, 84, 0, 0, kRed},
                             {100, 116, 0, 1, kRed},
                             {200, 84, 1, 0, kBlue},
                             {200, 116, 1, 1, kBlue}});
  EXPECT_EQ(strips[0].texture, DotName());
}

TEST_F(StripTest, FlipSwapsTheTextureAxesWithoutCaps) {
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 0, 1);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 1u);
  ExpectVertices(strips[0], {{100, 84, 0, 0, kRed},
                             {100, 116, 1, 0, kRed},
                             {200, 84, 0, 1, kBlue},
                             {200, 116, 1, 1, kBlue}});
}

TEST_F(StripTest, CapsReachOneWidthBeyondEachEndAndIgnoreFlip) {
  const std::vector<Expect> want = {{84, 84, 1, 0, kRed},        {84, 116, 1, 1, kRed},
                                    {100, 84, 0.4985, 0, kRed},  {100, 116, 0.4985, 1, kRed},
                                    {200, 84, 0.5015, 0, kBlue}, {200, 116, 0.5015, 1, kBlue},
                                    {216, 84, 1, 0, kBlue},      {216, 116, 1, 1, kBlue}};
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 1, 0);
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 1, 1);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 2u);
  ExpectVertices(strips[0], want);
  ExpectVertices(strips[1], want);
}

TEST_F(StripTest, SlantedLineKeepsPerpendicularAndCapDirections) {
  // (10, 20) to (13, 24) is length 5; width 10 gives a = -6, b = -8.
  TPoly::Line(dot_, 0, 10, 20, kRed, 13, 24, kRed, 10, 1, 0);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 1u);
  ExpectVertices(strips[0], {{12, 6, 1, 0, kRed},
                             {-4, 18, 1, 1, kRed},
                             {18, 14, 0.4985, 0, kRed},
                             {2, 26, 0.4985, 1, kRed},
                             {21, 18, 0.5015, 0, kRed},
                             {5, 30, 0.5015, 1, kRed},
                             {27, 26, 1, 0, kRed},
                             {11, 38, 1, 1, kRed}});
}

TEST_F(StripTest, DegenerateSegmentsDrawNothing) {
  const long binds = TPoly::BindCount();
  TPoly::Line(dot_, 0, 150, 150, kRed, 150, 150, kRed, 16, 1, 0);
  TPoly::Line(dot_, 0, std::nan(""), 150, kRed, 150, 150, kRed, 16, 1, 0);
  TPoly::Line(nullptr, 0, 100, 100, kRed, 200, 100, kRed, 16, 1, 0);
  TPoly::Line(dot_, 5, 100, 100, kRed, 200, 100, kRed, 16, 1, 0);  // no such frame
  EXPECT_TRUE(Strips().empty());
  EXPECT_EQ(TPoly::BindCount(), binds);
}

TEST_F(StripTest, RunOfStripsBindsOnceAndKeepsEachSegmentSeparate) {
  const long binds = TPoly::BindCount();
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kRed, 16, 1, 0);
  TPoly::Line(dot_, 0, 100, 200, kBlue, 200, 200, kBlue, 16, 1, 0);
  EXPECT_EQ(TPoly::BindCount(), binds + 1);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 2u);
  EXPECT_EQ(strips[0].points.size(), 8u);
  EXPECT_EQ(strips[1].points.size(), 8u);
  EXPECT_EQ(strips[1].texture, DotName());

  // A new run binds afresh.
  TPoly::_End();
  TPoly::_Begin();
  TPoly::Line(dot_, 0, 100, 300, kRed, 200, 300, kRed, 16, 1, 0);
  EXPECT_EQ(TPoly::BindCount(), binds + 2);
}

TEST_F(StripTest, DrawRejectsShortAndOddArraysAndNeverReadsAPartialVertex) {
  std::array<TPolySlot, 20> slots{};
  for (int v = 0; v < 2; ++v) {
    slots[v * 9 + 0] = TPolySlot::Real(10.0f + v);
    slots[v * 9 + 1] = TPolySlot::Real(20.0f);
    slots[v * 9 + 6] = TPolySlot::Packed(0xFF00FF00u);
  }
  TPoly::Draw(dot_, 0, std::span<const TPolySlot>(slots.data(), 4), 5, 1);
  TPoly::Draw(dot_, 0, std::span<const TPolySlot>(slots.data(), 9), 5, 1);
  EXPECT_TRUE(Strips().empty());

  TPoly::Draw(dot_, 0, std::span<const TPolySlot>(slots.data(), 20), 5, 1);
  const auto strips = Strips();
  ASSERT_EQ(strips.size(), 1u);
  ASSERT_EQ(strips[0].points.size(), 2u);
  EXPECT_EQ(strips[0].points[1].x, 11.0);
  EXPECT_EQ(strips[0].points[1].argb, 0xFF00FF00u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(StripTest, LeavesTexturingAndServiceColourAsThePrimingDoes) {
  SetColor(10, 20, 30);
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 1, 0);
  TPoly::_End();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<unsigned>(bound), DotName());
  // The last vertex colour must not linger as OpenGL's current colour.
  GLfloat colour[4] = {0, 0, 0, 0};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_NEAR(colour[0], 10 / 255.0, 1e-3);
  EXPECT_NEAR(colour[1], 20 / 255.0, 1e-3);
  EXPECT_NEAR(colour[2], 30 / 255.0, 1e-3);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  SetColor(255, 255, 255);
}

TEST_F(StripTest, APlainLineRightAfterAStripIsDrawnUntextured) {
  // The service must learn that the strips left texturing on, or its next plain line
  // samples the glow texture's transparent corner and shows nothing.
  DrawLine(0, 0, 1, 0);  // the service's cache now says: texturing off
  Cls();
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 1, 0);
  TPoly::_End();
  SetBlend(BLEND_SOLID);
  SetColor(255, 255, 255);
  DrawLine(300, 300, 400, 300);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  const Rgb p = ReadPixel(350, 300);
  EXPECT_EQ(p.r + p.g + p.b, 3 * 255);
  SetBlend(BLEND_ADD);
}

TEST_F(StripTest, NothingIsLoggedWhileTheLogIsOff) {
  EnableDrawLog(false);
  TPoly::Line(dot_, 0, 100, 100, kRed, 200, 100, kBlue, 16, 1, 0);
  EXPECT_TRUE(GetDrawLog().empty());
}

}  // namespace
