// The server's query parser and the level texts it checks against, then the fuzzer's
// seed queries replayed with the promises the fuzz target checks.
#include "query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "query_check.h"
#include "score_rules.h"
#include "support/work_folder.h"

namespace {

TEST(ScoreQuery, DecodesEachPartAndTakesPlusAsItself) {
  const auto params = ParseQuery("user=a%26b%23c%20d&level=%207%20%28%201%29&x&p=1+2&e=");
  ASSERT_TRUE(params);
  EXPECT_EQ(params->at("user"), "a&b#c d");
  EXPECT_EQ(params->at("level"), " 7 ( 1)");
  EXPECT_EQ(params->at("x"), "");
  EXPECT_EQ(params->at("p"), "1+2");
  EXPECT_EQ(params->at("e"), "");
  EXPECT_EQ(params->size(), 5u);
  EXPECT_TRUE(ParseQuery("")->empty());
}

TEST(ScoreQuery, RefusesWhatCouldForgeOrHideAField) {
  EXPECT_FALSE(ParseQuery("user=a&user=b"));  // which one would count?
  EXPECT_FALSE(ParseQuery("user=a&us%65r=b"));
  EXPECT_FALSE(ParseQuery("=v"));
  EXPECT_FALSE(ParseQuery("a=1&&b=2"));
  EXPECT_FALSE(ParseQuery("a=%4"));
  EXPECT_FALSE(ParseQuery("a=%"));
  EXPECT_FALSE(ParseQuery("a=%zz"));
  EXPECT_FALSE(ParseQuery("a=%0A"));
  EXPECT_FALSE(ParseQuery("a=%00b"));
  EXPECT_FALSE(ParseQuery("a=%7F"));
  std::string many;
  for (int i = 0; i <= static_cast<int>(kMaxQueryPairs); ++i)
    many += (i ? "&k" : "k") + std::to_string(i) + "=1";
  EXPECT_FALSE(ParseQuery(many));
  EXPECT_FALSE(ParseQuery("a=" + std::string(kMaxQueryBytes, 'x')));
}

TEST(ScoreRules, PlainDecimalsOnlyWithinTheirBounds) {
  EXPECT_EQ(PlainDecimal("4500", 1, kMaxScore), 4500);
  EXPECT_EQ(PlainDecimal("99999999", 1, kMaxScore), kMaxScore);
  EXPECT_FALSE(PlainDecimal("100000000", 1, kMaxScore));
  EXPECT_FALSE(PlainDecimal("0", 1, kMaxScore));
  for (const char* text : {"", "01", "+1", "-1", " 1", "1 ", "1.0", "0x10", "9999999999999999999"})
    EXPECT_FALSE(PlainDecimal(text, 0, INT64_MAX / 2)) << text;
}

TEST(ScoreRules, TheLevelTextPadsOneDigitNumbers) {
  EXPECT_EQ(LevelText(7, 1), " 7 ( 1)");
  EXPECT_EQ(LevelText(12, 5), "12 ( 5)");
  EXPECT_EQ(LevelText(10, 10), "10 (10)");
}

TEST(ScoreQuery, SeedQueriesKeepThePromisesOfTheFuzzTarget) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SG_QUERY_CORPUS)) files.push_back(entry.path());
  ASSERT_GE(files.size(), 8u);
  for (const fs::path& file : files) {
    const auto bytes = ReadBytes(file.string());
    const std::string query(bytes.begin(), bytes.end());
    EXPECT_TRUE(QueryParseKeepsItsPromises(query)) << file;
    // And every cut-off copy.
    for (std::size_t n = 0; n < query.size(); ++n)
      ASSERT_TRUE(QueryParseKeepsItsPromises(query.substr(0, n))) << file << " cut at " << n;
  }
}

}  // namespace
