#include "app/diary/diary_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedLayout>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/records/cp932_literals.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"

namespace tomvik::app {

namespace {

constexpr int kPanelHeight = 168;

int Cell(std::size_t column) { return static_cast<int>(column); }

core::Date CoreDate(const QDate& date) { return core::Date{date.year(), date.month(), date.day()}; }

QCheckBox* MakeCheck(const QString& text, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

}  // namespace

DiaryTab::DiaryTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetDiary"));
  createWidgets();
  createLayout();
  createConnections();
  RadioButtonModeClick();
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
  ui.MemoHoldPrice->setMaxLength(20);
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
  ui.ComboBoxStockExchange->addItems({QStringLiteral("東証１部"), QStringLiteral("東証２部"), QStringLiteral("マザーズ"),
                                      QStringLiteral("ジャスダック"), QStringLiteral("ヘラクレス")});
  ui.ComboBoxStockExchange->setCurrentIndex(-1);
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
  ui.Model = new LedgerModel(&books_.diary, Columns(), this);
  // Day end markers close a day's block in the ledger; they are no rows to look at.
  ui.Model->setRowFilter([](const core::LedgerRow& row) { return !core::IsDayEndKey(row.key); });
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

  ui.Splitter->setChildrenCollapsible(false);
  ui.Splitter->setStretchFactor(0, 0);
  ui.Splitter->setStretchFactor(1, 1);
  ui.Splitter->setSizes({qMax(kPanelHeight, panel->sizeHint().height()), 1000});

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->addWidget(ui.Splitter);
}

void DiaryTab::createConnections() {
  connect(ui.DateTimePicker, &QDateEdit::dateChanged, this, [this] { DateTimePickerChange(true); });
  connect(ui.RadioButtonMode0, &QRadioButton::clicked, this, &DiaryTab::RadioButtonModeClick);
  connect(ui.RadioButtonMode1, &QRadioButton::clicked, this, &DiaryTab::RadioButtonModeClick);
  connect(ui.CheckBoxInOut, &QCheckBox::clicked, this, &DiaryTab::CheckBoxInOutClick);
  connect(ui.CheckBoxChargeFix, &QCheckBox::clicked, this, &DiaryTab::CheckBoxChargeFixClick);
  connect(ui.CheckBoxKeep, &QCheckBox::toggled, this, [this] { RadioButtonModeClick(); });
}

// ---------------------------------------------------------------------------
// Settings

void DiaryTab::applySettings(const core::Settings& settings) {
  ApplySplit(ui.Splitter, settings.split1);
  ApplyWidths(ui.ListViewDiary, settings.diaryColumns, 0);
  ui.CheckBoxChargeFix->setChecked(settings.chargeFix);
  CheckBoxChargeFixClick();
  ApplyExchanges(ui.ComboBoxStockExchange, settings.exchanges);
  {
    // The trade type is restored without its change handler.
    const QSignalBlocker blocker(ui.ComboBoxPlan);
    if (settings.plan >= 0 && settings.plan < ui.ComboBoxPlan->count()) ui.ComboBoxPlan->setCurrentIndex(settings.plan);
  }
  SetComboItems(ui.ComboBoxStockCode, settings.recentDiaryStocks);
  SetComboItems(ui.ComboBoxCharge, settings.recentCharges);
  ui.ComboBoxCharge->setEditText(ToQString(settings.chargeSelect));
  RadioButtonModeClick();
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

void DiaryTab::applyOldMode(bool /*on*/) { RadioButtonModeClick(); }

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
  ui.DateTimePicker->setDate(QDate(shown->year, shown->month, shown->day));
}

bool DiaryTab::switchToMonth(const std::string& monthKey) {
  if (monthKey == books_.monthKey) return true;
  // The shown month is saved before another is loaded; if it cannot be,
  // the month stays on screen with its changes.
  if (books_.unsaved.diary && services_ && !services_->saveLedger(core::Ledger::Diary)) return false;
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
      RadioButtonModeClick();
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
  if (!core::FindDayHeader(books_.diary, dateText)) {
    books_.diary.insert(core::MakeDayHeader(dateText));
    books_.diary.insert(core::MakeDayEnd(dateText));
    ui.ButtonDiaryAdd->setEnabled(false);
    ui.Model->sync();
  }
  return dateText;
}

void DiaryTab::selectRow(std::size_t tableIndex, bool focusList) {
  const auto viewRow = ui.Model->viewRow(tableIndex);
  if (!viewRow) return;
  const QModelIndex index = ui.Model->index(*viewRow, 0);
  ui.ListViewDiary->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  // The day's block is shown from its header.
  if (ui.Model->rowCount() > 0) ui.ListViewDiary->scrollTo(ui.Model->index(ui.Model->rowCount() - 1, 0));
  ui.ListViewDiary->scrollTo(index);
  if (focusList) ui.ListViewDiary->setFocus();
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

bool DiaryTab::tradeMode() const { return ui.RadioButtonMode1->isChecked(); }

void DiaryTab::RadioButtonModeClick() {
  const bool trade = tradeMode();
  const bool stockFields = trade && !ui.CheckBoxInOut->isChecked();
  for (QWidget* field :
       {static_cast<QWidget*>(ui.MaskEditStockCode), static_cast<QWidget*>(ui.ComboBoxStockCode),
        static_cast<QWidget*>(ui.ComboBoxStockExchange), static_cast<QWidget*>(ui.EditStockUnit),
        static_cast<QWidget*>(ui.EditStockName), static_cast<QWidget*>(ui.EditPrice),
        static_cast<QWidget*>(ui.UpDownPrice), static_cast<QWidget*>(ui.EditNum), static_cast<QWidget*>(ui.UpDownNum)}) {
    SetFieldEnabled(field, stockFields);
  }
  ui.CheckBoxInOut->setEnabled(trade);
  CheckBoxChargeFixClick();
  ui.MemoPrice->setEnabled(trade);
  SetFieldEnabled(ui.EditTax, trade);
  SetFieldEnabled(ui.EditInOut, trade);
  ui.RadioButtonIn->setEnabled(trade);
  ui.RadioButtonOut->setEnabled(trade);
  const int plan = ui.ComboBoxPlan->currentIndex();
  ui.CheckBoxKeep->setEnabled(trade && plan != 2);
  ui.RadioButtonB->setEnabled(trade);
  ui.ComboBoxPlan->setEnabled(trade);
  const bool oldMode = services_ && services_->oldMode();
  if (oldMode) {
    ui.RadioButtonS->setEnabled(trade);
  } else {
    ui.RadioButtonS->setEnabled(trade && plan != 0);
    if (plan == 0) ui.RadioButtonB->setChecked(true);
  }
  ui.GroupBoxKind2->setVisible(ui.CheckBoxKeep->isEnabled() && trade && ui.CheckBoxKeep->isChecked());
  ui.GroupBoxKind1->setVisible(!ui.GroupBoxKind2->isVisible());
  if (trade) {
    ui.RadioButtonMode1->setEnabled(true);
    ui.ButtonDiaryAdd->setEnabled(true);
  } else {
    const auto header = core::FindDayHeader(books_.diary, pickedDateText());
    ui.RadioButtonMode1->setEnabled(header.has_value());
    ui.ButtonDiaryAdd->setEnabled(!header);
    if (header) selectRow(*header, false);
  }
}

void DiaryTab::CheckBoxInOutClick() {
  const bool inOut = ui.CheckBoxInOut->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(ui.RadioButtonIn), static_cast<QWidget*>(ui.RadioButtonOut),
                     static_cast<QWidget*>(ui.EditInOut)}) {
    w->setVisible(inOut);
  }
  RadioButtonModeClick();
}

void DiaryTab::CheckBoxChargeFixClick() {
  ui.CheckBoxChargeFix->setEnabled(true);
  bool chargeEnabled = false;
  if (!tradeMode()) {
    chargeEnabled = ui.CheckBoxChargeFix->isChecked();
  } else if (ui.CheckBoxInOut->isChecked()) {
    chargeEnabled = true;
    ui.CheckBoxChargeFix->setEnabled(false);
  } else {
    chargeEnabled = !ui.CheckBoxChargeFix->isChecked();
  }
  SetFieldEnabled(ui.ComboBoxCharge, chargeEnabled);
}

}  // namespace tomvik::app
