// Japanese texts that core compares and writes, as CP932 bytes.
//
// Each constant is the CP932 encoding of the character in its comment; a
// test checks every one against the codec, so none is mistyped.
#pragma once

#include <string>
#include <string_view>

namespace tomvik::core::sjis {

inline constexpr std::string_view kBuy = "\x94\x83";        // 買
inline constexpr std::string_view kSell = "\x94\x84";       // 売
inline constexpr std::string_view kPlan = "\x97\x5C";       // 予
inline constexpr std::string_view kClose = "\x81\x59";      // 〆
inline constexpr std::string_view kKeep = "\x95\xDB";       // 保
inline constexpr std::string_view kMargin = "\x90\x4D";     // 信
inline constexpr std::string_view kRepay = "\x95\xD4";      // 返
inline constexpr std::string_view kDelivery = "\x8C\xBB";   // 現
inline constexpr std::string_view kPosition = "\x8C\x9A";   // 建
inline constexpr std::string_view kIn = "\x93\xFC";         // 入
inline constexpr std::string_view kOut = "\x8F\x6F";        // 出
inline constexpr std::string_view kTake = "\x88\xF8";       // 引
inline constexpr std::string_view kGive = "\x93\x6E";       // 渡
inline constexpr std::string_view kSunday = "\x93\xFA";     // 日
inline constexpr std::string_view kMonday = "\x8C\x8E";     // 月
inline constexpr std::string_view kTuesday = "\x89\xCE";    // 火
inline constexpr std::string_view kWednesday = "\x90\x85";  // 水
inline constexpr std::string_view kThursday = "\x96\xD8";   // 木
inline constexpr std::string_view kFriday = "\x8B\xE0";     // 金
inline constexpr std::string_view kSaturday = "\x93\x79";   // 土

// Weekday kanji, Sunday first.
inline constexpr std::string_view kWeekdays[7] = {kSunday,   kMonday, kTuesday, kWednesday,
                                                  kThursday, kFriday, kSaturday};

// The exchange names offered when the settings name none.
inline constexpr std::string_view kBuiltInExchanges[5] = {
    "\x93\x8C\x8F\xD8\x82\x50\x95\x94",                  // 東証１部
    "\x93\x8C\x8F\xD8\x82\x51\x95\x94",                  // 東証２部
    "\x83\x7D\x83\x55\x81\x5B\x83\x59",                  // マザーズ
    "\x83\x57\x83\x83\x83\x58\x83\x5F\x83\x62\x83\x4E",  // ジャスダック
    "\x83\x77\x83\x89\x83\x4E\x83\x8C\x83\x58",          // ヘラクレス
};

inline std::string Join(std::string_view a, std::string_view b) {
  std::string s(a);
  s += b;
  return s;
}

}  // namespace tomvik::core::sjis
