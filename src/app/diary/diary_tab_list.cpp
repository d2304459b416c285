// The diary list: selecting a row, moving by day and loading a row into the panel.
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

namespace tomvik::app {

std::optional<std::size_t> DiaryTab::selectedIndex() const { return SelectedTableIndex(ui.ListViewDiary, *ui.Model); }

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
    ui.DateTimePicker->setDate(QtDate(*date));
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

}  // namespace tomvik::app
