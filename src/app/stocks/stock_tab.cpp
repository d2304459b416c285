#include "app/stocks/stock_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "app/shell/entry_fields.h"
#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/records/amount.h"
#include "core/records/code_file.h"

namespace tomvik::app {

namespace {

// Height of the entry panel until the window restores the saved one.
constexpr int kPanelHeight = 168;

std::string TextOf(const QLineEdit* field) { return ToSjis(field->text()); }

void ShowResult(QLineEdit* memo, core::Amount result) {
  memo->setText(AmountText(result));
  ShowSignColour(memo, result);
}

// Gives the view's cell options as the delegate lays them out, so the hit
// test of a check box agrees with where it is drawn.
class CellLayout : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::initStyleOption;
};

const QString kDiscardQuestion = QStringLiteral("未保存のデータは破棄されます読込を続行しますか？");
const QString kReloadQuestion = QStringLiteral("再読込しますか？");

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
  FillBuiltInExchanges(ui.ComboBoxStockExchange3);
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

  PlacePanelOverList(this, ui.Splitter, kPanelHeight);
}

void StockTab::createConnections() {
  ui.ListViewStock->viewport()->installEventFilter(this);
  connect(ui.ListViewStock, &QTreeView::doubleClicked, this, &StockTab::ListViewStockDblClick);

  for (QLineEdit* amount : {ui.EditPrice3B, ui.EditPrice3S}) {
    InstallNumericKeyFilter(amount, setupModeQuery());
    NormaliseOnExit(amount);
    connect(amount, &QLineEdit::textChanged, this, &StockTab::EditPrice3Change);
  }
  InstallNumericKeyFilter(ui.EditStockUnit3, setupModeQuery());

  connect(ui.ComboBoxStockExchange3, &QComboBox::currentTextChanged, this, &StockTab::cmnUpdate3);
  connect(ui.RichEditComment3, &QPlainTextEdit::textChanged, this, &StockTab::cmnUpdate3);
  // The stock fields count as edits only where they can be typed.
  for (QLineEdit* field : {ui.MaskEditStockCode3, ui.EditStockName3, ui.EditStockUnit3}) {
    connect(field, &QLineEdit::textChanged, this, [this] {
      if (initialSetupMode()) cmnUpdate3();
    });
  }
  connect(ui.MaskEditStockCode3, &QLineEdit::textEdited, this, &StockTab::codeEdited);

  connect(ui.ButtonAdd3, &QPushButton::clicked, this, &StockTab::ButtonAdd3Click);
  connect(ui.ButtonUpd3, &QPushButton::clicked, this, &StockTab::ButtonUpd3Click);
  connect(ui.ButtonDel3, &QPushButton::clicked, this, &StockTab::ButtonDel3Click);
  // clicked() comes from the user only, so restoring the box from the
  // settings or after a refused reload never reaches the handler.
  connect(ui.CheckBoxFilter3, &QCheckBox::clicked, this, &StockTab::CheckBoxFilter3Click);
}

bool StockTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui.ListViewStock->viewport()) {
    // A quick second press arrives as a double click; it flips the mark
    // again like any press.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      ListViewStockMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    return false;
  }
  return TabBase::eventFilter(watched, event);
}

void StockTab::syncList() {
  ui.Model->sync();
  if (loaded_ && !loadedRowStands()) forgetLoaded();
  ui.CheckBoxFilter3->setEnabled(!books_.unsaved.stocks);
}

void StockTab::changed() {
  if (services_) {
    services_->ledgersChanged();
  } else {
    syncList();
  }
}

void StockTab::MainMenuLoad3Click(bool fromUser) {
  std::error_code ec;
  if (!std::filesystem::exists(books_.folder / core::kStockMasterFileName, ec)) return;
  if (fromUser && books_.unsaved.stocks && services_ &&
      !services_->prompter().askYesNo(services_->window(), kDiscardQuestion)) {
    return;
  }
  if (const auto error = core::LoadStocksInto(books_)) {
    if (services_) {
      services_->prompter().showError(services_->window(),
                                      QStringLiteral("銘柄管理を読み込めませんでした。\n") + DescribeFileError(*error));
    }
    return;
  }
  ui.Model->setTable(&books_.stocks);
  changed();
}

