#include "app/diary/diary_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedLayout>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/diary/entry_amounts.h"
#include "core/diary/trade_kinds.h"
#include "core/records/cp932_literals.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

constexpr int kPanelHeight = 168;

const QString kUnsavableMonthQuestion = QStringLiteral(
    "この月の取引日記はファイルを読み込めなかったため、変更を保存できません。\n"
    "変更を破棄して別の月へ移りますか？");

core::Date CoreDate(const QDate& date) { return core::Date{date.year(), date.month(), date.day()}; }
QDate QDateOf(const core::Date& date) { return QDate(date.year, date.month, date.day); }

}  // namespace

DiaryTab::DiaryTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetDiary"));
  createWidgets();
  createLayout();
  createConnections();
  RadioButtonModeClick(false);
}

std::vector<ColumnSpec> DiaryTab::Columns() {
  namespace C = core::DiaryCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QStringLiteral("日付"), Cell(C::Date), right, 106},
      {QStringLiteral("取引"), Cell(C::Kind), Qt::AlignHCenter, 38, true},
      {QStringLiteral("銘柄"), Cell(C::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(C::Exchange), left, 56},
      {QStringLiteral("単価"), Cell(C::Price), right, 50},
      {QStringLiteral("数量"), Cell(C::Quantity), right, 50},
      {QStringLiteral("手数料"), Cell(C::Charge), right, 50},
      {QStringLiteral("税"), Cell(C::Tax), right, 30},
      {QStringLiteral("金額"), Cell(C::Amount), right, 70},
      {QStringLiteral("保有"), Cell(C::Cost), right, 55},
      {QStringLiteral("損益"), Cell(C::Profit), right, 55},
      {QStringLiteral("コメント"), Cell(C::Comment), left, 70},
  };
}

void DiaryTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("SplitterDiary"));
  ui.PanelDiary = new QFrame(ui.Splitter);
  ui.PanelDiary->setObjectName(QStringLiteral("PanelDiary"));
  QWidget* panel = ui.PanelDiary;

  ui.DateTimePicker = MakeDatePicker(QStringLiteral("DateTimePicker"), panel);
  ui.RadioButtonMode0 = MakeRadio(QStringLiteral("日記"), "RadioButtonMode0", panel);
  ui.RadioButtonMode1 = MakeRadio(QStringLiteral("取引"), "RadioButtonMode1", panel);
  ui.RadioButtonMode0->setChecked(true);
  ui.CheckBoxInOut = MakeCheck(QStringLiteral("入出金"), "CheckBoxInOut", panel);
  ui.CheckBoxInOut->setToolTip(QStringLiteral("入出金"));

  ui.ComboBoxPlan = MakeCombo(QStringLiteral("ComboBoxPlan"), panel, false);
  ui.ComboBoxPlan->addItems({QStringLiteral("現物"), QStringLiteral("信用"), QStringLiteral("予定")});
  ui.ComboBoxPlan->setCurrentIndex(0);
  ui.CheckBoxKeep = MakeCheck(QStringLiteral("保有"), "CheckBoxKeep", panel);

  ui.GroupBoxKind1 = new QGroupBox(panel);
  ui.GroupBoxKind1->setObjectName(QStringLiteral("GroupBoxKind1"));
  ui.RadioButtonB = MakeRadio(QStringLiteral("買い"), "RadioButtonB", ui.GroupBoxKind1);
  ui.RadioButtonS = MakeRadio(QStringLiteral("売り"), "RadioButtonS", ui.GroupBoxKind1);
  ui.RadioButtonB->setChecked(true);
  SetTextColour(ui.RadioButtonB, kRed);
  SetTextColour(ui.RadioButtonS, kBlue);

  ui.GroupBoxKind2 = new QGroupBox(panel);
  ui.GroupBoxKind2->setObjectName(QStringLiteral("GroupBoxKind2"));
  ui.MemoHoldPrice = MakeAmountEdit(QStringLiteral("MemoHoldPrice"), ui.GroupBoxKind2, QStringLiteral("0"));
  LimitTypedLength(ui.MemoHoldPrice, kMemoLength);
  ui.LabelHoldKind = MakeLabel(QStringLiteral("買い"), ui.GroupBoxKind2, QStringLiteral("LabelHoldKind"));
  SetTextColour(ui.LabelHoldKind, kRed);
  ui.GroupBoxKind2->setVisible(false);

  ui.MaskEditStockCode = MakeCodeEdit(QStringLiteral("MaskEditStockCode"), panel);
  ui.ComboBoxStockCode = MakeCombo(QStringLiteral("ComboBoxStockCode"), panel, false);
  ui.ComboBoxStockCode->setMaxVisibleItems(15);
  ui.ComboBoxStockCode->setFixedWidth(18);
  ui.ComboBoxStockCode->view()->setMinimumWidth(207);
  ui.EditStockName = MakeTextEdit(QStringLiteral("EditStockName"), panel);
  ui.ComboBoxStockExchange = MakeCombo(QStringLiteral("ComboBoxStockExchange"), panel);
  FillBuiltInExchanges(ui.ComboBoxStockExchange);
  ui.EditStockUnit = MakeAmountEdit(QStringLiteral("EditStockUnit"), panel);

  ui.GroupBoxPrice = new QGroupBox(panel);
  ui.GroupBoxPrice->setObjectName(QStringLiteral("GroupBoxPrice"));
  QWidget* price = ui.GroupBoxPrice;
  ui.EditPrice = MakeAmountEdit(QStringLiteral("EditPrice"), price, QStringLiteral("0"));
  ui.UpDownPrice = new UpDownArrows(QStringLiteral("UpDownPrice"), price);
  ui.EditNum = MakeAmountEdit(QStringLiteral("EditNum"), price, QStringLiteral("0"));
  ui.UpDownNum = new UpDownArrows(QStringLiteral("UpDownNum"), price);
  ui.ComboBoxCharge = MakeCombo(QStringLiteral("ComboBoxCharge"), price);
  ui.ComboBoxCharge->lineEdit()->setAlignment(Qt::AlignRight);
  ui.CheckBoxChargeFix = MakeCheck(QStringLiteral("定額"), "CheckBoxChargeFix", price);
  ui.CheckBoxChargeFix->setToolTip(QStringLiteral("定額"));
  ui.EditTax = MakeAmountEdit(QStringLiteral("EditTax"), price, QStringLiteral("0"));
  ui.MemoPrice = MakeMemo(QStringLiteral("MemoPrice"), price);
  ui.RadioButtonIn = MakeRadio(QStringLiteral("入"), "RadioButtonIn", price);
  ui.RadioButtonOut = MakeRadio(QStringLiteral("出"), "RadioButtonOut", price);
  ui.RadioButtonIn->setChecked(true);
  ui.EditInOut = MakeAmountEdit(QStringLiteral("EditInOut"), price, QStringLiteral("0"));

  ui.RichEditDiary = MakeCommentBox(QStringLiteral("RichEditDiary"), panel);
  ui.ButtonDiaryAdd = new QPushButton(QStringLiteral("追加"), panel);
  ui.ButtonDiaryAdd->setObjectName(QStringLiteral("ButtonDiaryAdd"));
  ui.ButtonDiaryUpd = new QPushButton(QStringLiteral("更新"), panel);
  ui.ButtonDiaryUpd->setObjectName(QStringLiteral("ButtonDiaryUpd"));
  ui.ButtonDiaryDel = new QPushButton(QStringLiteral("削除"), panel);
  ui.ButtonDiaryDel->setObjectName(QStringLiteral("ButtonDiaryDel"));
  for (QPushButton* button : {ui.ButtonDiaryAdd, ui.ButtonDiaryUpd, ui.ButtonDiaryDel}) button->setEnabled(false);

  ui.ListViewDiary = MakeListView(QStringLiteral("ListViewDiary"), ui.Splitter);
  // One line per row: each day is its header, its trades and its end
  // marker, an empty line that closes the day's block.
  ui.Model = new LedgerModel(&books_.diary, Columns(), this);
  ui.ListViewDiary->setModel(ui.Model);
  ApplyColumns(ui.ListViewDiary, ui.Model->columns());
}

