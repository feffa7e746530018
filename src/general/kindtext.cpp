#include "general/kindtext.h"

#include "general/kinds.h"
#include "platform/cp932.h"

namespace zantro {

std::string LineKindDescription(int32_t f, const std::array<std::string, 6>& names) {
  auto g = [&names](int i) { return ToUtf8(names[i]); };
  switch (f) {
    case 10: return "数量実数 通常単価  経費対象";
    case 11: return "数量実数 減    額";
    case 12: return "数量実数 通常単価  経費対象外";
    case 20: return "数量小数 通常単価  経費対象";
    case 21: return "数量小数 減    額";
    case 30: return "コメント";
    case 50: return "指定範囲単価合計×掛率";
    case 60: return "指定範囲歩掛×単価";
    case 70: return "指定範囲付帯単価合計×掛率";
    case 81: return "諸経費  見積金額＋他の諸経費×掛率  丸込処理無";
    case 82: return "諸経費  諸経費計算の際、計算外となります";
    case 83: return "諸経費  見積金額＋他の諸経費×掛率  丸込処理有";
    case 84: return "諸経費  見積金額＋諸経費外と指定のある諸経費を含まない×掛率\r\n丸込処理有丸込処理有";
    case 99: return "合計線  印刷時ここに合計が印刷されます";
    case 130: return "(拾出)コメント";
    default: break;
  }
  if (InRange(f, 51, 56)) return "指定範囲内" + g(f - 51) + "単価合計×掛率";
  if (InRange(f, 61, 66)) return "指定範囲内" + g(f - 61) + "指定範囲歩掛×単価";
  if (InRange(f, 71, 76)) return "指定範囲内" + g(f - 71) + "付帯単価合計×掛率";
  return "";
}

}  // namespace zantro