void StockTab::CheckBoxFilter3Click(bool checked) {
  if (services_ && !services_->prompter().askYesNo(services_->window(), kReloadQuestion)) {
    const QSignalBlocker blocker(ui.CheckBoxFilter3);
    ui.CheckBoxFilter3->setChecked(!checked);
    return;
  }
  books_.stockFilter = checked;
  MainMenuLoad3Click(false);
}

QRect StockTab::checkBoxRect(int viewRow) const {
  const QModelIndex index = ui.Model->index(viewRow, 0);
  if (!index.isValid()) return {};
  QTreeView* view = ui.ListViewStock;
  QStyleOptionViewItem option;
  option.initFrom(view->viewport());
  option.widget = view;
  option.rect = view->visualRect(index);
  CellLayout().initStyleOption(&option, index);
  return view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
}

void StockTab::ListViewStockMouseDown(const QPoint& position) {
  const QModelIndex index = ui.ListViewStock->indexAt(position);
  if (!index.isValid()) return;  // below the last row
  // Any height within the row, the check box's width.
  const QRect box = checkBoxRect(index.row());
  if (position.x() < box.left() || position.x() > box.right()) return;
  const auto row = ui.Model->tableIndex(index.row());
  if (!row) return;
  core::ToggleStockMark(books_, *row);
  changed();
}

std::optional<std::size_t> StockTab::selectedRow() const { return SelectedTableIndex(ui.ListViewStock, *ui.Model); }

void StockTab::ListViewStockDblClick() {
  const auto row = selectedRow();
  if (!row) return;
  ui.ButtonAdd3->setEnabled(false);
  ui.ButtonDel3->setEnabled(true);
  const core::LedgerRow& entry = books_.stocks[*row];
  {
    filling_ = true;
    ui.MaskEditStockCode3->setText(ToQString(entry.key));
    ui.EditStockName3->setText(ToQString(entry.cell(core::StockCol::Name)));
    ui.ComboBoxStockExchange3->setEditText(ToQString(entry.cell(core::StockCol::Exchange)));
    ui.EditStockUnit3->setText(ToQString(entry.cell(core::StockCol::Unit)));
    ui.EditPrice3B->setText(ToQString(entry.cell(core::StockCol::BuyTotal)));
    ui.EditPrice3S->setText(ToQString(entry.cell(core::StockCol::SellTotal)));
    ShowComment(ui.RichEditComment3, entry.cell(core::StockCol::Comment));
    filling_ = false;
  }
  ui.ButtonUpd3->setEnabled(false);
  rememberLoaded(*row);
}

void StockTab::EditPrice3Change() {
  // An emptied total is 0 at once.
  for (QLineEdit* amount : {ui.EditPrice3B, ui.EditPrice3S}) {
    if (!amount->text().isEmpty()) continue;
    const QSignalBlocker blocker(amount);
    amount->setText(QStringLiteral("0"));
  }
  ShowResult(ui.MemoPM3, core::StockResultOf(TextOf(ui.EditPrice3B), TextOf(ui.EditPrice3S)));
  cmnUpdate3();
}

void StockTab::cmnUpdate3() {
  if (filling_) return;
  ui.ButtonUpd3->setEnabled(loaded_.has_value() && !books_.stocks.empty());
}

void StockTab::codeEdited() {
  codeTyped_ = true;
  // A code the list does not hold yet can be added, also after a row was
  // loaded into the panel.
  if (initialSetupMode() && !books_.stocks.find(StockCodeOf(ui.MaskEditStockCode3))) ui.ButtonAdd3->setEnabled(true);
}

