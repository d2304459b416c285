// The trade diary tab: the entry panel PanelDiary above the month's list.
//
// The panel writes one of three things for the picked date: the day's note
// (日記 mode), a trade or a registration (取引 mode), or a cash movement
// (取引 mode with 入出金 ticked). This class lays the panel out with every
// control in its initial state; the handlers come on top of it.
//
// Controls that lie over others: GroupBoxKind2 (the registration amount)
// shares its place with GroupBoxKind1 and covers it when shown. The 入/出 row
// of GroupBoxPrice (RadioButtonIn, RadioButtonOut, EditInOut) is hidden until
// the cash movement box is ticked; showing the three makes the group grow
// by one row, which the panel's height allows for.
//
// The tab also keeps the shown month: it follows the picker's date, saving
// the shown month silently before another month is loaded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/shell/entry_fields.h"
#include "app/shell/ledger_model.h"
#include "app/shell/tab_base.h"
#include "core/diary/recording.h"
#include "core/records/amount.h"
#include "core/records/atomic_file.h"

class QCheckBox;
class QComboBox;
class QDate;
class QEvent;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;

namespace tomvik::app {

class UpDownArrows;

class DiaryTab : public TabBase {
  Q_OBJECT

 public:
  explicit DiaryTab(core::Books& books, QWidget* parent = nullptr);

  // The list's columns: the diary row's cells from 日付 on (the key is not shown).
  static std::vector<ColumnSpec> Columns();

  struct Ui {
    QWidget* PanelDiary = nullptr;
    QDateEdit* DateTimePicker = nullptr;
    QRadioButton* RadioButtonMode0 = nullptr;
    QRadioButton* RadioButtonMode1 = nullptr;

    QGroupBox* GroupBoxKind1 = nullptr;
    QRadioButton* RadioButtonB = nullptr;
    QRadioButton* RadioButtonS = nullptr;
    QComboBox* ComboBoxPlan = nullptr;
    QGroupBox* GroupBoxKind2 = nullptr;
    QLineEdit* MemoHoldPrice = nullptr;
    QLabel* LabelHoldKind = nullptr;
    QCheckBox* CheckBoxKeep = nullptr;
    QCheckBox* CheckBoxInOut = nullptr;

    QLineEdit* MaskEditStockCode = nullptr;
    QComboBox* ComboBoxStockCode = nullptr;
    QLineEdit* EditStockName = nullptr;
    QComboBox* ComboBoxStockExchange = nullptr;
    QLineEdit* EditStockUnit = nullptr;

    QGroupBox* GroupBoxPrice = nullptr;
    QLineEdit* EditPrice = nullptr;
    UpDownArrows* UpDownPrice = nullptr;
    QLineEdit* EditNum = nullptr;
    UpDownArrows* UpDownNum = nullptr;
    QComboBox* ComboBoxCharge = nullptr;
    QCheckBox* CheckBoxChargeFix = nullptr;
    QLineEdit* EditTax = nullptr;
    QLineEdit* MemoPrice = nullptr;
    QRadioButton* RadioButtonIn = nullptr;
    QRadioButton* RadioButtonOut = nullptr;
    QLineEdit* EditInOut = nullptr;

    QPlainTextEdit* RichEditDiary = nullptr;
    QPushButton* ButtonDiaryAdd = nullptr;
    QPushButton* ButtonDiaryUpd = nullptr;
    QPushButton* ButtonDiaryDel = nullptr;

    QTreeView* ListViewDiary = nullptr;
    QSplitter* Splitter = nullptr;
    LedgerModel* Model = nullptr;
  };
  Ui ui;

  // Start-up: the picker shows the start date and its month becomes the
  // shown month (nothing is loaded yet).
  void setStartDate(const QDate& date);
  // Empties the list and fills it with the month's rows (headers summed).
  // A file that exists but cannot be read is reported and the shown month
  // stays as it was.
  std::optional<core::FileError> LoadDiaryMonth(const std::string& monthKey);
  // Follows the picker's date. Without a sender (start-up) it only takes
  // the date and its day counter. Moving to another month saves the shown
  // month first, without a question; when that save fails the picker goes
  // back to the shown date and nothing is lost.
  void DateTimePickerChange(bool fromUser = true);
  // A trade written from another tab: makes the picker's month the shown
  // month and gives its date a day header. Returns the date text, or
  // nothing when the shown month could not be saved or the other read.
  std::optional<std::string> EnsureDiaryDay(const QDateEdit* datePicker);
  // After start-up's loading: the last row, then the start date's header,
  // scrolled into view.
  void showStartDay();
  // A row another tab wrote into the shown month: it is selected (and
  // loaded into the panel when `load`), focused and scrolled into view;
  // nothing is offered for deletion until a row is loaded.
  void showWrittenRow(std::size_t index, bool load);

