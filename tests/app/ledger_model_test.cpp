#include "app/shell/ledger_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include <random>
#include <string>
#include <vector>

namespace tomvik::app {
namespace {

const std::vector<ColumnSpec> kColumns{{QStringLiteral("key"), ColumnSpec::kKeyCell}, {QStringLiteral("value"), 0}};

// Rows whose value starts with "-" are hidden, as the diary hides its day end markers.
bool Shows(const core::LedgerRow& row) { return row.cell(0).empty() || row.cell(0)[0] != '-'; }

std::vector<QString> Texts(const LedgerModel& model) {
  std::vector<QString> texts;
  for (int row = 0; row < model.rowCount(); ++row) {
    texts.push_back(
        model.text(row, 0) + QLatin1Char('|') + model.text(row, 1) +
        QLatin1Char(model.data(model.index(row, 0), Qt::CheckStateRole).toInt() == Qt::Checked ? '+' : ' '));
  }
  return texts;
}

// A model that follows the table's changes shows what a model built afresh
// shows, tells the views consistently (the tester checks every signal), and
// keeps the views' hold on rows that did not change.
TEST(LedgerModel, FollowingTheChangesShowsWhatAFreshModelShows) {
  core::LedgerTable table;
  LedgerModel model(&table, kColumns);
  model.setRowFilter(Shows);
  model.setMarkColumn(0);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  std::mt19937 random(11);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto value = [&] { return std::string(pick(4) ? "" : "-") + std::to_string(pick(100)); };
  const auto key = [&] { return std::string(1, static_cast<char>('a' + pick(8))); };

  for (int step = 0; step < 1500; ++step) {
    // A held row that the next changes leave alone keeps its place for the views.
    const int held = model.rowCount() > 0 ? pick(model.rowCount()) : -1;
    const QPersistentModelIndex persistent = held >= 0 ? model.index(held, 1) : QModelIndex();
    const QString heldText = held >= 0 ? model.text(held, 0) + model.text(held, 1) : QString();
    std::size_t heldIndex = held >= 0 ? *model.tableIndex(held) : 0;
    bool heldTouched = held < 0;

    for (int edits = 1 + pick(3); edits > 0; --edits) {
      const int what = table.empty() ? 0 : pick(100);
      const auto at = table.empty() ? 0 : static_cast<std::size_t>(pick(static_cast<int>(table.size())));
      if (what < 35) {
        if (table.insert(core::LedgerRow{key(), {value()}}) <= heldIndex) ++heldIndex;
      } else if (what < 50) {
        table.erase(at);
        heldTouched = heldTouched || at == heldIndex;
        if (at < heldIndex) --heldIndex;
      } else if (what < 75) {
        table.setCell(at, 0, value());
        heldTouched = heldTouched || at == heldIndex;
      } else if (what < 85) {
        table.rekey(at, key());
        heldTouched = true;
      } else if (what < 95) {
        table.setMark(at, pick(2) == 0);
        heldTouched = heldTouched || at == heldIndex;
      } else if (what < 98) {
        table.eraseIf([&](const core::LedgerRow& row) { return row.key == "a"; });
        heldTouched = true;
      } else {
        core::LedgerTable other;
        other.insert(core::LedgerRow{key(), {value()}});
        table = other;
        heldTouched = true;
      }
    }
    model.sync();

    LedgerModel filtered(&table, kColumns);
    filtered.setRowFilter(Shows);
    filtered.setMarkColumn(0);
    ASSERT_EQ(Texts(model), Texts(filtered)) << "step " << step;
    for (int row = 0; row < model.rowCount(); ++row) {
      ASSERT_EQ(model.tableIndex(row), filtered.tableIndex(row)) << "step " << step;
    }
    if (!heldTouched) {
      ASSERT_TRUE(persistent.isValid()) << "step " << step;
      EXPECT_EQ(model.text(persistent.row(), 0) + model.text(persistent.row(), 1), heldText) << "step " << step;
    }
  }
}

}  // namespace
}  // namespace tomvik::app
