#include "core/import/trade_history.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/import/csv_fields.h"
#include "core/records/cp932.h"
#include "core/records/text_lines.h"

namespace tomvik::core {

bool IsSettlement(TradeAction action) {
  switch (action) {
    case TradeAction::RepaySell:
    case TradeAction::RepayBuy:
    case TradeAction::DeliveryTake:
    case TradeAction::DeliveryGive: return true;
    default: return false;
  }
}

bool IsBuyAction(TradeAction action) {
  return action == TradeAction::CashBuy || action == TradeAction::MarginBuy || action == TradeAction::RepayBuy ||
         action == TradeAction::DeliveryTake;
}

namespace {

// What a column holds, whatever the broker calls it.
enum Role : std::size_t {
  kDate,
  kCode,
  kName,
  kMarket,
  kKind,     // 取引, 取引区分
  kSide,     // 売買区分
  kProduct,  // 商品
  kQuantity,
  kPrice,
  kCharge,
  kCharge2,  // 諸費用, added to the charge
  kTax,
  kAmount,  // 受渡金額: settled amount, or the net result of a repayment
  kOpenDate,
  kOpenPrice,
  kRoleCount
};

struct RoleCaptions {
  Role role;
  std::array<std::string_view, 2> bases;  // CaptionBase of the accepted captions; "" unused
  bool required;
};

constexpr RoleCaptions kRakutenRoles[] = {
    {kDate, {"約定日"}, true},         {kCode, {"銘柄コード"}, true},
    {kName, {"銘柄名"}, true},         {kMarket, {"市場名称", "市場"}, false},
    {kKind, {"取引区分"}, true},       {kSide, {"売買区分"}, true},
    {kQuantity, {"数量"}, true},       {kPrice, {"単価"}, true},
    {kCharge, {"手数料"}, false},      {kCharge2, {"諸費用"}, false},
    {kTax, {"税金等", "税金"}, false}, {kAmount, {"受渡金額"}, false},
    {kOpenDate, {"建約定日"}, false},  {kOpenPrice, {"建単価"}, false},
};

constexpr RoleCaptions kMonexRoles[] = {
    {kDate, {"約定日"}, true},
    {kProduct, {"商品"}, true},
    {kKind, {"取引"}, true},
    {kCode, {"銘柄コード"}, true},
    {kName, {"銘柄名"}, true},
    {kQuantity, {"数量/返済数量", "数量"}, true},
    {kPrice, {"単価/返済約定単価", "単価"}, true},
    {kCharge, {"手数料"}, false},
    {kTax, {"税金", "税金等"}, false},
    {kAmount, {"受渡金額"}, false},
    {kOpenDate, {"建約定日"}, false},
    {kOpenPrice, {"建単価"}, false},
};

constexpr RoleCaptions kSbiRoles[] = {
    {kDate, {"約定日"}, true},     {kName, {"銘柄"}, true},
    {kCode, {"銘柄コード"}, true}, {kMarket, {"市場"}, false},
    {kKind, {"取引"}, true},       {kQuantity, {"約定数量"}, true},
    {kPrice, {"約定単価"}, true},  {kCharge, {"手数料/諸経費等", "手数料"}, false},
    {kTax, {"税額"}, false},       {kAmount, {"受渡金額/決済損益", "受渡金額"}, false},
};

struct Layout {
  Broker broker;
  std::span<const RoleCaptions> roles;
};

// Checked in this order: each needs columns the ones after it lack.
constexpr Layout kLayouts[] = {
    {Broker::Rakuten, kRakutenRoles},
    {Broker::Monex, kMonexRoles},
    {Broker::Sbi, kSbiRoles},
};

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);
using Columns = std::array<std::size_t, kRoleCount>;

// The columns of the layout in a header row, or nothing when a required
// caption is missing.
std::optional<Columns> MatchLayout(const Layout& layout, const std::vector<std::string>& bases) {
  Columns columns;
  columns.fill(kNoColumn);
  for (const RoleCaptions& role : layout.roles) {
    for (std::size_t i = 0; i < bases.size() && columns[role.role] == kNoColumn; ++i) {
      for (std::string_view base : role.bases) {
        if (!base.empty() && bases[i] == base) {
          columns[role.role] = i;
          break;
        }
      }
    }
    if (role.required && columns[role.role] == kNoColumn) return std::nullopt;
  }
  return columns;
}

struct KindPattern {
  std::string_view text;
  TradeAction action;
};

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// SBI writes one text per trade: 株式現物買, 信用返済売, 現引 …
std::optional<TradeAction> SbiAction(std::string_view kind) {
  static constexpr KindPattern kPatterns[] = {
      {"株式現物買", TradeAction::CashBuy},   {"株式現物売", TradeAction::CashSell},
      {"信用新規買", TradeAction::MarginBuy}, {"信用新規売", TradeAction::MarginSell},
      {"信用返済買", TradeAction::RepayBuy},  {"信用返済売", TradeAction::RepaySell},
      {"現引", TradeAction::DeliveryTake},    {"現渡", TradeAction::DeliveryGive},
  };
  for (const KindPattern& p : kPatterns) {
    if (kind.starts_with(p.text)) return p.action;
  }
  return std::nullopt;
}

// 楽天: 取引区分 and 売買区分 (現物 買付, 信用返済 売埋, 現引 with no side …).
std::optional<TradeAction> RakutenAction(std::string_view kind, std::string_view side) {
  if (kind.starts_with("現引")) return TradeAction::DeliveryTake;
  if (kind.starts_with("現渡")) return TradeAction::DeliveryGive;
  if (kind.starts_with("現物")) {
    if (side.starts_with("買")) return TradeAction::CashBuy;
    if (side.starts_with("売")) return TradeAction::CashSell;
  } else if (kind.starts_with("信用新規")) {
    if (side.starts_with("買")) return TradeAction::MarginBuy;
    if (side.starts_with("売")) return TradeAction::MarginSell;
  } else if (kind.starts_with("信用返済")) {
    if (side.starts_with("売")) return TradeAction::RepaySell;
    if (side.starts_with("買")) return TradeAction::RepayBuy;
  }
  return std::nullopt;
}

// マネックス: 商品 and 取引 (株式 お買付, 信用返済 半年返済売り, 現引 半年現引 …).
std::optional<TradeAction> MonexAction(std::string_view product, std::string_view kind) {
  if (Contains(product, "現引") || Contains(kind, "現引")) return TradeAction::DeliveryTake;
  if (Contains(product, "現渡") || Contains(kind, "現渡")) return TradeAction::DeliveryGive;
  if (Contains(kind, "返済売")) return TradeAction::RepaySell;
  if (Contains(kind, "返済買")) return TradeAction::RepayBuy;
  if (Contains(kind, "新規買")) return TradeAction::MarginBuy;
  if (Contains(kind, "新規売")) return TradeAction::MarginSell;
  if (product.starts_with("株式")) {
    if (Contains(kind, "買付")) return TradeAction::CashBuy;
    if (Contains(kind, "売却")) return TradeAction::CashSell;
  }
  return std::nullopt;
}

bool IsCodeChar(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

// The first four characters of the field ("54710    " gives 5471).
std::optional<std::string> ReadCode(std::string_view field) {
  const std::string narrow = NarrowText(field);
  if (narrow.size() < 4) return std::nullopt;
  for (std::size_t i = 0; i < 4; ++i) {
    if (!IsCodeChar(narrow[i])) return std::nullopt;
  }
  return narrow.substr(0, 4);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0x80) {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

constexpr std::size_t kShownLineBytes = 240;

class Reader {
 public:
  Reader(std::string_view bytes, bool utf8) : utf8_(utf8), lines_(SplitLines(bytes)) {}

  TradeHistory read() {
    TradeHistory history;
    history.utf8 = utf8_;
    std::size_t i = 0;
    for (; i < lines_.size() && !history.broker; ++i) {
      const auto fields = SplitCsvRecord(decode(lines_[i]).text);
      if (!fields) continue;
      std::vector<std::string> bases;
      bases.reserve(fields->size());
      for (const std::string& field : *fields) bases.push_back(CaptionBase(field));
      for (const Layout& layout : kLayouts) {
        if (auto columns = MatchLayout(layout, bases)) {
          history.broker = layout.broker;
          history.headerLine = i + 1;
          columns_ = *columns;
          break;
        }
      }
    }
    if (!history.broker) return history;
    broker_ = *history.broker;
    needed_ = 0;
    for (std::size_t column : columns_) {
      if (column != kNoColumn) needed_ = std::max(needed_, column + 1);
    }
    for (; i < lines_.size(); ++i) readLine(i + 1, lines_[i], history);
    OrderByDate(history.trades);
    return history;
  }

 private:
  Converted decode(std::string_view raw) const {
    if (utf8_) return Converted{std::string(raw), !IsValidUtf8(raw)};
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      return Converted{std::string(raw), false};
    }
    return codec_.ToUtf8(raw);
  }

  // A text of the file for core: CP932.
  std::string Sjis(std::string_view utf8, bool& replaced) const {
    Converted converted = codec_.FromUtf8(utf8);
    replaced = replaced || converted.replaced;
    return std::move(converted.text);
  }

  std::string shownLine(std::string_view raw) const {
    bool replaced = false;
    const std::string sjis = utf8_ ? Sjis(raw, replaced) : std::string(raw);
    return std::string(CutAtCharBoundary(sjis, kShownLineBytes));
  }

  const std::string& field(const std::vector<std::string>& fields, Role role) const {
    static const std::string kEmpty;
    const std::size_t column = columns_[role];
    return column != kNoColumn && column < fields.size() ? fields[column] : kEmpty;
  }

  std::optional<TradeAction> actionOf(const std::vector<std::string>& fields, std::string& detail) const {
    const std::string kind = NarrowText(field(fields, kKind));
    switch (broker_) {
      case Broker::Sbi: detail = kind; return SbiAction(kind);
      case Broker::Rakuten: {
        const std::string side = NarrowText(field(fields, kSide));
        detail = side.empty() ? kind : kind + " " + side;
        return RakutenAction(kind, side);
      }
      case Broker::Monex: break;
    }
    const std::string product = NarrowText(field(fields, kProduct));
    detail = product + " " + kind;
    return MonexAction(product, kind);
  }

  void readLine(std::size_t lineNumber, std::string_view raw, TradeHistory& history) {
    const Converted line = decode(raw);
    if (TrimBlanks(line.text).empty()) return;
    const auto fields = SplitCsvRecord(line.text);
    auto skip = [&](LineProblem problem, std::string_view detailUtf8) {
      bool replaced = false;
      history.skipped.push_back(SkippedLine{lineNumber, problem, Sjis(detailUtf8, replaced), shownLine(raw)});
    };
    if (!fields) return skip(LineProblem::Damaged, "");
    if (std::all_of(fields->begin(), fields->end(), [](const std::string& f) { return TrimBlanks(f).empty(); })) {
      return;
    }
    // A row that stops before the columns read is cut off, whatever it is.
    if (fields->size() < needed_) return skip(LineProblem::Damaged, "");

    std::string kindText;
    const auto action = actionOf(*fields, kindText);
    if (!action) return skip(LineProblem::NotATrade, kindText);

    ImportedTrade trade;
    trade.line = lineNumber;
    trade.action = *action;
    trade.textReplaced = line.replaced;
    const auto date = ReadDate(field(*fields, kDate));
    if (!date) return skip(LineProblem::BadDate, field(*fields, kDate));
    trade.date = *date;
    const auto code = ReadCode(field(*fields, kCode));
    if (!code) return skip(LineProblem::BadCode, field(*fields, kCode));
    trade.code = *code;
    trade.name = Sjis(TrimBlanks(field(*fields, kName)), trade.textReplaced);
    trade.market = Sjis(TrimBlanks(field(*fields, kMarket)), trade.textReplaced);

    const NumberField quantity = ReadNumber(field(*fields, kQuantity), 0);
    if (!quantity.ok() || quantity.lostDecimals || quantity.value <= 0) {
      return skip(LineProblem::BadQuantity, field(*fields, kQuantity));
    }
    trade.quantity = quantity.value;

    // Deliveries move shares at the position's own cost: they need no price.
    const bool delivery = *action == TradeAction::DeliveryTake || *action == TradeAction::DeliveryGive;
    const NumberField price = ReadNumber(field(*fields, kPrice), kPriceDecimals);
    if (price.state == NumberField::State::Unreadable || (price.ok() && price.value < 0) ||
        (!delivery && (!price.ok() || price.value == 0))) {
      return skip(LineProblem::BadPrice, field(*fields, kPrice));
    }
    trade.price = price.value;
    trade.priceRounded = price.lostDecimals;

    for (Role role : {kCharge, kCharge2, kTax, kAmount}) {
      const NumberField number = ReadNumber(field(*fields, role), 0);
      if (number.state == NumberField::State::Unreadable) return skip(LineProblem::BadNumber, field(*fields, role));
      if (!number.ok()) continue;
      switch (role) {
        case kCharge:
        case kCharge2: trade.charge = SatAdd(trade.charge, number.value); break;
        case kTax: trade.tax = number.value; break;
        default:
          if (*action == TradeAction::RepaySell || *action == TradeAction::RepayBuy) {
            trade.brokerResult = number.value;
          } else {
            trade.brokerAmount = number.value;
          }
      }
    }
    if (const auto openDate = ReadDate(field(*fields, kOpenDate))) trade.openDate = *openDate;
    const NumberField openPrice = ReadNumber(field(*fields, kOpenPrice), kPriceDecimals);
    if (openPrice.ok() && openPrice.value > 0) trade.openPrice = openPrice.value;
    history.trades.push_back(std::move(trade));
  }

  // Brokers list the newest trade first or last: read newest-first files
  // backwards, so that a day's fills keep the order they happened in.
  static void OrderByDate(std::vector<ImportedTrade>& trades) {
    if (trades.size() > 1 && trades.front().date > trades.back().date) std::reverse(trades.begin(), trades.end());
    std::stable_sort(trades.begin(), trades.end(),
                     [](const ImportedTrade& a, const ImportedTrade& b) { return a.date < b.date; });
  }

  bool utf8_;
  std::vector<std::string> lines_;
  Cp932Codec codec_;
  Broker broker_ = Broker::Sbi;
  Columns columns_{};
  std::size_t needed_ = 0;
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

TradeHistory ReadTradeHistory(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return Reader(bytes.substr(kUtf8Bom.size()), true).read();
  TradeHistory history = Reader(bytes, false).read();
  // Without a byte order mark a file is CP932, unless it is only readable as UTF-8.
  if (!history.broker && IsValidUtf8(bytes)) {
    TradeHistory utf8 = Reader(bytes, true).read();
    if (utf8.broker) return utf8;
  }
  return history;
}

}  // namespace tomvik::core
