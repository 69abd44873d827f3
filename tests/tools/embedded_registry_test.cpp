#include <gtest/gtest.h>

#include <string>

#include "embedded_assets.h"
#include "platform/resources.h"

namespace {

const char* const kNames[] = {
    "res\\dot.png",       "res\\backdrop1.png",   "res\\backdrop2.jpg",    "res\\shot.ogg",
    "res\\shot3.ogg",     "res\\BlipSND.ogg",     "res\\TakeGrub.ogg",     "res\\Crunch1.ogg",
    "res\\Crunch2.ogg",   "res\\Crunch3.ogg",     "res\\EggPushedOff.ogg", "res\\BonusShip.ogg",
    "res\\WoorpSND.ogg",  "res\\Swoosh.ogg",      "res\\Boing.ogg",        "res\\LevelComplete.ogg",
    "res\\menu-loop.ogg", "res\\ingame-loop.ogg",
};

TEST(EmbeddedResources, RegistersExactlyTheEighteenNames) {
  ClearResources();
  RegisterEmbeddedResources();
  EXPECT_EQ(ResourceCount(), std::size(kNames));
  for (const char* name : kNames) {
    const auto bytes = FindResource(name);
    ASSERT_TRUE(bytes) << name;
    EXPECT_GT(bytes->size(), 1000u) << name;
  }
  // The names keep their own capitals; nothing is found under a lowered one.
  EXPECT_FALSE(FindResource("res\\blipsnd.ogg"));
  EXPECT_FALSE(FindResource("res/dot.png"));
  ClearResources();
}

TEST(EmbeddedResources, RegisteringTwiceChangesNothing) {
  ClearResources();
  RegisterEmbeddedResources();
  const auto first = FindResource("res\\menu-loop.ogg");
  RegisterEmbeddedResources();
  EXPECT_EQ(ResourceCount(), std::size(kNames));
  const auto second = FindResource("res\\menu-loop.ogg");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->data(), second->data());
  EXPECT_EQ(first->size(), second->size());
  ClearResources();
}

TEST(EmbeddedResources, EveryFileCarriesItsFormatSignature) {
  ClearResources();
  RegisterEmbeddedResources();
  for (const std::string name : kNames) {
    const auto bytes = FindResource(name);
    ASSERT_TRUE(bytes);
    const std::string head(reinterpret_cast<const char*>(bytes->data()), 4);
    if (name.ends_with(".png")) {
      EXPECT_EQ(head, "\x89PNG") << name;
    } else if (name.ends_with(".jpg")) {
      EXPECT_EQ(head.substr(0, 3), "\xFF\xD8\xFF") << name;
    } else {
      EXPECT_EQ(head, "OggS") << name;
    }
  }
  ClearResources();
}

}  // namespace
