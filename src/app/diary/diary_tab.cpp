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

#include "app/shell/dates.h"
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

const QString kUnsavableMonthQuestion = QStringLiteral(
    "この月の取引日記はファイルを読み込めなかったため、変更を保存できません。\n"
    "変更を破棄して別の月へ移りますか？");

}  // namespace

DiaryTab::DiaryTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetDiary"));
  createWidgets();
  createLayout();
  createConnections();
  RadioButtonModeClick(false);
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
  ui.DateTimePicker->setDate(QtDate(*shown));
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
