#include "core/diary/trade_kinds.h"

#include "core/records/cp932_literals.h"
#include "core/records/diary_file.h"

namespace tomvik::core {

std::string KindText(std::string_view code) {
  using namespace sjis;
  if (code.size() != 2) return std::string();
  const std::string_view side = IsBuySide(code[1]) ? kBuy : kSell;
  switch (code[0]) {
    case '1': return Join(kPlan, side);
    case '2':
      if (code[1] == '7') return Join(kDelivery, kTake);
      if (IsCashSide(code[1])) return std::string(side);
      return Join(kMargin, side);
    case '3':
      if (code[1] == '8') return Join(kDelivery, kGive);
      if (IsCashSide(code[1])) return std::string(side);
      return Join(kRepay, side);
    case '5': return Join(side, IsCashSide(code[1]) ? kKeep : kPosition);
    case '7': return std::string(code[1] == '1' ? kIn : kOut);
    default: return std::string();
  }
}

char KindClassOf(std::string_view key) { return key.size() > DiaryKey::KindClass ? key[DiaryKey::KindClass] : '\0'; }

char KindSideOf(std::string_view key) { return key.size() > DiaryKey::KindSide ? key[DiaryKey::KindSide] : '\0'; }

}  // namespace tomvik::core
