// Registration rows: holdings and open margin positions copied into the
// diary as rows of kinds 51/52 (買保, 売保) and 55/56 (買建, 売建), a record
// of what was held on a day. They change no other ledger.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/books.h"
#include "core/records/amount.h"

namespace tomvik::core {

// One registration row's figures, as texts of the ledger or the panel.
struct Registration {
  bool buy = true;
  std::string code;
  std::string stock;  // "code name"
  std::string exchange;
  std::string market;  // 単価
  std::string shares;  // 数量
  std::string total;   // 保有
  std::string profit;  // 損益
  Amount amount = 0;   // 金額: shares x market price (summed over a run)
  std::string comment;
};

// A holding row's registration, with its comment or without.
Registration RegistrationOfHolding(const LedgerRow& holding, bool withComment);
// Position rows' registrations: one per row, or (`byStock`) one per run of
// rows of one stock and side, summing shares, total and result and taking
// stock, exchange and market price of the run's first row, without comment.
std::vector<Registration> RegistrationsOfPositions(const LedgerTable& positions, bool byStock, bool withComment);

// One registration from a panel's texts, 金額 = shares x market price.
Registration MakeRegistration(bool buy, const std::string& code, const std::string& stock, const std::string& exchange,
                              const std::string& market, const std::string& shares, const std::string& total,
                              const std::string& profit, const std::string& comment);
// Writes the rows for the date (margin: 55/56, else 51/52); sums the day. Returns the index of the last row written,
// nothing when there was none to write.
std::optional<std::size_t> WriteRegistrations(Books& books, const std::string& date,
                                              const std::vector<Registration>& registrations, bool margin);

}  // namespace tomvik::core
