#include "app/stocks/stock_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/settings_widgets.h"
#include "app/shell/widgets.h"
#include "core/records/code_file.h"

namespace tomvik::app {

namespace {

// Height of the entry panel until the window restores the saved one.
constexpr int kPanelHeight = 168;

void AddBuiltInExchanges(QComboBox* combo) {
  combo->addItems({QStringLiteral("東証１部"), QStringLiteral("東証２部"), QStringLiteral("マザーズ"),
                   QStringLiteral("ジャスダック"), QStringLiteral("ヘラクレス")});
  combo->setCurrentIndex(-1);
}

int Cell(std::size_t column) { return static_cast<int>(column); }

}  // namespace

StockTab::StockTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetStock"));
  createWidgets();
  createLayout();
  createConnections();
}

std::vector<ColumnSpec> StockTab::Columns() {
  using core::StockCol::BuyTotal;
  using core::StockCol::Comment;
  using core::StockCol::Exchange;
  using core::StockCol::Name;
  using core::StockCol::Rate;
  using core::StockCol::Result;
  using core::StockCol::SellTotal;
  using core::StockCol::Unit;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QStringLiteral("コード"), ColumnSpec::kKeyCell, left, 62},
      {QStringLiteral("銘柄名"), Cell(Name), left, 100},
      {QStringLiteral("取引所"), Cell(Exchange), left, 56},
      {QStringLiteral("単位"), Cell(Unit), right, 50},
      {QStringLiteral("買い総額"), Cell(BuyTotal), right, 70},
      {QStringLiteral("売り総額"), Cell(SellTotal), right, 70},
      {QStringLiteral("売買損益"), Cell(Result), right, 70},
      {QStringLiteral("利率"), Cell(Rate), right, 65},
      {QStringLiteral("コメント"), Cell(Comment), left, 100},
  };
}

void StockTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("Splitter3"));
  ui.PanelStock = new QFrame(ui.Splitter);
  ui.PanelStock->setObjectName(QStringLiteral("PanelStock"));

  // Outside the initial-setup mode the stock group is locked and its fields
  // only show the loaded entry; the window opens them up for that mode.
  ui.GroupBox3a = new QGroupBox(ui.PanelStock);
  ui.GroupBox3a->setObjectName(QStringLiteral("GroupBox3a"));
  ui.GroupBox3a->setEnabled(false);
  ui.MaskEditStockCode3 = MakeCodeEdit(QStringLiteral("MaskEditStockCode3"), ui.GroupBox3a);
  ui.MaskEditStockCode3->setReadOnly(true);
  ui.EditStockName3 = MakeTextEdit(QStringLiteral("EditStockName3"), ui.GroupBox3a);
  ui.EditStockName3->setReadOnly(true);
  ui.ComboBoxStockExchange3 = MakeCombo(QStringLiteral("ComboBoxStockExchange3"), ui.GroupBox3a);
  AddBuiltInExchanges(ui.ComboBoxStockExchange3);
  ui.ComboBoxStockExchange3->setEnabled(false);
  ui.EditStockUnit3 = MakeAmountEdit(QStringLiteral("EditStockUnit3"), ui.GroupBox3a);
  ui.EditStockUnit3->setReadOnly(true);
  ui.EditPrice3B = MakeAmountEdit(QStringLiteral("EditPrice3B"), ui.GroupBox3a, QStringLiteral("0"));
  ui.EditPrice3B->setReadOnly(true);
  ui.EditPrice3S = MakeAmountEdit(QStringLiteral("EditPrice3S"), ui.GroupBox3a, QStringLiteral("0"));
  ui.EditPrice3S->setReadOnly(true);
  ui.MemoPM3 = MakeMemo(QStringLiteral("MemoPM3"), ui.GroupBox3a);

  ui.RichEditComment3 = MakeCommentBox(QStringLiteral("RichEditComment3"), ui.PanelStock);
  ui.ButtonAdd3 = new QPushButton(QStringLiteral("追加"), ui.PanelStock);
  ui.ButtonAdd3->setObjectName(QStringLiteral("ButtonAdd3"));
  ui.ButtonAdd3->setVisible(false);
  ui.ButtonUpd3 = new QPushButton(QStringLiteral("更新"), ui.PanelStock);
  ui.ButtonUpd3->setObjectName(QStringLiteral("ButtonUpd3"));
  ui.ButtonUpd3->setEnabled(false);
  ui.ButtonDel3 = new QPushButton(QStringLiteral("削除"), ui.PanelStock);
  ui.ButtonDel3->setObjectName(QStringLiteral("ButtonDel3"));
  ui.ButtonDel3->setVisible(false);
  ui.ButtonDel3->setEnabled(false);
  ui.CheckBoxFilter3 = new QCheckBox(QStringLiteral("フィルタリング"), ui.PanelStock);
  ui.CheckBoxFilter3->setObjectName(QStringLiteral("CheckBoxFilter3"));

  ui.ListViewStock = MakeListView(QStringLiteral("ListViewStock"), ui.Splitter);
  ui.Model = new LedgerModel(&books_.stocks, Columns(), this);
  ui.Model->setMarkColumn(0);
  ui.ListViewStock->setModel(ui.Model);
  ApplyColumns(ui.ListViewStock, ui.Model->columns());
}

