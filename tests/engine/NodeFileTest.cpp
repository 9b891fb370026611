// The node overflow file: record layout, ordering of the file index, reading
// back, cutting, and the file's life (created on the first spill, deleted
// when it empties).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "EngineFixtures.h"
#include "engine/search/NodeFile.h"

namespace vesk::engine::test {
namespace {

WaitingNode Node(double bound, std::vector<int32_t> changes, std::vector<int32_t> slots = {}, int fractional = 3) {
  WaitingNode w;
  w.fractionalCount = fractional;
  w.branchValue = 2.75;
  w.bound = bound;
  w.snapshot.inversionCount = 4;
  w.snapshot.pivotsSinceInversion = 6;
  w.snapshot.etaCount = 11;
  w.snapshot.slots = std::move(slots);
  w.changes = std::move(changes);
  return w;
}

struct NodeFileFixture : ::testing::Test {
  RecordingHost host;
  EngineModel model{host};
  long long limit = 7;
  long long heap = 0;
  NodeFile file{model, limit, [this] { return heap; }};

  void SetUp() override {
    model.SetModelName("MIPSolver");
    model.maximize = true;
  }
};

std::vector<uint32_t> Words(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<uint32_t> w;
  unsigned char b[4];
  while (in.read(reinterpret_cast<char*>(b), 4))
    w.push_back(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
  return w;
}

TEST_F(NodeFileFixture, NodeWithoutSnapshotAndOneChangeTakesNineWords) {
  WaitingList list;
  list.push_back(Node(5.0, {42}));
  file.SpillNode(list);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(file.WritePosition(), 9);
  ASSERT_TRUE(host.Said("OPEN"));
  EXPECT_EQ(file.Path().filename(), "FIL");
  const auto w = Words(file.Path());
  ASSERT_EQ(w.size(), 9u);
  // fractional count, inversion count, depth, pivots, eta count, k, value, change
  EXPECT_EQ(std::vector<uint32_t>(w.begin(), w.begin() + 6), (std::vector<uint32_t>{3, 4, 1, 6, 11, 0}));
  double v;
  const uint64_t bits = w[6] | (static_cast<uint64_t>(w[7]) << 32);
  std::memcpy(&v, &bits, 8);
  EXPECT_EQ(v, 2.75);
  EXPECT_EQ(w[8], 42u);
}

TEST_F(NodeFileFixture, ReadingTheLastNodeDeletesTheFileAndRestoresTheLimit) {
  WaitingList list;
  list.push_back(Node(5.0, {1, 2}, {10, 20, 30}));
  file.SpillNode(list);
  const auto path = file.Path();
  ASSERT_TRUE(std::filesystem::exists(path));
  file.ReadBatch(list);
  ASSERT_EQ(list.size(), 1u);
  const WaitingNode& back = list.back();
  EXPECT_EQ(back.bound, 5.0);
  EXPECT_EQ(back.branchValue, 2.75);
  EXPECT_EQ(back.fractionalCount, 3);
  EXPECT_EQ(back.changes, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(back.snapshot.slots, (std::vector<int32_t>{10, 20, 30}));
  EXPECT_EQ(back.snapshot.inversionCount, 4);
  EXPECT_EQ(back.snapshot.etaCount, 11);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(file.Empty());
  EXPECT_EQ(limit, kUnlimitedWaitingNodes);
  // A later spill starts a fresh file from word 0.
  file.SpillNode(list);
  EXPECT_EQ(file.WritePosition(), 8 + 3 + 2);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(NodeFileFixture, IndexKeepsBestFirstAndReadWorstTakesTheWorst) {
  WaitingList list;
  for (double b : {3.0, 9.0, 1.0, 6.0, 9.0}) {
    list.push_back(Node(b, {static_cast<int32_t>(b)}));
    file.SpillNode(list);
  }
  EXPECT_EQ(file.Count(), 5);
  EXPECT_EQ(file.BestBound(), 9.0);
  // Five on file (not a multiple of 10): the worst comes back.
  file.ReadWorst(list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.back().bound, 1.0);
  // The batch comes back best first, appended at the tail.
  file.ReadBatch(list);
  std::vector<double> bounds;
  for (const auto& w : list) bounds.push_back(w.bound);
  EXPECT_EQ(bounds, (std::vector<double>{1.0, 9.0, 9.0, 6.0, 3.0}));
  EXPECT_FALSE(file.Opened());
}

TEST_F(NodeFileFixture, CutNodesDropsHopelessNodesInMemoryAndOnFile) {
  WaitingList list;
  for (double b : {2.0, 8.0, 4.0}) {
    list.push_back(Node(b, {1}));
    file.SpillNode(list);
  }
  for (double b : {7.0, 5.0, 1.0}) list.push_back(Node(b, {1}));
  EXPECT_EQ(file.CutNodes(list, 4.5), 3);  // 1.0 in memory, 4.0 and 2.0 on file
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(file.Count(), 1);
  EXPECT_TRUE(host.Said("3 NODES CUT"));
  const auto path = file.Path();
  EXPECT_EQ(file.CutNodes(list, 100.0), 3);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(limit, kUnlimitedWaitingNodes);
}

TEST(WaitingList, InsertionRule) {
  struct Case {
    const char* name;
    bool maximize;
    std::vector<double> inserted;
    std::vector<double> expected;  // bounds from head to tail
    std::vector<int> expectedTags;
  };
  const std::vector<Case> cases = {
      {"maximising, best first", true, {5, 9, 1, 7}, {9, 7, 5, 1}, {1, 3, 0, 2}},
      {"minimising, best first", false, {5, 9, 1, 7}, {1, 5, 7, 9}, {2, 0, 3, 1}},
      {"ties within 1e-5 of the head go to the head", true, {5, 5 - 5e-6, 5}, {5, 5 - 5e-6, 5}, {2, 1, 0}},
      {"an equal bound goes before its equal", true, {9, 4, 1, 4}, {9, 4, 4, 1}, {0, 3, 1, 2}},
      {"not better than the tail goes to the tail", true, {9, 4, 4}, {9, 4, 4}, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    WaitingList list;
    int tag = 0;
    for (double b : c.inserted) {
      WaitingNode w;
      w.bound = b;
      w.fractionalCount = tag++;
      InsertWaitingNode(list, std::move(w), c.maximize);
    }
    std::vector<double> bounds;
    std::vector<int> tags;
    for (const auto& w : list) bounds.push_back(w.bound), tags.push_back(w.fractionalCount);
    EXPECT_EQ(bounds, c.expected) << c.name;
    EXPECT_EQ(tags, c.expectedTags) << c.name;
  }
}

}  // namespace
}  // namespace vesk::engine::test