  void syncList() override;
  void applySettings(const core::Settings& settings) override;
  void collectSettings(core::Settings& settings) const override;
  void applyOldMode(bool on) override;
  std::optional<core::SimSource> simulationSource() const override;

  // The date text of the picker ("2011/03/15").
  std::string pickedDateText() const;
  // Margin positions opened on the shown date so far.
  int dayCounter() const { return dayCounter_; }

  // The panel's modes. `user` tells a click of the user from a call of
  // the program (which must not count as an edit of a loaded row).
  void RadioButtonModeClick(bool user = true);
  void CheckBoxInOutClick(bool user = true);
  void CheckBoxChargeFixClick(bool user = true);
  void ComboBoxPlanChange(bool user = true);
  void CheckBoxKeepClick();
  // The live figures: the trade amount (with the holding limit) and the
  // net cash movement.
  void EditPriceChange(bool user = true);
  void EditPriceChange2(bool user = true);
  void ComboBoxChargeChange(bool user = true);
  void ComboBoxChargeSelect();
  // The stock: looked up on leaving the code, written back on leaving a detail.
  void MaskEditStockCodeExit();
  void EditStockExit();
  void EditStockUnitChange();

  // Recording.
  void ButtonDiaryAddClick();
  void ButtonDiaryUpdClick();
  void ButtonDiaryDelClick();
  // The list: selecting, loading a row into the panel, jumping between days.
  void ListViewDiarySelectItem();
  void ListViewDiaryDblClick();
  void jumpToDay(int direction);

  // The common change handlers of the panel.
  void cmnUpdate(bool user);
  void cmnUpdate0(bool user);

  void applyInitialSetupMode(bool on) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createWidgets();
  void createLayout();
  void createConnections();
  // Saves the shown month when it has changes, then loads the other one;
  // false (with the reason shown) when either failed.
  bool switchToMonth(const std::string& monthKey);
  // Puts the picker back on the shown date.
  void restorePickedDate();
  void selectRow(std::size_t tableIndex, bool focusList);
  void readDayCounter(const std::string& dateText);
  bool tradeMode() const;
  // The items of ComboBoxPlan, by index.
  static constexpr int kPlanCash = 0;
  static constexpr int kPlanMargin = 1;
  static constexpr int kPlanPlanned = 2;
  int planIndex() const;
  // The table index of the row selected in the list.
  std::optional<std::size_t> selectedIndex() const;
  core::DiaryEntry entryOfPanel() const;
  // The amounts the panel's fields make.
  core::Amount tradeAmount() const;
  core::Amount cashMovementAmount() const;
  StockFieldSet stockFields() const;
  void loadRow(std::size_t index);
  // After a change of the ledgers: everything on screen follows.
  void changed(bool otherLedgers);
  // The holding, position and stock rows a trade opened or changed are
  // selected in their lists.
  void showTouchedRows(const core::Recorded& recorded);
  void clearMarks();
  void setCharge(const QString& text);

  std::string lastShownDate_;
  int dayCounter_ = 0;
  int selectedRow_ = -1;            // the row 削除 acts on
  int loadedRow_ = -1;              // the row 更新 acts on
  bool edited_ = false;             // the user changed a row loaded into the panel
  bool tradeFieldsEdited_ = false;  // a field other than the text changed
  bool loading_ = false;            // a row is being loaded: the handlers stay quiet
  bool loadedIsMargin_ = false;     // the loaded row is a margin trade
  bool exchangeChanged_ = false;
  core::Amount unitStep_ = 1;
  bool loadOnSelect_ = false;
  int lastSelected_ = -1;
  bool inSelect_ = false;
};

}  // namespace tomvik::app
