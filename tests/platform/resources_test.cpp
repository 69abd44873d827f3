#include "platform/resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ResourcesTest : public testing::Test {
 protected:
  void SetUp() override { ClearResources(); }
  void TearDown() override { ClearResources(); }
};

const unsigned char kDot[] = {1, 2, 3, 4};
const unsigned char kShot[] = {9, 8, 7};

TEST_F(ResourcesTest, FindsTheRegisteredBytesThemselves) {
  RegisterResource("res\\dot.png", kDot, sizeof kDot);
  const auto found = FindResource("res\\dot.png");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->data(), kDot);  // no copy: the embedded bytes are used in place
  EXPECT_EQ(found->size(), sizeof kDot);
  EXPECT_EQ(ResourceCount(), 1u);
}

TEST_F(ResourcesTest, LookupIsExactAndCaseSensitive) {
  RegisterResource("res\\BlipSND.ogg", kShot, sizeof kShot);
  EXPECT_TRUE(FindResource("res\\BlipSND.ogg"));
  EXPECT_FALSE(FindResource("res\\blipsnd.ogg"));
  EXPECT_FALSE(FindResource("res/BlipSND.ogg"));
  EXPECT_FALSE(FindResource("BlipSND.ogg"));
  EXPECT_FALSE(FindResource("res\\BlipSND.ogg "));
  EXPECT_FALSE(FindResource("res\\BlipSND"));
  EXPECT_FALSE(FindResource(""));
}

TEST_F(ResourcesTest, UnknownNamesFindNothing) {
  EXPECT_FALSE(FindResource("res\\dot.png"));
  RegisterResource("res\\dot.png", kDot, sizeof kDot);
  EXPECT_FALSE(FindResource("res\\shot.ogg"));
}

TEST_F(ResourcesTest, RegisteringAgainReplacesTheEntry) {
  RegisterResource("res\\shot.ogg", kDot, sizeof kDot);
  RegisterResource("res\\shot.ogg", kShot, sizeof kShot);
  const auto found = FindResource("res\\shot.ogg");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->data(), kShot);
  EXPECT_EQ(found->size(), sizeof kShot);
  EXPECT_EQ(ResourceCount(), 1u);
}

TEST_F(ResourcesTest, NameIsCopiedNotReferenced) {
  std::string name = "res\\dot.png";
  RegisterResource(name, kDot, sizeof kDot);
  name[4] = 'X';
  EXPECT_TRUE(FindResource("res\\dot.png"));
  EXPECT_FALSE(FindResource(name));
}

TEST_F(ResourcesTest, EmptyResourceIsKeptButNullWithSizeIsRefused) {
  RegisterResource("res\\empty", kDot, 0);
  const auto empty = FindResource("res\\empty");
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
  RegisterResource("res\\broken", nullptr, 10);
  EXPECT_FALSE(FindResource("res\\broken"));
  EXPECT_EQ(ResourceCount(), 1u);
}

TEST_F(ResourcesTest, ClearForgetsEverything) {
  RegisterResource("a", kDot, sizeof kDot);
  RegisterResource("b", kShot, sizeof kShot);
  EXPECT_EQ(ResourceCount(), 2u);
  ClearResources();
  EXPECT_EQ(ResourceCount(), 0u);
  EXPECT_FALSE(FindResource("a"));
}

}  // namespace