void StockTab::createLayout() {
  // Four rows spread over the panel's height: code with exchange and unit,
  // the name, the two totals, the result.
  auto* group = new QGridLayout(ui.GroupBox3a);
  group->setContentsMargins(6, 2, 6, 4);
  group->setHorizontalSpacing(3);
  group->setVerticalSpacing(3);
  ui.EditStockUnit3->setFixedWidth(52);
  ui.ComboBoxStockExchange3->setFixedWidth(112);
  for (QLineEdit* amount : {ui.EditPrice3B, ui.EditPrice3S, ui.MemoPM3}) amount->setFixedWidth(116);
  group->addWidget(MakeLabel(QStringLiteral("コード"), ui.GroupBox3a), 0, 0);
  group->addWidget(ui.MaskEditStockCode3, 0, 1);
  auto* exchangeRow = new QHBoxLayout;
  exchangeRow->setSpacing(3);
  exchangeRow->addSpacing(8);
  exchangeRow->addStretch(1);
  exchangeRow->addWidget(MakeLabel(QStringLiteral("取引所"), ui.GroupBox3a));
  exchangeRow->addWidget(ui.ComboBoxStockExchange3);
  exchangeRow->addSpacing(8);
  exchangeRow->addWidget(MakeLabel(QStringLiteral("単位"), ui.GroupBox3a));
  exchangeRow->addWidget(ui.EditStockUnit3);
  group->addLayout(exchangeRow, 0, 2, 1, 3);
  group->addWidget(ui.EditStockName3, 1, 1, 1, 4);
  group->addWidget(MakeLabel(QStringLiteral("買い"), ui.GroupBox3a), 2, 0);
  group->addWidget(ui.EditPrice3B, 2, 1, 1, 2);
  group->addWidget(MakeLabel(QStringLiteral("売り"), ui.GroupBox3a), 2, 3, Qt::AlignRight);
  group->addWidget(ui.EditPrice3S, 2, 4);
  group->addWidget(MakeLabel(QStringLiteral("売買損益"), ui.GroupBox3a), 3, 3, Qt::AlignRight);
  group->addWidget(ui.MemoPM3, 3, 4);
  group->addWidget(MakeLabel(QStringLiteral("円"), ui.GroupBox3a), 3, 5);
  group->setColumnStretch(2, 1);
  group->setColumnStretch(4, 1);
  for (int row = 0; row < 4; ++row) group->setRowStretch(row, 1);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(3);
  buttons->addWidget(ui.CheckBoxFilter3);
  buttons->addStretch(1);
  buttons->addWidget(ui.ButtonAdd3);
  buttons->addWidget(ui.ButtonUpd3);
  buttons->addWidget(ui.ButtonDel3);

  auto* side = new QVBoxLayout;
  side->setSpacing(3);
  side->addWidget(ui.RichEditComment3, 1);
  side->addLayout(buttons);

  auto* panel = new QHBoxLayout(ui.PanelStock);
  panel->setContentsMargins(4, 4, 4, 4);
  panel->setSpacing(4);
  panel->addWidget(ui.GroupBox3a, 0);
  panel->addLayout(side, 1);

  ui.Splitter->setChildrenCollapsible(false);
  ui.Splitter->setStretchFactor(0, 0);
  ui.Splitter->setStretchFactor(1, 1);
  ui.Splitter->setSizes({kPanelHeight, 1000});

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->addWidget(ui.Splitter);
}

void StockTab::createConnections() {}


void StockTab::syncList() { ui.Model->sync(); }

void StockTab::MainMenuLoad3Click(bool /*fromUser*/) {
  if (core::LoadStocksInto(books_)) return;
  ui.Model->setTable(&books_.stocks);
}

void StockTab::applySettings(const core::Settings& settings) {
  ApplySplit(ui.Splitter, settings.split3);
  ApplyWidths(ui.ListViewStock, settings.stockColumns, 1);
  ApplyExchanges(ui.ComboBoxStockExchange3, settings.exchanges);
  const QSignalBlocker blocker(ui.CheckBoxFilter3);
  ui.CheckBoxFilter3->setChecked(settings.filter3);
}

void StockTab::collectSettings(core::Settings& settings) const {
  settings.split3 = CollectSplit(ui.Splitter);
  CollectWidths(ui.ListViewStock, settings.stockColumns, 1);
  settings.filter3 = ui.CheckBoxFilter3->isChecked();
}

}  // namespace tomvik::app
