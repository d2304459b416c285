#include "app/ledger/ledger_tab_traits.h"

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

LedgerTabTraits HoldingsTabTraits() {
  LedgerTabTraits traits;
  traits.ledger = core::Ledger::Holdings;
  traits.suffix = QStringLiteral("2");
  traits.sheet = QStringLiteral("TabSheetHold");
  traits.panel = QStringLiteral("PanelHold");
  traits.splitter = QStringLiteral("Splitter2");
  traits.list = QStringLiteral("ListViewHold");
  traits.rate = QStringLiteral("PanelHoldPer");
  traits.buyCaption = QStringLiteral("買い");
  traits.sellCaption = QStringLiteral("売り");
  traits.priceCaption = QStringLiteral("平均単価");
  traits.subCheck = QStringLiteral("CheckBoxHoldSell");
  traits.subCheckCaption = QStringLiteral("保有銘柄売却");
  traits.subButton = QStringLiteral("ButtonHoldSel");
  traits.subButtonCaption = QStringLiteral("売却");
  traits.subCaption = QStringLiteral("金額");
  traits.subFirstCaption = QStringLiteral("買い");
  traits.subSecondCaption = QStringLiteral("売り");
  traits.columns = HoldingsColumns();
  namespace C = core::HoldCol;
  traits.cells = {C::Stock, C::Exchange, C::Unit, C::Total, C::Shares, C::Market, C::Profit, C::Comment};
  traits.oneRowPerCode = true;
  return traits;
}

LedgerTabTraits MarginTabTraits() {
  LedgerTabTraits traits;
  traits.ledger = core::Ledger::Positions;
  traits.suffix = QStringLiteral("L");
  traits.sheet = QStringLiteral("TabSheetLoan");
  traits.panel = QStringLiteral("PanelLoan");
  traits.splitter = QStringLiteral("SplitterL");
  traits.list = QStringLiteral("ListViewLoan");
  traits.rate = QStringLiteral("PanelHoldPerL");
  traits.buyCaption = QStringLiteral("買建");
  traits.sellCaption = QStringLiteral("売建");
  traits.priceCaption = QStringLiteral("単価");
  traits.subCheck = QStringLiteral("CheckBoxSettlement");
  traits.subCheckCaption = QStringLiteral("信用建玉決済");
  traits.subButton = QStringLiteral("ButtonSettlement");
  traits.subButtonCaption = QStringLiteral("決済");
  // Until a position is opened the sub-panel reads as for a buy position,
  // the side the panel starts with.
  traits.subCaption = QStringLiteral("買建");
  traits.subFirstCaption = QStringLiteral("現引き");
  traits.subSecondCaption = QStringLiteral("売返済");
  traits.columns = PositionColumns();
  namespace C = core::LoanCol;
  traits.cells = {C::Stock, C::Exchange, C::Unit, C::Total, C::Shares, C::Market, C::Profit, C::Comment};
  traits.subPanelBlocksUpdate = true;
  return traits;
}

}  // namespace tomvik::app