void DiaryTab::createLayout() {
  QWidget* panel = ui.PanelDiary;
  auto* modeBox = new QGroupBox(panel);
  auto* modeRow = new QHBoxLayout(modeBox);
  modeRow->setContentsMargins(6, 0, 6, 0);
  modeRow->addWidget(ui.RadioButtonMode0);
  modeRow->addWidget(ui.RadioButtonMode1);
  modeRow->addSpacing(6);
  modeRow->addWidget(ui.CheckBoxInOut);
  ui.RadioButtonMode0->setParent(modeBox);
  ui.RadioButtonMode1->setParent(modeBox);
  ui.CheckBoxInOut->setParent(modeBox);

  auto* kind1 = new QHBoxLayout(ui.GroupBoxKind1);
  kind1->setContentsMargins(6, 0, 6, 0);
  kind1->addWidget(ui.RadioButtonB);
  kind1->addWidget(ui.RadioButtonS);
  auto* kind2 = new QHBoxLayout(ui.GroupBoxKind2);
  kind2->setContentsMargins(4, 0, 4, 0);
  kind2->setSpacing(2);
  kind2->addWidget(ui.MemoHoldPrice, 1);
  kind2->addWidget(MakeLabel(QStringLiteral("円"), ui.GroupBoxKind2));
  kind2->addSpacing(4);
  kind2->addWidget(ui.LabelHoldKind);
  // The registration amount lies at the place of the side buttons.
  auto* kindStack = new QStackedLayout;
  kindStack->setStackingMode(QStackedLayout::StackAll);
  kindStack->addWidget(ui.GroupBoxKind2);
  kindStack->addWidget(ui.GroupBoxKind1);

  auto* typeRow = new QHBoxLayout;
  typeRow->setSpacing(4);
  typeRow->addWidget(ui.ComboBoxPlan);
  typeRow->addWidget(ui.CheckBoxKeep);
  typeRow->addLayout(kindStack, 1);

  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(4);
  dateRow->addWidget(ui.DateTimePicker);
  dateRow->addWidget(modeBox, 1);

  auto* stockRow = new QHBoxLayout;
  stockRow->setSpacing(3);
  stockRow->addWidget(MakeLabel(QStringLiteral("銘柄"), panel));
  stockRow->addWidget(ui.MaskEditStockCode);
  stockRow->addSpacing(-3);
  stockRow->addWidget(ui.ComboBoxStockCode);
  stockRow->addWidget(ui.EditStockName, 1);
  stockRow->addWidget(ui.ComboBoxStockExchange);
  ui.ComboBoxStockExchange->setMinimumContentsLength(6);
  ui.ComboBoxStockExchange->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  stockRow->addWidget(MakeLabel(QStringLiteral("単位"), panel));
  stockRow->addWidget(ui.EditStockUnit);
  ui.EditStockUnit->setFixedWidth(44);

  QWidget* price = ui.GroupBoxPrice;
  auto withArrows = [](QLineEdit* edit, UpDownArrows* arrows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit, 1);
    row->addWidget(arrows);
    return row;
  };
  auto* priceGrid = new QGridLayout(price);
  priceGrid->setContentsMargins(6, 2, 6, 2);
  priceGrid->setHorizontalSpacing(4);
  priceGrid->setVerticalSpacing(2);
  priceGrid->addWidget(MakeLabel(QStringLiteral("単価"), price), 0, 0);
  priceGrid->addLayout(withArrows(ui.EditPrice, ui.UpDownPrice), 0, 1);
  priceGrid->addWidget(MakeLabel(QStringLiteral("数量"), price), 0, 2);
  priceGrid->addLayout(withArrows(ui.EditNum, ui.UpDownNum), 0, 3);
  priceGrid->addWidget(MakeLabel(QStringLiteral("手数料"), price), 1, 0);
  auto* chargeRow = new QHBoxLayout;
  chargeRow->setSpacing(2);
  chargeRow->addWidget(ui.ComboBoxCharge, 1);
  chargeRow->addWidget(ui.CheckBoxChargeFix);
  priceGrid->addLayout(chargeRow, 1, 1);
  priceGrid->addWidget(MakeLabel(QStringLiteral("税"), price), 1, 2);
  priceGrid->addWidget(ui.EditTax, 1, 3);
  auto* inOutRow = new QHBoxLayout;
  inOutRow->setSpacing(4);
  inOutRow->addWidget(ui.RadioButtonIn);
  inOutRow->addWidget(ui.RadioButtonOut);
  priceGrid->addLayout(inOutRow, 2, 0, 1, 2);
  priceGrid->addWidget(ui.EditInOut, 2, 3);
  priceGrid->addWidget(MakeLabel(QStringLiteral("金額"), price), 3, 0);
  auto* amountRow = new QHBoxLayout;
  amountRow->setSpacing(2);
  amountRow->addWidget(ui.MemoPrice, 1);
  amountRow->addWidget(MakeLabel(QStringLiteral("円"), price));
  priceGrid->addLayout(amountRow, 3, 1, 1, 3);
  priceGrid->setColumnStretch(1, 3);
  priceGrid->setColumnStretch(3, 2);
  // The 入/出 row waits for the cash movement box.
  for (QWidget* w : {static_cast<QWidget*>(ui.RadioButtonIn), static_cast<QWidget*>(ui.RadioButtonOut),
                     static_cast<QWidget*>(ui.EditInOut)}) {
    w->setVisible(false);
  }

  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  left->addLayout(dateRow);
  left->addLayout(typeRow);
  left->addLayout(stockRow);
  left->addWidget(ui.GroupBoxPrice);
  left->addStretch(1);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(ui.ButtonDiaryAdd);
  buttons->addWidget(ui.ButtonDiaryUpd);
  buttons->addWidget(ui.ButtonDiaryDel);
  buttons->addStretch(1);
  for (QPushButton* button : {ui.ButtonDiaryAdd, ui.ButtonDiaryUpd, ui.ButtonDiaryDel}) button->setFixedWidth(56);

  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 3, 4, 3);
  row->setSpacing(6);
  row->addLayout(left, 3);
  row->addWidget(ui.RichEditDiary, 2);
  row->addLayout(buttons);

  PlacePanelOverList(this, ui.Splitter, qMax(kPanelHeight, panel->sizeHint().height()));
}

