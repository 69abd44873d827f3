#include "platform/entity_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Rec {
  int id = 0;
};

std::vector<int> Ids(EntityList<Rec>& list) {
  std::vector<int> ids;
  for (Rec& r : list) ids.push_back(r.id);
  return ids;
}

void Fill(EntityList<Rec>& list, int n) {
  for (int i = 1; i <= n; ++i) list.Add(Rec{i});
}

TEST(EntityList, KeepsCreationOrderAndCounts) {
  EntityList<Rec> list;
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.First(), nullptr);
  Fill(list, 4);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(list.Count(), 4u);
  EXPECT_EQ(list.First()->id, 1);
  EXPECT_EQ(list.Last()->id, 4);
}

TEST(EntityList, RemovingTwiceOrForeignDoesNothing) {
  EntityList<Rec> list;
  Fill(list, 3);
  Rec* second = list.First();
  for (Rec& r : list)
    if (r.id == 2) second = &r;
  list.Remove(second);
  list.Remove(second);
  Rec outsider{9};
  list.Remove(&outsider);
  list.Remove(nullptr);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_FALSE(list.Contains(second));
}

TEST(EntityList, RemovingCurrentDuringWalkSkipsNothing) {
  EntityList<Rec> list;
  Fill(list, 5);
  std::vector<int> seen;
  for (Rec& r : list) {
    seen.push_back(r.id);
    if (r.id % 2 == 0) list.Remove(&r);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 3, 5}));
}

TEST(EntityList, RemovingALaterElementDuringWalkIsNotVisited) {
  EntityList<Rec> list;
  Fill(list, 4);
  Rec* last = list.Last();
  std::vector<int> seen;
  for (Rec& r : list) {
    seen.push_back(r.id);
    if (r.id == 1) {
      list.Remove(last);
      EXPECT_FALSE(list.Contains(last));
      EXPECT_EQ(list.Count(), 3u);
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST(EntityList, NestedWalkRemovalIsSafeAndSeenByOuterWalk) {
  // An insect scanning the others from inside the insect update, removing its prey.
  EntityList<Rec> list;
  Fill(list, 6);
  std::vector<int> outer;
  for (Rec& hunter : list) {
    outer.push_back(hunter.id);
    if (hunter.id != 2) continue;
    for (Rec& prey : list) {
      if (prey.id == 2) continue;
      if (prey.id == 1 || prey.id == 4) list.Remove(&prey);
    }
    list.Remove(&hunter);
    // The hunter stays readable until the outer walk ends.
    EXPECT_EQ(hunter.id, 2);
  }
  EXPECT_EQ(outer, (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_EQ(Ids(list), (std::vector<int>{3, 5, 6}));
}

TEST(EntityList, AppendDuringWalkIsVisitedAndBreakEndsWalk) {
  EntityList<Rec> list;
  Fill(list, 2);
  std::vector<int> seen;
  for (Rec& r : list) {
    seen.push_back(r.id);
    if (r.id == 1) list.Add(Rec{7});
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 7}));
  // Leaving a walk early must still allow storage to be reclaimed afterwards.
  for (Rec& r : list) {
    list.Remove(&r);
    break;
  }
  EXPECT_EQ(Ids(list), (std::vector<int>{2, 7}));
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(Ids(list), std::vector<int>{});
}

TEST(EntityList, ClearDuringWalkStopsVisiting) {
  EntityList<Rec> list;
  Fill(list, 4);
  std::vector<int> seen;
  for (Rec& r : list) {
    seen.push_back(r.id);
    list.Clear();
  }
  EXPECT_EQ(seen, (std::vector<int>{1}));
  EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
