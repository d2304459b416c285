#include "app/ledger/ledger_specs.h"

#include "core/records/hold_file.h"
#include "core/records/loan_file.h"

namespace tomvik::app {

std::vector<ColumnSpec> HoldingsColumns() {
  namespace Col = core::HoldCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QString(), Cell(Col::Reserved), left, 1, true, true},
      {QStringLiteral("取引"), Cell(Col::Kind), left, 38, true},
      {QStringLiteral("銘柄"), Cell(Col::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(Col::Exchange), left, 56},
      {QStringLiteral("単位"), Cell(Col::Unit), right, 50},
      {QStringLiteral("総額"), Cell(Col::Total), right, 70},
      {QStringLiteral("株数"), Cell(Col::Shares), right, 50},
      {QStringLiteral("平均単価"), Cell(Col::Average), right, 70},
      {QStringLiteral("時価"), Cell(Col::Market), right, 70},
      {QStringLiteral("騰落率"), Cell(Col::Rate), right, 55},
      {QStringLiteral("損益"), Cell(Col::Profit), right, 70},
      {QStringLiteral("コメント"), Cell(Col::Comment), left, 100},
  };
}

std::vector<ColumnSpec> PositionColumns() {
  namespace Col = core::LoanCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QString(), Cell(Col::Reserved), left, 1, true, true},
      {QStringLiteral("建玉"), Cell(Col::Kind), left, 44, true},
      {QStringLiteral("新規建日"), Cell(Col::OpenDate), left, 72},
      {QStringLiteral("銘柄"), Cell(Col::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(Col::Exchange), left, 56},
      {QStringLiteral("単位"), Cell(Col::Unit), right, 50},
      {QStringLiteral("総額"), Cell(Col::Total), right, 70},
      {QStringLiteral("株数"), Cell(Col::Shares), right, 50},
      {QStringLiteral("単価"), Cell(Col::Price), right, 70},
      {QStringLiteral("時価"), Cell(Col::Market), right, 70},
      {QStringLiteral("騰落率"), Cell(Col::Rate), right, 55},
      {QStringLiteral("損益"), Cell(Col::Profit), right, 70},
      {QStringLiteral("コメント"), Cell(Col::Comment), left, 100},
  };
}

LedgerTabSpec HoldingsTabSpec() {
  LedgerTabSpec spec;
  spec.ledger = core::Ledger::Holdings;
  spec.suffix = QStringLiteral("2");
  spec.sheet = QStringLiteral("TabSheetHold");
  spec.panel = QStringLiteral("PanelHold");
  spec.splitter = QStringLiteral("Splitter2");
  spec.list = QStringLiteral("ListViewHold");
  spec.rate = QStringLiteral("PanelHoldPer");
  spec.buyCaption = QStringLiteral("買い");
  spec.sellCaption = QStringLiteral("売り");
  spec.priceCaption = QStringLiteral("平均単価");
  spec.subCheck = QStringLiteral("CheckBoxHoldSell");
  spec.subCheckCaption = QStringLiteral("保有銘柄売却");
  spec.subButton = QStringLiteral("ButtonHoldSel");
  spec.subButtonCaption = QStringLiteral("売却");
  spec.subCaption = QStringLiteral("金額");
  spec.subFirstCaption = QStringLiteral("買い");
  spec.subSecondCaption = QStringLiteral("売り");
  spec.columns = HoldingsColumns();
  namespace C = core::HoldCol;
  spec.cells = {C::Stock, C::Exchange, C::Unit, C::Total, C::Shares, C::Market, C::Profit, C::Comment};
  spec.oneRowPerCode = true;
  return spec;
}

LedgerTabSpec MarginTabSpec() {
  LedgerTabSpec spec;
  spec.ledger = core::Ledger::Positions;
  spec.suffix = QStringLiteral("L");
  spec.sheet = QStringLiteral("TabSheetLoan");
  spec.panel = QStringLiteral("PanelLoan");
  spec.splitter = QStringLiteral("SplitterL");
  spec.list = QStringLiteral("ListViewLoan");
  spec.rate = QStringLiteral("PanelHoldPerL");
  spec.buyCaption = QStringLiteral("買建");
  spec.sellCaption = QStringLiteral("売建");
  spec.priceCaption = QStringLiteral("単価");
  spec.subCheck = QStringLiteral("CheckBoxSettlement");
  spec.subCheckCaption = QStringLiteral("信用建玉決済");
  spec.subButton = QStringLiteral("ButtonSettlement");
  spec.subButtonCaption = QStringLiteral("決済");
  // Until a position is opened the sub-panel reads as for a buy position,
  // the side the panel starts with.
  spec.subCaption = QStringLiteral("買建");
  spec.subFirstCaption = QStringLiteral("現引き");
  spec.subSecondCaption = QStringLiteral("売返済");
  spec.columns = PositionColumns();
  namespace C = core::LoanCol;
  spec.cells = {C::Stock, C::Exchange, C::Unit, C::Total, C::Shares, C::Market, C::Profit, C::Comment};
  spec.subPanelBlocksUpdate = true;
  return spec;
}

}  // namespace tomvik::app