void DiaryTab::createConnections() {
  connect(ui.DateTimePicker, &QDateEdit::dateChanged, this, [this] { DateTimePickerChange(true); });
  connect(ui.RadioButtonMode0, &QRadioButton::clicked, this, [this] { RadioButtonModeClick(true); });
  connect(ui.RadioButtonMode1, &QRadioButton::clicked, this, [this] { RadioButtonModeClick(true); });
  connect(ui.CheckBoxInOut, &QCheckBox::clicked, this, [this] { CheckBoxInOutClick(true); });
  connect(ui.CheckBoxChargeFix, &QCheckBox::clicked, this, [this] { CheckBoxChargeFixClick(true); });
  connect(ui.ComboBoxPlan, &QComboBox::currentIndexChanged, this, [this] { ComboBoxPlanChange(true); });
  connect(ui.CheckBoxKeep, &QCheckBox::clicked, this, &DiaryTab::CheckBoxKeepClick);

  auto price = [this] { EditPriceChange(true); };
  connect(ui.EditPrice, &QLineEdit::textChanged, this, price);
  connect(ui.EditNum, &QLineEdit::textChanged, this, price);
  connect(ui.RadioButtonB, &QRadioButton::clicked, this, price);
  connect(ui.RadioButtonS, &QRadioButton::clicked, this, price);
  auto cash = [this] { EditPriceChange2(true); };
  connect(ui.EditInOut, &QLineEdit::textChanged, this, cash);
  connect(ui.RadioButtonIn, &QRadioButton::clicked, this, cash);
  connect(ui.RadioButtonOut, &QRadioButton::clicked, this, cash);
  connect(ui.ComboBoxCharge, &QComboBox::editTextChanged, this, [this] { ComboBoxChargeChange(true); });
  connect(ui.ComboBoxCharge, &QComboBox::activated, this, &DiaryTab::ComboBoxChargeSelect);
  connect(ui.EditTax, &QLineEdit::textChanged, this, [this] { ComboBoxChargeChange(true); });

  for (QLineEdit* field : {ui.EditPrice, ui.EditNum, ui.EditTax, ui.EditInOut, ui.EditStockUnit, ui.MemoHoldPrice}) {
    InstallNumericKeyFilter(field, setupModeQuery());
  }
  for (QLineEdit* field : {ui.EditPrice, ui.EditNum, ui.EditTax, ui.EditInOut, ui.MemoHoldPrice})
    NormaliseOnExit(field);
  NormaliseOnExit(ui.ComboBoxCharge, [this] { PushRecentCharge(ui.ComboBoxCharge, ui.ComboBoxCharge->currentText()); });
  ConnectStepper(ui.UpDownPrice, ui.EditPrice, [] { return core::Amount{1}; });
  ConnectStepper(ui.UpDownNum, ui.EditNum, [this] { return unitStep_; });

  // The stock: looked up on leaving the code, written back on leaving its details.
  ui.MaskEditStockCode->installEventFilter(this);
  for (QWidget* detail : {static_cast<QWidget*>(ui.EditStockName), static_cast<QWidget*>(ui.EditStockUnit),
                          static_cast<QWidget*>(ui.ComboBoxStockExchange)}) {
    detail->installEventFilter(this);
  }
  if (ui.ComboBoxStockExchange->lineEdit()) ui.ComboBoxStockExchange->lineEdit()->installEventFilter(this);
  auto update = [this] { cmnUpdate(true); };
  connect(ui.MaskEditStockCode, &QLineEdit::textEdited, this, update);
  connect(ui.EditStockName, &QLineEdit::textChanged, this, update);
  connect(ui.MemoHoldPrice, &QLineEdit::textEdited, this, update);
  connect(ui.ComboBoxStockExchange, &QComboBox::editTextChanged, this, [this] {
    exchangeChanged_ = true;
    cmnUpdate(true);
  });
  connect(ui.EditStockUnit, &QLineEdit::textChanged, this, &DiaryTab::EditStockUnitChange);
  ConnectRecentCodes(ui.ComboBoxStockCode, ui.MaskEditStockCode, ui.EditStockName, [this] { MaskEditStockCodeExit(); });
  connect(ui.RichEditDiary, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) cmnUpdate0(true);
  });

  connect(ui.ButtonDiaryAdd, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryAddClick);
  connect(ui.ButtonDiaryUpd, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryUpdClick);
  connect(ui.ButtonDiaryDel, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryDelClick);
  connect(ui.ListViewDiary->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &DiaryTab::ListViewDiarySelectItem);
  connect(ui.ListViewDiary, &QTreeView::doubleClicked, this, &DiaryTab::ListViewDiaryDblClick);
  ui.ListViewDiary->installEventFilter(this);
}

// ---------------------------------------------------------------------------
// Settings

void DiaryTab::applySettings(const core::Settings& settings) {
  ApplySplit(ui.Splitter, settings.split1);
  ApplyWidths(ui.ListViewDiary, settings.diaryColumns, 0);
  ui.CheckBoxChargeFix->setChecked(settings.chargeFix);
  CheckBoxChargeFixClick(false);
  ApplyExchanges(ui.ComboBoxStockExchange, settings.exchanges);
  {
    // The trade type is restored without its change handler.
    const QSignalBlocker blocker(ui.ComboBoxPlan);
    if (settings.plan >= 0 && settings.plan < ui.ComboBoxPlan->count()) ui.ComboBoxPlan->setCurrentIndex(settings.plan);
  }
  SetComboItems(ui.ComboBoxStockCode, settings.recentDiaryStocks);
  SetComboItems(ui.ComboBoxCharge, settings.recentCharges);
  ui.ComboBoxCharge->setEditText(ToQString(settings.chargeSelect));
  RadioButtonModeClick(false);
}

void DiaryTab::collectSettings(core::Settings& settings) const {
  settings.split1 = CollectSplit(ui.Splitter);
  CollectWidths(ui.ListViewDiary, settings.diaryColumns, 0);
  settings.chargeFix = ui.CheckBoxChargeFix->isChecked();
  settings.plan = ui.ComboBoxPlan->currentIndex();
  settings.recentDiaryStocks = ComboItems(ui.ComboBoxStockCode);
  settings.recentCharges = ComboItems(ui.ComboBoxCharge);
  settings.chargeSelect = ToSjis(ui.ComboBoxCharge->currentText());
}

