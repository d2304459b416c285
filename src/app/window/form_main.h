// The main window: the account summary, the menu bar and the six tabs.
//
// It owns the ledgers (Books) and the settings, runs start-up and
// shut-down, and serves the tabs with what crosses them: saving a ledger,
// bringing the lists, the Save items and the summary up to date after a
// change, questions and error messages, and switching tabs.
#pragma once

#include <QDate>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>

#include "app/shell/copy_menu.h"
#include "app/shell/prompter.h"
#include "app/shell/window_services.h"
#include "core/books.h"
#include "core/records/backup.h"
#include "core/records/ini_file.h"
#include "core/records/settings.h"

class QAction;
class QFrame;
class QTabWidget;

namespace tomvik::app {

class DiaryTab;
class HoldingsTab;
struct Options;
class MarginTab;
class SimSummaryPanel;
class SimulationTab;
class StockTab;
class SummaryPanel;
class TabBase;
class TotalsTab;

class TFormMain : public QMainWindow, public WindowServices {
  Q_OBJECT

 public:
  explicit TFormMain(std::filesystem::path baseFolder, QDate today = QDate::currentDate(), QWidget* parent = nullptr);
  ~TFormMain() override;

  const std::filesystem::path& baseFolder() const { return books_.folder; }
  core::Books& books() { return books_; }
  // Tests answer the questions without a box.
  void setPrompter(std::unique_ptr<Prompter> prompter);

  // WindowServices
  QWidget* window() override { return this; }
  Prompter& prompter() override { return *prompter_; }
  bool initialSetupMode() const override;
  bool oldMode() const override { return settings_.oldMode; }
  bool saveLedger(core::Ledger ledger) override;
  void reportFailedBackups() override;
  void ledgersChanged() override;
  void showTab(int index) override;
  void showDiaryDate(QDate day) override;
  void resetOtherPanels() override;
  void showLedgerRow(core::Ledger ledger, const std::string& key) override;
  void holdingRestored() override;
  std::optional<std::string> ensureDiaryDay(const QDateEdit* picker) override;
  void showDiaryRow(std::size_t index, bool load) override;

  // Menu commands.
  // 模擬: the current tab's stock and position become a new simulation.
  void MainMenuSimClick();
  void MenuOptionInitClick();
  void MenuOptionTopClick();
  // 動作環境: the options dialog, applied and stored on OK.
  void MenuOptionSetupClick();
  // トピック: the help contents; F1: the topic of the tab in front.
  void MenuHelpTopicClick();
  void MenuHelpVersionClick();
  void showHelp();
  int helpTopic() const { return helpTopic_; }
  // A stored figure of the summary was typed (initial-setup mode).
  void MemoTotal2Change();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createMenus();
  void createTabs();
  void FormCreate();
  void applySettings();
  void collectSettings();
  void loadLedgers();
  void PageControlMainChange(int index);
  // Asks or saves, ledger by ledger; false keeps the window open.
  bool FormCloseQuery();
  void FormClose();
  // The account summary's "加算"; the simulated one follows.
  void CheckBoxInPM2Click(bool checked);
  void reportLoadError(const std::optional<core::FileError>& error, const QString& what);
  void dressLists();
  void showTitle();
  void applyOptions(const Options& options);
  QAction* saveAction(core::Ledger ledger) const;

  core::Books books_;
  QDate today_;
  std::unique_ptr<Prompter> prompter_;
  core::Settings settings_;
  core::IniFile settingsIni_;
  CopyOptions copyOptions_;
  int helpTopic_ = 0;
  QStringList loadErrors_;

  SummaryPanel* panelTop_ = nullptr;
  SimSummaryPanel* panelTopS_ = nullptr;
  QTabWidget* pageControlMain_ = nullptr;
  DiaryTab* diaryTab_ = nullptr;
  HoldingsTab* holdingsTab_ = nullptr;
  MarginTab* marginTab_ = nullptr;
  StockTab* stockTab_ = nullptr;
  TotalsTab* totalsTab_ = nullptr;
  SimulationTab* simTab_ = nullptr;
  std::array<TabBase*, 6> tabs_{};

  QAction* mainMenuSave_ = nullptr;
  QAction* mainMenuSave2_ = nullptr;
  QAction* mainMenuSaveL_ = nullptr;
  QAction* mainMenuSave3_ = nullptr;
  QAction* mainMenuLoad3_ = nullptr;
  QAction* mainMenuSim_ = nullptr;
  QAction* menuOptionSetup_ = nullptr;
  QAction* menuOptionInit_ = nullptr;
  QAction* menuOptionTop_ = nullptr;
  QAction* menuHelpTopic_ = nullptr;
  QAction* menuHelpVersion_ = nullptr;
};

}  // namespace tomvik::app
