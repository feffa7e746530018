#include "general/records.h"

#include <cstring>

namespace zantro {
namespace {

template <size_t N>
void Zero(uint8_t (&pad)[N]) {
  std::memset(pad, 0, N);
}

}  // namespace

void SanitizeRecord(TitleRecord& r) {
  for (auto* t : {&r.ATESAKI_1, &r.ATESAKI_2, &r.CONSTRACT_1, &r.CONSTRACT_2, &r.WHERE}) t->clamp();
  for (auto* t : {&r.MLIMIT, &r.ULIMIT, &r.TRADE}) t->clamp();
  for (auto* t : {&r.Opt1Str, &r.Opt2Str, &r.Opt3Str}) t->clamp();
  r.id.clamp();
  r.NUMBER.clamp();
  r.INTANTO.clamp();
  r.OUTTANTO.clamp();
  Zero(r.pad217);
  Zero(r.pad443);
  Zero(r.pad498);
  Zero(r.pad751);
}

void SanitizeRecord(ItemRecord& r) {
  r.ItemName.clamp();
  r.ItemNote.clamp();
  Zero(r.pad105);
  Zero(r.pad188);
  Zero(r.pad241);
}

void SanitizeRecord(LineRecord& r) {
  r.NameSpec.clamp();
  r.Unit.clamp();
  r.AmountText.clamp();
  r.Remarks.clamp();
  Zero(r.pad105);
  Zero(r.pad133);
  Zero(r.pad140);
  Zero(r.pad286);
}

void SanitizeRecord(TakeoffRecord& r) {
  r.NameSpec.clamp();
  r.Unit.clamp();
  r.Text1.clamp();
  r.Text2.clamp();
  Zero(r.pad113);
  Zero(r.pad141);
  Zero(r.pad241);
  Zero(r.pad301);
  Zero(r.pad332);
}

}  // namespace zantro