void DiaryTab::applyOldMode(bool /*on*/) { RadioButtonModeClick(false); }

// ---------------------------------------------------------------------------
// The shown month

std::string DiaryTab::pickedDateText() const { return core::DateText(CoreDate(ui.DateTimePicker->date())); }

void DiaryTab::setStartDate(const QDate& date) {
  {
    const QSignalBlocker blocker(ui.DateTimePicker);
    ui.DateTimePicker->setDate(date);
  }
  books_.monthKey = core::MonthKeyOf(pickedDateText());
  DateTimePickerChange(false);
}

std::optional<core::FileError> DiaryTab::LoadDiaryMonth(const std::string& monthKey) {
  auto error = core::LoadDiaryInto(books_, monthKey);
  if (error) return error;
  ui.Model->setTable(&books_.diary);
  return std::nullopt;
}

void DiaryTab::syncList() { ui.Model->sync(); }

void DiaryTab::readDayCounter(const std::string& dateText) {
  const auto header = core::FindDayHeader(books_.diary, dateText);
  dayCounter_ = header ? core::DayCounterValue(books_.diary[*header].key) : 0;
}

void DiaryTab::restorePickedDate() {
  const auto shown = core::ParseDateText(lastShownDate_);
  if (!shown) return;
  const QSignalBlocker blocker(ui.DateTimePicker);
  ui.DateTimePicker->setDate(QDateOf(*shown));
}

bool DiaryTab::switchToMonth(const std::string& monthKey) {
  if (monthKey == books_.monthKey) return true;
  // The shown month is saved before another is loaded; if it cannot be,
  // the month stays on screen with its changes. A month whose file could
  // not be read is never written over: its changes go only if the user
  // says so.
  if (books_.unsaved.diary && services_) {
    if (books_.unreadable.diary) {
      if (!services_->prompter().askYesNo(services_->window(), kUnsavableMonthQuestion)) return false;
    } else if (!services_->saveLedger(core::Ledger::Diary)) {
      return false;
    }
  }
  if (auto error = LoadDiaryMonth(monthKey)) {
    if (services_) {
      services_->prompter().showError(services_->window(),
                                      QStringLiteral("取引日記を読み込めませんでした。\n") + DescribeFileError(*error));
    }
    return false;
  }
  return true;
}

void DiaryTab::DateTimePickerChange(bool fromUser) {
  const std::string dateText = pickedDateText();
  if (!fromUser) {
    lastShownDate_ = dateText;
    readDayCounter(dateText);
    return;
  }
  if (dateText == lastShownDate_) return;
  const std::string monthKey = core::MonthKeyOf(dateText);
  if (!switchToMonth(monthKey)) {
    restorePickedDate();
    return;
  }
  lastShownDate_ = dateText;
  readDayCounter(dateText);

  const auto header = core::FindDayHeader(books_.diary, dateText);
  ui.ListViewDiary->selectionModel()->clearSelection();
  if (!tradeMode()) {
    ui.RadioButtonMode1->setEnabled(header.has_value());
    ui.ButtonDiaryAdd->setEnabled(!header);
    if (header) {
      selectRow(*header, true);
    } else {
      ui.RichEditDiary->setFocus();
    }
  } else {
    ui.ButtonDiaryAdd->setEnabled(true);
    if (header) {
      selectRow(*header, true);
    } else {
      ui.RadioButtonMode1->setEnabled(false);
      ui.RadioButtonMode0->setChecked(true);
      RadioButtonModeClick(false);
      ui.RichEditDiary->setFocus();
    }
  }
  ui.ButtonDiaryUpd->setEnabled(false);
  selectedRow_ = -1;
  loadedRow_ = -1;
  edited_ = false;
}

std::optional<std::string> DiaryTab::EnsureDiaryDay(const QDateEdit* datePicker) {
  const std::string dateText = core::DateText(CoreDate(datePicker->date()));
  const std::string monthKey = core::MonthKeyOf(dateText);
  if (!switchToMonth(monthKey)) return std::nullopt;
  if (core::EnsureDayHeader(books_, dateText)) {
    ui.ButtonDiaryAdd->setEnabled(false);
    changed(false);
  }
  return dateText;
}

void DiaryTab::selectRow(std::size_t tableIndex, bool focusList) {
  const auto viewRow = ui.Model->viewRow(tableIndex);
  if (!viewRow) return;
  const QModelIndex index = ui.Model->index(*viewRow, 0);
  ui.ListViewDiary->selectionModel()->setCurrentIndex(index,
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  // The day's block is shown from its header.
  if (ui.Model->rowCount() > 0) ui.ListViewDiary->scrollTo(ui.Model->index(ui.Model->rowCount() - 1, 0));
  ui.ListViewDiary->scrollTo(index);
  if (focusList) ui.ListViewDiary->setFocus();
}

void DiaryTab::showWrittenRow(std::size_t index, bool load) {
  ui.ButtonDiaryDel->setEnabled(false);
  selectedRow_ = -1;
  loadedRow_ = -1;
  loadOnSelect_ = load;
  lastSelected_ = -1;
  selectRow(index, true);
  loadOnSelect_ = false;
  clearMarks();
}

void DiaryTab::showStartDay() {
  if (ui.Model->rowCount() == 0) return;
  ui.ListViewDiary->scrollTo(ui.Model->index(ui.Model->rowCount() - 1, 0));
  if (const auto header = core::FindDayHeader(books_.diary, pickedDateText())) {
    if (const auto viewRow = ui.Model->viewRow(*header)) ui.ListViewDiary->scrollTo(ui.Model->index(*viewRow, 0));
  }
}

// ---------------------------------------------------------------------------
// The panel's modes

namespace {

constexpr int kPlanCash = 0;
constexpr int kPlanMargin = 1;
constexpr int kPlanPlanned = 2;

}  // namespace

bool DiaryTab::tradeMode() const { return ui.RadioButtonMode1->isChecked(); }

int DiaryTab::planIndex() const { return ui.ComboBoxPlan->currentIndex(); }

void DiaryTab::RadioButtonModeClick(bool user) {
  const bool trade = tradeMode();
  const bool stockFields = trade && !ui.CheckBoxInOut->isChecked();
  for (QWidget* field : {static_cast<QWidget*>(ui.MaskEditStockCode), static_cast<QWidget*>(ui.ComboBoxStockCode),
                         static_cast<QWidget*>(ui.ComboBoxStockExchange), static_cast<QWidget*>(ui.EditStockUnit),
                         static_cast<QWidget*>(ui.EditStockName), static_cast<QWidget*>(ui.EditPrice),
                         static_cast<QWidget*>(ui.UpDownPrice), static_cast<QWidget*>(ui.EditNum),
                         static_cast<QWidget*>(ui.UpDownNum)}) {
    SetFieldEnabled(field, stockFields);
  }
  ui.CheckBoxInOut->setEnabled(trade);
  CheckBoxChargeFixClick(false);
  ui.MemoPrice->setEnabled(trade);
  SetFieldEnabled(ui.EditTax, trade);
  SetFieldEnabled(ui.EditInOut, trade);
  ui.RadioButtonIn->setEnabled(trade);
  ui.RadioButtonOut->setEnabled(trade);
  const int plan = planIndex();
  ui.CheckBoxKeep->setEnabled(trade && plan != kPlanPlanned);
  ui.RadioButtonB->setEnabled(trade);
  ui.ComboBoxPlan->setEnabled(trade);
  if (services_ && services_->oldMode()) {
    ui.RadioButtonS->setEnabled(trade);
  } else {
    ui.RadioButtonS->setEnabled(trade && plan != kPlanCash);
    // A cash sell is entered through the holdings tab; a loaded one keeps
    // its side.
    if (plan == kPlanCash && !loading_) ui.RadioButtonB->setChecked(true);
  }
  ui.GroupBoxKind2->setVisible(ui.CheckBoxKeep->isEnabled() && trade && ui.CheckBoxKeep->isChecked());
  ui.GroupBoxKind1->setVisible(!ui.GroupBoxKind2->isVisible());
  if (trade) {
    if (stockFields) {
      EditPriceChange(false);
    } else {
      EditPriceChange2(false);
    }
    ui.RadioButtonMode1->setEnabled(true);
    ui.ButtonDiaryAdd->setEnabled(true);
  } else {
    // Trades can be entered for a day once its header exists.
    const auto header = core::FindDayHeader(books_.diary, pickedDateText());
    ui.RadioButtonMode1->setEnabled(header.has_value());
    ui.ButtonDiaryAdd->setEnabled(!header);
    if (header && !loading_) selectRow(*header, false);
  }
  cmnUpdate(user);
}

void DiaryTab::CheckBoxInOutClick(bool user) {
  const bool inOut = ui.CheckBoxInOut->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(ui.RadioButtonIn), static_cast<QWidget*>(ui.RadioButtonOut),
                     static_cast<QWidget*>(ui.EditInOut)}) {
    w->setVisible(inOut);
  }
  RadioButtonModeClick(user);
}

