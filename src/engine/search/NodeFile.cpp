#include "engine/search/NodeFile.h"

#include <cmath>
#include <cstring>
#include <system_error>

#include "engine/EngineFiles.h"
#include "engine/EngineHostMessages.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

void PutWord(std::vector<uint32_t>& out, int32_t v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  out.push_back(u);
}

void PutReal(std::vector<uint32_t>& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  out.push_back(static_cast<uint32_t>(bits & 0xFFFFFFFFu));
  out.push_back(static_cast<uint32_t>(bits >> 32));
}

int32_t Word(const std::vector<uint32_t>& in, size_t k) {
  int32_t v;
  std::memcpy(&v, &in[k], 4);
  return v;
}

double Real(const std::vector<uint32_t>& in, size_t k) {
  const uint64_t bits = static_cast<uint64_t>(in[k]) | (static_cast<uint64_t>(in[k + 1]) << 32);
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

void WriteWords(std::fstream& f, const std::vector<uint32_t>& words) {
  unsigned char buf[4];
  for (uint32_t w : words) {  // little-endian 32-bit words whatever the machine
    buf[0] = static_cast<unsigned char>(w);
    buf[1] = static_cast<unsigned char>(w >> 8);
    buf[2] = static_cast<unsigned char>(w >> 16);
    buf[3] = static_cast<unsigned char>(w >> 24);
    f.write(reinterpret_cast<const char*>(buf), 4);
  }
}

bool ReadWords(std::fstream& f, std::vector<uint32_t>& words, size_t count) {
  words.resize(count);
  unsigned char buf[4];
  for (size_t k = 0; k < count; ++k) {
    if (!f.read(reinterpret_cast<char*>(buf), 4)) return false;
    words[k] = static_cast<uint32_t>(buf[0]) | (static_cast<uint32_t>(buf[1]) << 8) |
               (static_cast<uint32_t>(buf[2]) << 16) | (static_cast<uint32_t>(buf[3]) << 24);
  }
  return true;
}

}  // namespace

void InsertWaitingNode(WaitingList& list, WaitingNode&& node, bool maximize) {
  const double b = node.bound;
  auto better = [maximize](double x, double y) { return maximize ? x > y : x < y; };
  auto atLeast = [maximize](double x, double y) { return maximize ? x >= y : x <= y; };
  if (list.empty() || std::fabs(b - list.front().bound) <= kWaitingTie || atLeast(b, list.front().bound)) {
    list.push_front(std::move(node));
    return;
  }
  if (!better(b, list.back().bound)) {
    list.push_back(std::move(node));
    return;
  }
  for (auto it = list.begin(); it != list.end(); ++it)
    if (atLeast(b, it->bound)) {
      list.insert(it, std::move(node));
      return;
    }
  list.push_back(std::move(node));
}

NodeFile::NodeFile(EngineModel& model, long long& waitingLimit, std::function<long long()> heapBytes)
    : model_(model), waitingLimit_(waitingLimit), heapBytes_(std::move(heapBytes)) {}

NodeFile::~NodeFile() { Discard(); }

