#include "app/import/import_texts.h"

#include "app/shell/sjis_text.h"
#include "core/diary/trade_kinds.h"

namespace tomvik::app {

namespace {

QString Yen(core::Amount value) { return QString::fromStdString(core::FormatAmount(value)); }

}  // namespace

QString BrokerName(core::Broker broker) {
  switch (broker) {
    case core::Broker::Sbi: return QStringLiteral("SBI証券 約定履歴");
    case core::Broker::Rakuten: return QStringLiteral("楽天証券 国内株式 取引履歴");
    case core::Broker::Monex: break;
  }
  return QStringLiteral("マネックス証券 取引履歴");
}

QString ActionText(core::TradeAction action) {
  switch (action) {
    case core::TradeAction::CashBuy: return QStringLiteral("現物買");
    case core::TradeAction::CashSell: return QStringLiteral("現物売");
    case core::TradeAction::MarginBuy: return QStringLiteral("信用新規買");
    case core::TradeAction::MarginSell: return QStringLiteral("信用新規売");
    case core::TradeAction::RepaySell: return QStringLiteral("信用返済売");
    case core::TradeAction::RepayBuy: return QStringLiteral("信用返済買");
    case core::TradeAction::DeliveryTake: return QStringLiteral("現引");
    case core::TradeAction::DeliveryGive: break;
  }
  return QStringLiteral("現渡");
}

QString PriceText(core::Amount scaledPrice) {
  const core::Amount whole = scaledPrice / core::kPriceScale;
  core::Amount fraction = scaledPrice % core::kPriceScale;
  if (fraction < 0) fraction = -fraction;
  QString text = Yen(whole);
  if (fraction == 0) return text;
  QString digits = QString::number(fraction).rightJustified(core::kPriceDecimals, QLatin1Char('0'));
  while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  if (scaledPrice < 0 && whole == 0) text = QStringLiteral("-0");
  return text + QLatin1Char('.') + digits;
}

QString LineProblemText(const core::SkippedLine& line) {
  const QString detail = ToQString(line.detail);
  switch (line.problem) {
    case core::LineProblem::NotATrade:
      return QStringLiteral("株式の売買ではありません（%1）")
          .arg(detail.isEmpty() ? QStringLiteral("取引なし") : detail);
    case core::LineProblem::Damaged: return QStringLiteral("行が壊れています（列が足りないか引用符が閉じていません）");
    case core::LineProblem::BadDate: return QStringLiteral("約定日を読めません（%1）").arg(detail);
    case core::LineProblem::BadCode: return QStringLiteral("銘柄コードを読めません（%1）").arg(detail);
    case core::LineProblem::BadQuantity: return QStringLiteral("数量を読めません（%1）").arg(detail);
    case core::LineProblem::BadPrice: return QStringLiteral("単価を読めません（%1）").arg(detail);
    case core::LineProblem::BadNumber: break;
  }
  return QStringLiteral("手数料・税・金額を読めません（%1）").arg(detail);
}

QString RefusalText(const core::TradeOutcome& outcome) {
  switch (outcome.refusal) {
    case core::Refusal::None: return QString();
    case core::Refusal::NoHolding: return QStringLiteral("現物の買い保有がないため記録できません");
    case core::Refusal::NotEnoughHolding:
      return QStringLiteral("保有株数が足りないため記録できません（保有 %1 株）").arg(Yen(outcome.available));
    case core::Refusal::NoPosition: return QStringLiteral("決済する建玉がないため記録できません");
    case core::Refusal::NotEnoughPositions:
      return QStringLiteral("建玉の株数が足りないため記録できません（建玉 %1 株）").arg(Yen(outcome.available));
    case core::Refusal::NotReached: break;
  }
  return QStringLiteral("取引日記の月を切り替えられず、記録していません");
}

QStringList NoticeTexts(const core::TradeOutcome& outcome) {
  QStringList texts;
  for (const core::Notice& notice : outcome.notices) {
    switch (notice.kind) {
      case core::NoticeKind::AmountDiffers:
        texts << QStringLiteral("受渡金額が違います（証券会社 %1 円、記録 %2 円）")
                     .arg(Yen(notice.broker), Yen(notice.program));
        break;
      case core::NoticeKind::ResultDiffers:
        texts << QStringLiteral("損益が違います（証券会社 %1 円、記録 %2 円：金利・諸経費など）")
                     .arg(Yen(notice.broker), Yen(notice.program));
        break;
      case core::NoticeKind::OpenDateNotFound:
        texts << QStringLiteral("建約定日の建玉がないため古い建玉から決済します");
        break;
      case core::NoticeKind::TextReplaced: texts << QStringLiteral("読めない文字を「?」にしました"); break;
      case core::NoticeKind::PriceRounded: texts << QStringLiteral("単価の小数を4桁に丸めました"); break;
      case core::NoticeKind::StockNotStored: texts << QStringLiteral("銘柄を Code.txt に書き込めませんでした"); break;
    }
  }
  return texts;
}

QString KindsText(const std::vector<std::string>& kinds) {
  QStringList parts;
  std::size_t i = 0;
  while (i < kinds.size()) {
    std::size_t same = 1;
    while (i + same < kinds.size() && kinds[i + same] == kinds[i]) ++same;
    QString text = ToQString(core::KindText(kinds[i]));
    if (same > 1) text += QStringLiteral("×%1").arg(same);
    parts << text;
    i += same;
  }
  return parts.join(QStringLiteral("・"));
}

}  // namespace tomvik::app