void DiaryTab::CheckBoxChargeFixClick(bool user) {
  ui.CheckBoxChargeFix->setEnabled(true);
  bool chargeEnabled = false;
  if (!tradeMode()) {
    // The day's flat charge is entered on its header.
    chargeEnabled = ui.CheckBoxChargeFix->isChecked();
  } else if (ui.CheckBoxInOut->isChecked()) {
    chargeEnabled = true;
    ui.CheckBoxChargeFix->setEnabled(false);
  } else {
    // Under a flat-rate plan a trade carries no charge of its own.
    chargeEnabled = !ui.CheckBoxChargeFix->isChecked();
  }
  SetFieldEnabled(ui.ComboBoxCharge, chargeEnabled);
  if (!user) return;
  if (tradeMode()) {
    if (ui.CheckBoxInOut->isChecked()) {
      EditPriceChange2(false);
    } else {
      EditPriceChange(false);
    }
  }
  cmnUpdate(user);
}

void DiaryTab::ComboBoxPlanChange(bool user) {
  const int plan = planIndex();
  const bool trade = tradeMode();
  if ((services_ && services_->oldMode()) || plan != kPlanCash) {
    ui.RadioButtonS->setEnabled(trade);
  } else {
    ui.RadioButtonB->setChecked(true);
    ui.RadioButtonS->setEnabled(false);
  }
  auto keepAs = [this](bool enabled, const QString& caption) {
    ui.CheckBoxKeep->setEnabled(enabled);
    if (!caption.isEmpty()) ui.CheckBoxKeep->setText(caption);
  };
  auto forgetLoadedRow = [this] {
    ui.ButtonDiaryUpd->setEnabled(false);
    loadedRow_ = -1;
  };
  const QString cashCaption = QStringLiteral("保有");
  const QString marginCaption = QStringLiteral("建玉");
  if (plan == kPlanPlanned) {
    keepAs(false, QString());
    // A loaded margin row cannot become a plan.
    if (user && loadedIsMargin_) forgetLoadedRow();
  } else if (plan == kPlanCash) {
    keepAs(trade, cashCaption);
    if (user && loadedIsMargin_) forgetLoadedRow();
    if (!user) EditPriceChange(false);
  } else {
    keepAs(trade, marginCaption);
    // A loaded cash row cannot become a margin trade.
    if (user && !loadedIsMargin_) forgetLoadedRow();
  }
  ui.GroupBoxKind2->setVisible(ui.CheckBoxKeep->isEnabled() && trade && ui.CheckBoxKeep->isChecked());
  ui.GroupBoxKind1->setVisible(!ui.GroupBoxKind2->isVisible());
  if (user) EditPriceChange(false);
  cmnUpdate(user);
}

void DiaryTab::CheckBoxKeepClick() {
  ui.GroupBoxKind2->setVisible(ui.CheckBoxKeep->isChecked());
  ui.GroupBoxKind1->setVisible(!ui.GroupBoxKind2->isVisible());
  EditPriceChange(false);
  cmnUpdate(true);
}

void DiaryTab::EditPriceChange(bool user) {
  const bool buy = ui.RadioButtonB->isChecked();
  if (!ui.CheckBoxInOut->isChecked() && !ui.CheckBoxKeep->isChecked() && planIndex() == kPlanCash && tradeMode()) {
    // The holding limit: a trade that closes shares of a holding cannot close more than it holds.
    const std::string code = StockCodeOf(ui.MaskEditStockCode);
    const char side = buy ? '1' : '2';
    const bool rowSelected = selectedRow_ >= 0 && static_cast<std::size_t>(selectedRow_) < books_.diary.size();
    core::Amount selectedClosingShares = 0;
    if (rowSelected) {
      // Changing a row that closes shares of this holding first gives them back.
      const core::LedgerRow& row = books_.diary[static_cast<std::size_t>(selectedRow_)];
      if (core::KindClassOf(row.key) == '3' && core::KindSideOf(row.key) == side && core::StockCodeOf(row) == code) {
        selectedClosingShares = core::ParseAmount(row.cell(core::DiaryCol::Quantity));
      }
    }
    const core::HoldingLimit limit = core::CheckHoldingLimit(books_.holdings, code, side, AmountOf(ui.EditNum),
                                                             loading_, rowSelected, selectedClosingShares);
    if (limit.quantity) {
      const QSignalBlocker blocker(ui.EditNum);
      ui.EditNum->setText(AmountText(*limit.quantity));
    }
    ui.ButtonDiaryAdd->setEnabled(limit.addEnabled);
  }
  const core::Amount amount = tradeAmount();
  ui.LabelHoldKind->setText(buy ? QStringLiteral("買い") : QStringLiteral("売り"));
  SetTextColour(ui.LabelHoldKind, buy ? kRed : kBlue);
  ui.MemoPrice->setText(AmountText(amount));
  if (!ui.CheckBoxKeep->isChecked()) {
    // The registration amount starts from the trade amount.
    const QSignalBlocker blocker(ui.MemoHoldPrice);
    ui.MemoHoldPrice->setText(ui.MemoPrice->text());
  }
  cmnUpdate(user);
}

