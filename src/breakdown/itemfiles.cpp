#include "breakdown/itemfiles.h"

#include "general/errors.h"
#include "general/workcodec.h"
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

std::optional<std::string> ItemFiles::Find(const std::string& name) const {
  auto spelling = Spelling(name);
  if (!spelling) return std::nullopt;
  return JoinPath(folder_, *spelling);
}

void ItemFiles::Delete(const std::string& name) {
  auto path = Find(name);
  if (!path) return;
  keep_(name, path);
  if (!DeleteFile(*path)) throw FileError(*path + ": the work file cannot be deleted");
  index_.erase(FoldCase(name));
}

void ItemFiles::MoveFile(const std::string& from, const std::string& to) {
  auto source = Find(from);
  if (!source) return Delete(to);
  keep_(from, source);
  keep_(to, Find(to));
  // A target of another spelling would stay beside the moved file: it goes first.
  auto target = Find(to);
  if (target && *target != JoinPath(folder_, to) && !DeleteFile(*target))
    throw FileError(*target + ": the work file cannot be deleted");
  if (!RenameFile(*source, JoinPath(folder_, to)))
    throw FileError(*source + ": the work file cannot be renamed to " + to);
  index_.erase(FoldCase(from));
  index_[FoldCase(to)] = to;
}

void ItemFiles::Write(const std::string& name, std::string_view bytes) {
  keep_(name, Find(name));
  // An existing file keeps the spelling the folder gives it.
  std::string spelling = Spelling(name).value_or(name);
  std::string error;
  if (!WriteFileAtomic(JoinPath(folder_, spelling), bytes, &error)) throw FileError(error);
  index_[FoldCase(name)] = spelling;
}

void ItemFiles::Move(int32_t from, int32_t to) {
  if (from == to) return;
  MoveFile(SheetFile(from, "WRK"), SheetFile(to, "WRK"));
  MoveFile(TakeoffFile(from), TakeoffFile(to));
}

void ItemFiles::Remove(int32_t n) {
  Delete(SheetFile(n, "WRK"));
  Delete(TakeoffFile(n));
}

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
