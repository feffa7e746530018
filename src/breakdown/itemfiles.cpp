#include "breakdown/itemfiles.h"

#include <set>

#include "general/editframe.h"
#include "general/errors.h"
#include "general/workcodec.h"
#include "general/movejournal.h"
#include "general/workfiles.h"
#include "platform/files.h"

namespace zantro {
namespace {

template <typename Record>
std::vector<Record> ReadAll(const std::optional<std::string>& path) {
  if (!path) return {};
  auto records = ReadRecords<Record>(*path);
  if (!records) throw FileError(*path + ": the work file cannot be read");
  return std::move(*records);
}

}  // namespace

ItemFiles::ItemFiles(std::string folder, Keeper keep) : folder_(std::move(folder)), keep_(std::move(keep)) {
  for (const auto& name : ListFiles(folder_)) index_.emplace(FoldCase(name), name);
}

std::optional<std::string> ItemFiles::Spelling(const std::string& name) const {
  auto it = index_.find(FoldCase(name));
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

ItemFiles::ItemFiles(EditFrame& frame)
    : ItemFiles(frame.Folder(), [&frame](const std::string& name, const std::optional<std::string>& path) {
        frame.KeepFile(name, path);
      }) {
  finishEach_ = false;
}

std::optional<std::string> ItemFiles::Find(const std::string& name) const {
  auto spelling = Spelling(name);
  if (!spelling) return std::nullopt;
  return JoinPath(folder_, *spelling);
}

void ItemFiles::Done() {
  if (finishEach_) FinishMoves(folder_);
}

void ItemFiles::Rearrange(const std::vector<std::pair<int32_t, int32_t>>& moves, const std::vector<int32_t>& removed) {
  std::vector<FileMove> plan;
  std::set<std::string> sources, targets, gone;  // case-folded names
  std::map<std::string, std::string> arrived;     // case-folded name -> name
  for (std::string_view ext : {"WRK", "PUP"}) {
    auto file = [ext](int32_t n) { return ext == "WRK" ? SheetFile(n, "WRK") : TakeoffFile(n); };
    std::set<std::string> kindSources, kindTargets;
    for (auto [from, to] : moves)
      if (from != to) kindSources.insert(FoldCase(file(from))), kindTargets.insert(FoldCase(file(to)));
    for (auto [from, to] : moves) {
      if (from == to) continue;
      std::string source = file(from), target = file(to);
      auto path = Find(source);
      keep_(source, path);
      keep_(target, Find(target));
      if (path) {
        plan.push_back({index_.at(FoldCase(source)), target, std::nullopt});
        arrived[FoldCase(target)] = target;
      }
    }
    // A target whose file does not move elsewhere is overwritten (or emptied): it leaves too.
    for (const auto& upper : kindTargets)
      if (!kindSources.count(upper) && index_.count(upper)) plan.push_back({index_.at(upper), "", std::nullopt});
    for (int32_t n : removed) {
      std::string name = file(n), upper = FoldCase(name);
      if (kindSources.count(upper) || kindTargets.count(upper) || gone.count(upper)) continue;
      auto path = Find(name);
      keep_(name, path);
      if (path) plan.push_back({index_.at(upper), "", std::nullopt});
      gone.insert(upper);
    }
    sources.insert(kindSources.begin(), kindSources.end());
    targets.insert(kindTargets.begin(), kindTargets.end());
  }
  MoveFiles(folder_, plan);
  for (const auto* names : {&sources, &targets, &gone})
    for (const auto& upper : *names) index_.erase(upper);
  index_.insert(arrived.begin(), arrived.end());
  Done();
}

void ItemFiles::Write(const std::string& name, std::string_view bytes) {
  auto path = Find(name);
  keep_(name, path);
  std::string upper = FoldCase(name), spelled = path ? index_.at(upper) : name;
  std::vector<FileMove> plan;
  if (path) plan.push_back({spelled, "", std::nullopt});
  plan.push_back({"", spelled, std::string(bytes)});
  MoveFiles(folder_, plan);
  index_[upper] = spelled;
  Done();
}

void ItemFiles::Move(int32_t from, int32_t to) {
  if (from == to) return;
  Rearrange({{from, to}}, {});
}

void ItemFiles::Remove(int32_t n) { Rearrange({}, {n}); }

std::vector<LineRecord> ItemFiles::Lines(int32_t n) const { return ReadAll<LineRecord>(Find(SheetFile(n, "WRK"))); }

std::vector<TakeoffRecord> ItemFiles::Takeoffs(int32_t n) const {
  return ReadAll<TakeoffRecord>(Find(TakeoffFile(n)));
}

void ItemFiles::WriteLines(int32_t n, std::vector<LineRecord> lines) {
  for (auto& l : lines) l.ItemNo = n;
  Write(SheetFile(n, "WRK"), EncodeRecords(std::span<const LineRecord>(lines)));
}

void ItemFiles::WriteTakeoffs(int32_t n, std::vector<TakeoffRecord> records) {
  for (auto& r : records) r.ItemNo = n;
  Write(TakeoffFile(n), EncodeRecords(std::span<const TakeoffRecord>(records)));
}

}  // namespace zantro