core::StockFields StockTab::panelFields() const {
  return core::StockFields{StockCodeOf(ui.MaskEditStockCode3),
                           TextOf(ui.EditStockName3),
                           ToSjis(ui.ComboBoxStockExchange3->currentText()),
                           TextOf(ui.EditStockUnit3),
                           TextOf(ui.EditPrice3B),
                           TextOf(ui.EditPrice3S),
                           TextOf(ui.MemoPM3),
                           CommentOf(ui.RichEditComment3)};
}

void StockTab::ButtonUpd3Click() {
  if (!loaded_ || !loadedRowStands()) return;
  core::StockFields fields = panelFields();
  // The code field holds four digits only: an entry whose code is anything
  // else keeps it unless the user typed a new one.
  if (!codeTyped_) fields.code = loaded_->key;
  finishEdit(core::UpdateStock(books_, loaded_->index, fields));
}

void StockTab::ButtonAdd3Click() {
  if (!initialSetupMode()) return;
  const std::size_t index = core::AddStock(books_, panelFields());
  ui.ButtonDel3->setEnabled(true);
  finishEdit(index);
}

void StockTab::showLedgerRow(const std::string& key) {
  forgetLoaded();
  const auto index = books_.stocks.find(key);
  if (!index) return;
  if (const auto viewRow = ui.Model->viewRow(*index)) {
    const QModelIndex cell = ui.Model->index(*viewRow, 0);
    ui.ListViewStock->selectionModel()->setCurrentIndex(
        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui.ListViewStock->scrollTo(cell);
  }
}

void StockTab::finishEdit(std::size_t index) {
  rememberLoaded(index);
  changed();
  if (const auto viewRow = ui.Model->viewRow(index)) {
    const QModelIndex cell = ui.Model->index(*viewRow, 0);
    ui.ListViewStock->selectionModel()->setCurrentIndex(
        cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ui.ListViewStock->scrollTo(cell);
    ui.ListViewStock->setFocus();
  }
  ui.ButtonUpd3->setEnabled(false);
}

void StockTab::ButtonDel3Click() {
  if (!loaded_ || !initialSetupMode()) return;
  if (!confirmDelete()) return;
  if (const auto row = selectedRow()) core::DeleteStock(books_, *row);
  forgetLoaded();
  books_.unsaved.stocks = true;
  changed();
}

std::optional<std::size_t> StockTab::loadedRow() const {
  if (!loaded_) return std::nullopt;
  return loaded_->index;
}

void StockTab::rememberLoaded(std::size_t index) {
  const core::LedgerRow& row = books_.stocks[index];
  loaded_ = Loaded{index, row.key, row.cells};
  codeTyped_ = false;
}

void StockTab::forgetLoaded() {
  loaded_.reset();
  ui.ButtonUpd3->setEnabled(false);
  ui.ButtonDel3->setEnabled(false);
}

bool StockTab::loadedRowStands() const {
  if (!loaded_ || loaded_->index >= books_.stocks.size()) return false;
  const core::LedgerRow& row = books_.stocks[loaded_->index];
  return row.key == loaded_->key && row.cells == loaded_->cells;
}

void StockTab::applyInitialSetupMode(bool on) {
  ui.GroupBox3a->setEnabled(on);
  ui.ComboBoxStockExchange3->setEnabled(on);
  for (QLineEdit* field :
       {ui.MaskEditStockCode3, ui.EditStockUnit3, ui.EditStockName3, ui.EditPrice3B, ui.EditPrice3S}) {
    field->setReadOnly(!on);
  }
  ui.ButtonAdd3->setVisible(on);
  ui.ButtonDel3->setVisible(on);
  ui.CheckBoxFilter3->setVisible(!on);
  if (!on && isVisible()) ui.ListViewStock->setFocus();
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

// 模擬 takes the stock shown in the panel.
std::optional<core::SimSource> StockTab::simulationSource() const {
  core::SimSource source;
  source.code = StockCodeOf(ui.MaskEditStockCode3);
  return source;
}

}  // namespace tomvik::app