void DiaryTab::EditPriceChange2(bool user) {
  ui.MemoPrice->setText(AmountText(cashMovementAmount()));
  cmnUpdate(user);
}

core::Amount DiaryTab::tradeAmount() const {
  return core::TradeAmount(AmountOf(ui.EditPrice), AmountOf(ui.EditNum), AmountOf(ui.ComboBoxCharge),
                           AmountOf(ui.EditTax), ui.RadioButtonB->isChecked(), ui.ComboBoxCharge->isEnabled());
}

core::Amount DiaryTab::cashMovementAmount() const {
  return core::CashMovementAmount(AmountOf(ui.ComboBoxCharge), AmountOf(ui.EditTax), AmountOf(ui.EditInOut),
                                  ui.RadioButtonOut->isChecked());
}

void DiaryTab::ComboBoxChargeChange(bool user) {
  if (!tradeMode()) {
    cmnUpdate(user);
  } else if (ui.CheckBoxInOut->isChecked()) {
    EditPriceChange2(user);
  } else {
    EditPriceChange(user);
  }
}

void DiaryTab::ComboBoxChargeSelect() {
  PushRecentCharge(ui.ComboBoxCharge, ui.ComboBoxCharge->currentText());
  ComboBoxChargeChange(true);
}

void DiaryTab::setCharge(const QString& text) {
  const QSignalBlocker blocker(ui.ComboBoxCharge);
  ui.ComboBoxCharge->setEditText(text);
}

// ---------------------------------------------------------------------------
// The stock

void DiaryTab::MaskEditStockCodeExit() {
  const std::string code = StockCodeOf(ui.MaskEditStockCode);
  if (code == core::kNoStockCode) return;
  const core::StockDetails details = core::LookUpStock(books_, code);
  ShowStockDetails(stockFields(), details);
  exchangeChanged_ = false;
  PushRecentStockLine(ui.ComboBoxStockCode, code, details.name);
}

void DiaryTab::EditStockExit() {
  if (!ui.EditStockName->isModified() && !ui.EditStockUnit->isModified() && !exchangeChanged_) return;
  if (StockCodeOf(ui.MaskEditStockCode) == core::kNoStockCode) return;
  if (StoreTypedStockDetails(stockFields(), books_, services_)) exchangeChanged_ = false;
}

StockFieldSet DiaryTab::stockFields() const {
  return {ui.MaskEditStockCode, ui.EditStockName, ui.ComboBoxStockExchange, ui.EditStockUnit};
}

void DiaryTab::EditStockUnitChange() {
  // A unit of 0 (or none) steps by single shares and rounds nothing.
  unitStep_ = core::UnitStep(ToSjis(ui.EditStockUnit->text()));
  // A unit rounds the quantity down to whole lots, written as plain digits.
  if (!ui.EditStockUnit->text().isEmpty() && !loading_) {
    const QString rounded = ToQString(core::RoundQuantityToStep(ToSjis(ui.EditNum->text()), unitStep_));
    if (rounded != ui.EditNum->text()) ui.EditNum->setText(rounded);
  }
  cmnUpdate(true);
}

bool DiaryTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == ui.MaskEditStockCode) {
      MaskEditStockCodeExit();
    } else if (watched == ui.EditStockName || watched == ui.EditStockUnit || watched == ui.ComboBoxStockExchange ||
               watched == ui.ComboBoxStockExchange->lineEdit()) {
      EditStockExit();
    }
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == ui.MaskEditStockCode && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      ui.EditStockName->setFocus();
      return true;
    }
    if (watched == ui.ListViewDiary && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
      jumpToDay(key->key() == Qt::Key_Left ? -1 : 1);
      return true;
    }
  }
  return TabBase::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The common change handlers

void DiaryTab::cmnUpdate(bool user) {
  if (loading_) return;
  if (user && loadedIsMargin_) {
    // A margin row can only have its text changed.
    ui.ButtonDiaryUpd->setEnabled(false);
    loadedRow_ = -1;
    return;
  }
  if (user) tradeFieldsEdited_ = true;
  cmnUpdate0(user);
}

void DiaryTab::cmnUpdate0(bool user) {
  if (loading_) return;
  const auto selected = selectedIndex();
  if (user) {
    if (loadedRow_ < 0) return;
    edited_ = true;
    if (!selected) return;
  }
  ui.ButtonDiaryUpd->setEnabled(false);
  if (!selected || static_cast<int>(*selected) != loadedRow_) return;
  const core::LedgerRow& row = books_.diary[*selected];
  if (core::IsDayEndKey(row.key)) return;
  if (tradeMode() == core::IsDayHeaderKey(row.key)) return;
  if (row.key.substr(0, core::DiaryKey::DateLength) != pickedDateText()) return;
  if (tradeFieldsEdited_ && !ui.RadioButtonS->isEnabled() && ui.RadioButtonS->isChecked()) {
    ui.RadioButtonB->setChecked(true);
  }
  ui.ButtonDiaryUpd->setEnabled(!books_.diary.empty());
}

void DiaryTab::applyInitialSetupMode(bool /*on*/) {}

// ---------------------------------------------------------------------------
// Recording

core::DiaryEntry DiaryTab::entryOfPanel() const {
  core::DiaryEntry e;
  e.mode = !tradeMode()
               ? core::DiaryEntry::Mode::Note
               : (ui.CheckBoxInOut->isChecked() ? core::DiaryEntry::Mode::CashMovement : core::DiaryEntry::Mode::Trade);
  e.date = pickedDateText();
  e.comment = CommentOf(ui.RichEditDiary);
  e.chargeText = ToSjis(ui.ComboBoxCharge->currentText());
  e.chargeEnabled = ui.ComboBoxCharge->isEnabled();
  e.taxText = ToSjis(ui.EditTax->text());
  // The amount is worked out again from the fields, never read off its
  // display.
  e.amountText =
      core::FormatAmount(e.mode == core::DiaryEntry::Mode::CashMovement ? cashMovementAmount() : tradeAmount());
  e.deposit = ui.RadioButtonIn->isChecked();
  e.inOutText = ToSjis(ui.EditInOut->text());
  e.type = static_cast<core::DiaryEntry::Type>(std::clamp(planIndex(), 0, 2));
  e.buy = ui.RadioButtonB->isChecked();
  e.registration = ui.CheckBoxKeep->isEnabled() && ui.CheckBoxKeep->isChecked();
  e.registrationBuy = ui.LabelHoldKind->text() == QStringLiteral("買い");
  e.registrationText = ToSjis(ui.MemoHoldPrice->text());
  e.code = StockCodeOf(ui.MaskEditStockCode);
  e.name = ToSjis(ui.EditStockName->text());
  e.exchange = ToSjis(ui.ComboBoxStockExchange->currentText());
  e.unitText = ToSjis(ui.EditStockUnit->text());
  e.priceText = ToSjis(ui.EditPrice->text());
  e.quantityText = ToSjis(ui.EditNum->text());
  return e;
}