void NodeFile::Open() {
  if (openForAccess_) return;
  if (opened_) {  // closed for access during the search: reopen, keep its contents
    file_.open(path_, std::ios::in | std::ios::out | std::ios::binary);
    if (!file_) FatalEngineError(model_.host, "NODE FILE " + path_.string() + " CANNOT BE OPENED");
    openForAccess_ = true;
    return;
  }
  path_ = EngineFileName(model_, "FIL");
  file_.open(path_, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
  if (!file_) FatalEngineError(model_.host, "NODE FILE " + path_.string() + " CANNOT BE OPENED");
  ConsoleLine(model_, "OPEN");
  opened_ = true;
  openForAccess_ = true;
  writePosition_ = 0;
}

void NodeFile::SpillNode(WaitingList& list) {
  if (list.empty()) return;
  Open();
  WaitingNode& node = list.back();
  const BasisSnapshot& s = node.snapshot;
  std::vector<uint32_t> words;
  words.reserve(8 + s.slots.size() + node.changes.size());
  PutWord(words, node.fractionalCount);
  PutWord(words, s.inversionCount);
  PutWord(words, node.Depth());
  PutWord(words, s.pivotsSinceInversion);
  PutWord(words, s.etaCount);
  PutWord(words, static_cast<int32_t>(s.slots.size()));
  PutReal(words, node.branchValue);
  for (int32_t slot : s.slots) PutWord(words, slot);
  for (int32_t ref : node.changes) PutWord(words, ref);
  file_.clear();
  file_.seekp(static_cast<std::streamoff>(writePosition_) * 4);
  WriteWords(file_, words);
  file_.flush();
  if (!file_) FatalEngineError(model_.host, "NODE FILE " + path_.string() + " CANNOT BE WRITTEN");

  // Index entry, best bound first.
  IndexEntry entry{node.bound, writePosition_};
  if (index_.empty() || AtLeastAsGood(entry.bound, index_.front().bound)) {
    index_.push_front(entry);
  } else if (!Better(entry.bound, index_.back().bound)) {
    index_.push_back(entry);
  } else {
    auto it = index_.begin();
    while (it != index_.end() && !AtLeastAsGood(entry.bound, it->bound)) ++it;
    index_.insert(it, entry);
  }
  writePosition_ += static_cast<long long>(words.size());
  ++spilledTotal_;
  if (spilledTotal_ % 40 == 0) {
    ConsoleField(model_, kFieldNodes,
                 "SAVE " + std::to_string(Count()) + " " + std::to_string(static_cast<long long>(list.size())));
    model_.host.ProcessPendingEvents();
  }
  list.pop_back();
}

void NodeFile::ReadInto(std::list<IndexEntry>::iterator entry, WaitingList& list) {
  std::vector<uint32_t> head;
  Open();
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(entry->position) * 4);
  if (!ReadWords(file_, head, 8)) FatalEngineError(model_.host, "NODE FILE " + path_.string() + " CANNOT BE READ");
  WaitingNode node;
  node.fractionalCount = Word(head, 0);
  node.snapshot.inversionCount = Word(head, 1);
  const int32_t depth = Word(head, 2);
  node.snapshot.pivotsSinceInversion = Word(head, 3);
  node.snapshot.etaCount = Word(head, 4);
  const int32_t k = Word(head, 5);
  node.branchValue = Real(head, 6);
  node.bound = entry->bound;
  node.snapshot.objective = entry->bound;
  node.snapshot.basicCount = model_.m;
  std::vector<uint32_t> lists;
  if (k < 0 || depth < 0 || !ReadWords(file_, lists, static_cast<size_t>(k) + static_cast<size_t>(depth)))
    FatalEngineError(model_.host, "NODE FILE " + path_.string() + " CANNOT BE READ");
  node.snapshot.slots.resize(static_cast<size_t>(k));
  for (int32_t i = 0; i < k; ++i) node.snapshot.slots[static_cast<size_t>(i)] = Word(lists, static_cast<size_t>(i));
  node.changes.resize(static_cast<size_t>(depth));
  for (int32_t i = 0; i < depth; ++i)
    node.changes[static_cast<size_t>(i)] = Word(lists, static_cast<size_t>(k + i));
  index_.erase(entry);
  list.push_back(std::move(node));
}

void NodeFile::AfterRead() {
  if (!index_.empty()) return;
  Discard();
  waitingLimit_ = kUnlimitedWaitingNodes;
}

void NodeFile::ReadBatch(WaitingList& list) {
  const long long batch = model_.minNodes - 1;
  for (long long read = 0; read < batch && !index_.empty(); ++read) {
    const size_t waiting = list.size();
    if (read > 0 && waiting > 0 && waiting % 10 == 0 && heapBytes_() < 2000000) break;
    ReadInto(index_.begin(), list);
    if ((read + 1) % 10 == 0)
      ConsoleField(model_, kFieldNodes, "READ " + std::to_string(Count()) + " " + std::to_string(list.size()));
  }
  AfterRead();
}

void NodeFile::ReadWorst(WaitingList& list) {
  if (index_.empty()) return;
  if (Count() % 10 == 0 && !list.empty() && heapBytes_() < 2000000) return;
  ReadInto(std::prev(index_.end()), list);
  AfterRead();
}

long long NodeFile::CutNodes(WaitingList& list, double cutoff) {
  auto cannotBeat = [this, cutoff](double bound) { return model_.maximize ? bound < cutoff : bound > cutoff; };
  long long removed = 0;
  while (!list.empty() && cannotBeat(list.back().bound)) {
    list.pop_back();
    ++removed;
  }
  if (!index_.empty()) {
    while (!index_.empty() && cannotBeat(index_.back().bound)) {
      index_.pop_back();
      ++removed;
    }
    if (index_.empty()) {
      Discard();
      waitingLimit_ = kUnlimitedWaitingNodes;
    }
  }
  if (removed > 0) {
    ConsoleField(model_, kFieldNodes, std::to_string(removed));
    ConsoleLine(model_, std::to_string(removed) + " NODES CUT");
    if (model_.logFile) WriteLog(model_, std::to_string(removed) + " NODES CUT");
  }
  return removed;
}

void NodeFile::CloseNodeFile() {
  if (!openForAccess_) return;
  file_.close();
  openForAccess_ = false;
  ConsoleField(model_, kFieldNodes, "CLOSE");
}

void NodeFile::Discard() {
  index_.clear();
  if (!opened_) return;
  CloseNodeFile();
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  opened_ = false;
  writePosition_ = 0;
}

}  // namespace vesk::engine
