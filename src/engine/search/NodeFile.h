#pragma once
// Waiting nodes of the branch-and-bound search and the node overflow file
// that holds the worst of them when memory runs short.
//
// The file is an untyped file of 32-bit words, written sequentially. A node is
// 8 header words: the parent's fractional count, the snapshot's inversion
// count, the depth d, the snapshot's pivots since inversion, its eta count,
// the snapshot's list length k, and the branching value (a 64-bit real, low
// word first); then the k name-table slots of the snapshot and the d
// references into the bound-change store. The node's bound is kept in the
// in-memory index, not in the file; space of nodes read back is not reused.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <vector>

#include "engine/BasisSnapshot.h"
#include "engine/EngineModel.h"

namespace vesk::engine {

struct WaitingNode {
  int fractionalCount = 0;        // fractional columns of the parent
  double branchValue = 0;         // the branching column's value at the parent
  double bound = 0;               // the node's LP value
  BasisSnapshot snapshot;
  std::vector<int32_t> changes;   // bound-change entries from the root, in order

  int Depth() const { return static_cast<int>(changes.size()); }
  long long Bytes() const {
    return static_cast<long long>(sizeof(WaitingNode)) + 4 * static_cast<long long>(changes.capacity()) +
           4 * static_cast<long long>(snapshot.slots.capacity());
  }
};

// Best bound first: descending when maximising, ascending when minimising.
using WaitingList = std::list<WaitingNode>;

inline constexpr long long kUnlimitedWaitingNodes = 1073741824;

class NodeFile {
 public:
  // `waitingLimit` is the search's limit on waiting nodes in memory (reset to
  // kUnlimitedWaitingNodes when the file empties); `heapBytes` gives the heap
  // figure the read rules compare with 2,000,000.
  NodeFile(EngineModel& model, long long& waitingLimit, std::function<long long()> heapBytes);
  ~NodeFile();
  NodeFile(const NodeFile&) = delete;
  NodeFile& operator=(const NodeFile&) = delete;

  // Moves the tail (worst) node of `list` to the file.
  void SpillNode(WaitingList& list);
  // Moves up to MIN-NODES - 1 nodes from the best end of the file to the tail
  // of `list`.
  void ReadBatch(WaitingList& list);
  // Moves the worst node on file to the tail of `list` (skipped while the
  // count on file is a multiple of 10, nodes wait in memory and the heap is
  // small).
  void ReadWorst(WaitingList& list);
  // Removes from the worst ends of `list` and of the file every node whose
  // bound cannot beat `cutoff`; returns how many were removed.
  long long CutNodes(WaitingList& list, double cutoff);
  void CloseNodeFile();
  // Ends the file's life: closes and deletes it, forgets every node on it.
  void Discard();

  long long Count() const { return static_cast<long long>(index_.size()); }
  bool Empty() const { return index_.empty(); }
  double BestBound() const { return index_.front().bound; }
  bool Opened() const { return opened_; }
  long long WritePosition() const { return writePosition_; }
  std::filesystem::path Path() const { return path_; }

 private:
  struct IndexEntry {
    double bound;
    long long position;  // in 32-bit words
  };
  bool Better(double a, double b) const { return model_.maximize ? a > b : a < b; }
  bool AtLeastAsGood(double a, double b) const { return model_.maximize ? a >= b : a <= b; }
  void Open();
  void ReadInto(std::list<IndexEntry>::iterator entry, WaitingList& list);
  void AfterRead();

  EngineModel& model_;
  long long& waitingLimit_;
  std::function<long long()> heapBytes_;
  std::filesystem::path path_;
  std::fstream file_;
  bool opened_ = false;      // created during this search
  bool openForAccess_ = false;
  long long writePosition_ = 0;
  long long spilledTotal_ = 0;
  std::list<IndexEntry> index_;  // best bound first
};

// Inserts `node` into `list`: at the head when its bound is within 1e-5 of the
// head's or at least as good, at the tail when it is not better than the
// tail's, otherwise before the first node it equals or beats.
void InsertWaitingNode(WaitingList& list, WaitingNode&& node, bool maximize);

}  // namespace vesk::engine