void DiaryTab::clearMarks() {
  tradeFieldsEdited_ = false;
  edited_ = false;
}

void DiaryTab::changed(bool otherLedgers) {
  if (!services_) {
    ui.Model->sync();
    return;
  }
  if (otherLedgers) services_->resetOtherPanels();
  services_->ledgersChanged();
}

void DiaryTab::showTouchedRows(const core::Recorded& recorded) {
  if (!services_) return;
  if (recorded.holdingRestored) services_->holdingRestored();
  if (recorded.holdingKey) services_->showLedgerRow(core::Ledger::Holdings, *recorded.holdingKey);
  if (recorded.positionKey) services_->showLedgerRow(core::Ledger::Positions, *recorded.positionKey);
  if (recorded.stockCode) services_->showLedgerRow(core::Ledger::Stocks, *recorded.stockCode);
}

void DiaryTab::ButtonDiaryAddClick() {
  const bool trade = tradeMode();
  const bool inOut = ui.CheckBoxInOut->isChecked();
  // A trade needs a stock.
  if (trade && !inOut && ui.MaskEditStockCode->displayText().trimmed().isEmpty()) return;
  const core::DiaryEntry entry = entryOfPanel();
  const auto recorded = core::AddDiaryRow(books_, entry, dayCounter_);
  if (!recorded) return;
  changed(recorded->otherLedgers);
  showTouchedRows(*recorded);
  if (!trade) {
    ui.ButtonDiaryAdd->setEnabled(false);
    {
      const QSignalBlocker blocker(ui.RichEditDiary);
      ui.RichEditDiary->clear();
    }
    ui.RadioButtonMode1->setEnabled(true);
    ui.RadioButtonMode1->setChecked(true);
    RadioButtonModeClick(false);
  } else if (!inOut && entry.type == core::DiaryEntry::Type::Cash && !entry.registration) {
    EditPriceChange(false);  // the holding limit follows the new holdings
  }
  ui.ButtonDiaryDel->setEnabled(true);
  // The new row is the one 削除 acts on (row indices moved with the insertion).
  selectedRow_ = static_cast<int>(recorded->index);
  loadedRow_ = -1;
  loadOnSelect_ = trade;
  lastSelected_ = -1;
  selectRow(recorded->index, true);
  loadOnSelect_ = false;
  clearMarks();
}

void DiaryTab::ButtonDiaryUpdClick() {
  const auto selected = selectedIndex();
  if (!selected || loadedRow_ < 0) return;
  const core::DiaryEntry entry = entryOfPanel();
  const auto recorded =
      core::UpdateDiaryRow(books_, static_cast<std::size_t>(loadedRow_), entry, tradeFieldsEdited_, dayCounter_);
  if (!recorded) return;
  changed(recorded->otherLedgers);
  showTouchedRows(*recorded);
  if (recorded->tradeBranch && entry.type == core::DiaryEntry::Type::Cash) EditPriceChange(false);
  ui.ListViewDiary->selectionModel()->clearSelection();
  selectedRow_ = static_cast<int>(recorded->index);
  loadedRow_ = static_cast<int>(recorded->index);
  loadOnSelect_ = recorded->tradeBranch;
  lastSelected_ = -1;
  selectRow(recorded->index, true);
  loadOnSelect_ = false;
  ui.ButtonDiaryUpd->setEnabled(false);
  clearMarks();
}

void DiaryTab::ButtonDiaryDelClick() {
  if (selectedRow_ < 0 || static_cast<std::size_t>(selectedRow_) >= books_.diary.size()) return;
  if (!confirmDelete()) return;
  const core::UndoResult undo =
      core::DeleteDiaryRow(books_, static_cast<std::size_t>(selectedRow_), ToSjis(ui.EditStockUnit->text()));
  changed(true);
  if (services_ && undo.holdingRestored) services_->holdingRestored();
  if (services_ && undo.positionIndex) {
    services_->showLedgerRow(core::Ledger::Positions, books_.positions[*undo.positionIndex].key);
  }
  ui.ButtonDiaryAdd->setEnabled(true);
  ui.ButtonDiaryUpd->setEnabled(false);
  loadedRow_ = -1;
  ui.ButtonDiaryDel->setEnabled(false);
  selectedRow_ = -1;
  clearMarks();
  ui.RadioButtonMode0->setChecked(true);
  RadioButtonModeClick(false);
}

// ---------------------------------------------------------------------------
// The list

std::optional<std::size_t> DiaryTab::selectedIndex() const {
  const QModelIndexList rows = ui.ListViewDiary->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return ui.Model->tableIndex(rows.front().row());
}

void DiaryTab::ListViewDiarySelectItem() {
  const auto selected = selectedIndex();
  if (!selected) return;  // a deselection
  const core::LedgerRow& row = books_.diary[*selected];
  ui.ButtonDiaryDel->setEnabled(false);
  if (static_cast<int>(*selected) == selectedRow_) {
    // A day can be deleted once it has no trades.
    const bool header = !row.cell(core::DiaryCol::Date).empty();
    ui.ButtonDiaryDel->setEnabled(header ? row.cell(core::DiaryCol::Kind).empty() : true);
  }
  if (static_cast<int>(*selected) == lastSelected_) {
    lastSelected_ = -1;
    return;
  }
  lastSelected_ = static_cast<int>(*selected);
  if (inSelect_) return;
  if (loadOnSelect_ || CurrentModifiers().shift) {
    inSelect_ = true;
    loadRow(*selected);
    inSelect_ = false;
  } else if (edited_) {
    cmnUpdate(false);
  }
}

void DiaryTab::ListViewDiaryDblClick() {
  if (const auto selected = selectedIndex()) loadRow(*selected);
}

void DiaryTab::jumpToDay(int direction) {
  const auto selected = selectedIndex();
  if (!selected) return;
  std::optional<std::size_t> found;
  if (direction < 0) {
    for (std::size_t i = *selected; i-- > 0;) {
      if (core::IsDayHeaderKey(books_.diary[i].key)) {
        found = i;
        break;
      }
    }
  } else {
    for (std::size_t i = *selected + 1; i < books_.diary.size(); ++i) {
      if (core::IsDayHeaderKey(books_.diary[i].key)) {
        found = i;
        break;
      }
    }
  }
  if (!found) return;
  loadOnSelect_ = true;
  const auto viewRow = ui.Model->viewRow(*found);
  if (viewRow) {
    const QModelIndex index = ui.Model->index(*viewRow, 0);
    ui.ListViewDiary->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The day comes to the top of the list.
    ui.ListViewDiary->scrollTo(index, QAbstractItemView::PositionAtTop);
  }
  loadOnSelect_ = false;
}

