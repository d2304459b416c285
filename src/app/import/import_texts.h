// The Japanese texts of the trade history import: brokers, trade kinds,
// why a line or a trade is not booked, and what to look at.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "core/import/trade_booking.h"
#include "core/import/trade_history.h"

namespace tomvik::app {

// "SBI証券 約定履歴" …
QString BrokerName(core::Broker broker);
// The trade as the broker calls it: "現物買", "信用返済売", "現引" …
QString ActionText(core::TradeAction action);
// A price as the file wrote it: "1,666.8".
QString PriceText(core::Amount scaledPrice);
// Why a line was not read as a trade.
QString LineProblemText(const core::SkippedLine& line);
// Why a trade was not booked.
QString RefusalText(const core::TradeOutcome& outcome);
// What to look at in a booked trade, one text per notice.
QStringList NoticeTexts(const core::TradeOutcome& outcome);
// The rows a trade writes, by kind text: "買", "返売×2".
QString KindsText(const std::vector<std::string>& kinds);

}  // namespace tomvik::app
