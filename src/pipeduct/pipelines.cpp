#include "pipeduct/pipelines.h"

#include <algorithm>

#include "general/errors.h"
#include "platform/cp932.h"
#include "prices/pick.h"

namespace zantro {
namespace {

void AddOnce(std::vector<std::string>& list, const std::string& s) {
  if (std::find(list.begin(), list.end(), s) == list.end()) list.push_back(s);
}

const PriceEntry* PartEntry(const PriceLibrary& lib, const PipeRun& run, PipePart part) {
  const std::string name = PipePartName(part);
  for (const PriceEntry& e : lib.Entries)
    if (e.Category1 == run.Material && e.Category2 == name && e.Spec == run.Size) return &e;
  return nullptr;
}

}  // namespace

std::string PipePartName(PipePart p) {
  switch (p) {
    case PipePart::Pipe: return ToCp932("管");
    case PipePart::Joint: return ToCp932("継手");
    case PipePart::Support: return ToCp932("支持金物");
    case PipePart::Insulation: return ToCp932("保温");
  }
  return {};
}

std::vector<std::string> PipeMaterials(const PriceLibrary& lib) {
  std::vector<std::string> out;
  const std::string pipe = PipePartName(PipePart::Pipe);
  for (const PriceEntry& e : lib.Entries)
    if (e.Category2 == pipe) AddOnce(out, e.Category1);
  return out;
}

std::vector<std::string> PipeSizes(const PriceLibrary& lib, const std::string& material) {
  std::vector<std::string> out;
  const std::string pipe = PipePartName(PipePart::Pipe);
  for (const PriceEntry& e : lib.Entries)
    if (e.Category1 == material && e.Category2 == pipe) AddOnce(out, e.Spec);
  return out;
}

std::vector<DetailLineMessage> PipeRunLines(const PriceLibrary& lib, const PipeRun& run, int level) {
  std::vector<PipePart> parts{PipePart::Pipe};
  if (run.Joints) parts.push_back(PipePart::Joint);
  if (run.Supports) parts.push_back(PipePart::Support);
  if (run.Insulation) parts.push_back(PipePart::Insulation);
  std::vector<DetailLineMessage> lines;
  for (PipePart part : parts) {
    const PriceEntry* e = PartEntry(lib, run, part);
    if (!e)
      throw FileError(ToUtf8(run.Material) + " " + ToUtf8(run.Size) + "の" + ToUtf8(PipePartName(part)) +
                      "は単価データにありません");
    lines.push_back(QuantityLine(*e, level, run.Length));
  }
  return lines;
}

std::vector<std::string> FittingItems(const PriceLibrary& lib) {
  std::vector<std::string> out;
  for (const PriceEntry& e : lib.Entries) AddOnce(out, e.Name);
  return out;
}

std::vector<std::string> FittingSizes(const PriceLibrary& lib, const std::string& item) {
  std::vector<std::string> out;
  for (const PriceEntry& e : lib.Entries)
    if (e.Name == item) AddOnce(out, e.Spec);
  return out;
}

const PriceEntry* FittingEntry(const PriceLibrary& lib, const std::string& item, const std::string& size) {
  for (const PriceEntry& e : lib.Entries)
    if (e.Name == item && e.Spec == size) return &e;
  return nullptr;
}

DetailLineMessage QuantityLine(const PriceEntry& e, int level, Money qty) {
  return PickedLine(e, level, qty, Command::MultiWrite);
}

}  // namespace zantro