void DiaryTab::loadRow(std::size_t index) {
  if (index >= books_.diary.size()) return;
  const core::LedgerRow row = books_.diary[index];
  if (core::IsDayEndKey(row.key)) return;
  loading_ = true;
  loadedIsMargin_ = false;
  namespace C = core::DiaryCol;
  if (const auto date = core::ParseDateText(row.key.substr(0, core::DiaryKey::DateLength))) {
    const QSignalBlocker blocker(ui.DateTimePicker);
    ui.DateTimePicker->setDate(QDateOf(*date));
  }
  DateTimePickerChange(false);
  const bool header = core::IsDayHeaderKey(row.key);
  (header ? ui.RadioButtonMode0 : ui.RadioButtonMode1)->setChecked(true);
  const char kindClass = core::KindClassOf(row.key);
  const char kindSide = core::KindSideOf(row.key);
  if (header) {
    {
      const QSignalBlocker blocker(ui.CheckBoxInOut);
      ui.CheckBoxInOut->setChecked(false);
    }
    if (!row.cell(C::Charge).empty()) ui.CheckBoxChargeFix->setChecked(true);
    RadioButtonModeClick(false);
    if (ui.CheckBoxChargeFix->isChecked()) setCharge(ToQString(row.cell(C::Charge)));
    ui.ButtonDiaryAdd->setEnabled(false);
    ui.ButtonDiaryDel->setEnabled(row.cell(C::Kind).empty());
    selectedRow_ = static_cast<int>(index);
  } else if (kindClass == '7') {
    ui.CheckBoxInOut->setChecked(true);
    CheckBoxInOutClick(false);
    (kindSide == '1' ? ui.RadioButtonIn : ui.RadioButtonOut)->setChecked(true);
    setCharge(ToQString(row.cell(C::Charge)));
    ui.EditTax->setText(ToQString(row.cell(C::Tax)));
    ui.EditInOut->setText(ToQString(row.cell(C::Amount)));
    EditPriceChange2(false);
  } else {
    {
      const QSignalBlocker blocker(ui.CheckBoxInOut);
      ui.CheckBoxInOut->setChecked(false);
    }
    CheckBoxInOutClick(false);
    int plan = kPlanCash;
    const bool cashSide = kindSide == '1' || kindSide == '2';
    if (kindClass == '5') {
      ui.CheckBoxKeep->setChecked(true);
      plan = cashSide ? kPlanCash : kPlanMargin;
    } else {
      ui.CheckBoxKeep->setChecked(false);
      if (kindClass == '1') {
        plan = kPlanPlanned;
      } else if (cashSide) {
        plan = kPlanCash;
      } else {
        plan = kPlanMargin;
        loadedIsMargin_ = true;
      }
    }
    {
      const QSignalBlocker blocker(ui.ComboBoxPlan);
      ui.ComboBoxPlan->setCurrentIndex(plan);
    }
    ComboBoxPlanChange(false);
    const bool buy = core::IsBuySide(kindSide);
    (buy ? ui.RadioButtonB : ui.RadioButtonS)->setChecked(true);
    ui.LabelHoldKind->setText(buy ? QStringLiteral("買い") : QStringLiteral("売り"));
    SetTextColour(ui.LabelHoldKind, buy ? kRed : kBlue);
    ui.MaskEditStockCode->setText(ToQString(row.cell(C::Stock).substr(0, 4)));
    MaskEditStockCodeExit();
    ui.EditPrice->setText(ToQString(row.cell(C::Price)));
    ui.EditNum->setText(ToQString(row.cell(C::Quantity)));
    if (!row.cell(C::Charge).empty()) ui.CheckBoxChargeFix->setChecked(false);
    RadioButtonModeClick(false);
    if (!ui.CheckBoxChargeFix->isChecked()) setCharge(ToQString(row.cell(C::Charge)));
    ui.EditTax->setText(ToQString(row.cell(C::Tax)));
    ui.MemoPrice->setText(ToQString(row.cell(C::Amount)));
    ui.MemoHoldPrice->setText(ToQString(row.cell(C::Cost).empty() ? row.cell(C::Amount) : row.cell(C::Cost)));
    ui.GroupBoxKind2->setVisible(ui.CheckBoxKeep->isEnabled() && ui.CheckBoxKeep->isChecked());
    ui.GroupBoxKind1->setVisible(!ui.GroupBoxKind2->isVisible());
  }
  if (!header) {
    ui.ButtonDiaryAdd->setEnabled(true);
    bool deletable = true;
    if (loadedIsMargin_ && kindClass == '2') {
      const std::string code = row.cell(C::Stock).substr(0, 4);
      const core::Amount quantity = core::ParseAmount(row.cell(C::Quantity));
      if (kindSide == '7') {
        // A delivery take: the shares it brought must still be held.
        const auto holding = books_.holdings.find(code + "1");
        deletable = holding && core::ParseAmount(books_.holdings[*holding].cell(core::HoldCol::Shares)) >= quantity;
      } else {
        // A new position: it must still hold all of the row's shares.
        const std::string key = code + kindSide + row.key.substr(0, core::DiaryKey::DateLength) +
                                (row.key.size() > core::DiaryKey::Suffix ? row.key.substr(core::DiaryKey::Suffix) : "");
        const auto position = books_.positions.find(key);
        deletable = position && core::ParseAmount(books_.positions[*position].cell(core::LoanCol::Shares)) == quantity;
      }
    }
    ui.ButtonDiaryDel->setEnabled(deletable);
    selectedRow_ = deletable ? static_cast<int>(index) : -1;
  }
  {
    const QSignalBlocker blocker(ui.RichEditDiary);
    ShowComment(ui.RichEditDiary, row.cell(C::Comment));
  }
  loading_ = false;
  ui.ButtonDiaryUpd->setEnabled(false);
  loadedRow_ = static_cast<int>(index);
  clearMarks();
}

// 模擬 takes the trade being entered: a registration's side is that of its holding.
std::optional<core::SimSource> DiaryTab::simulationSource() const {
  core::SimSource source;
  source.kind = core::SimSource::Kind::Trade;
  source.code = StockCodeOf(ui.MaskEditStockCode);
  source.buy =
      ui.CheckBoxKeep->isChecked() ? ui.LabelHoldKind->text() == QStringLiteral("買い") : ui.RadioButtonB->isChecked();
  source.price = ToSjis(ui.EditPrice->text());
  source.quantity = ToSjis(ui.EditNum->text());
  return source;
}

}  // namespace tomvik::app
