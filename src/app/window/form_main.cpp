#include "app/window/form_main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/diary/diary_tab.h"
#include "app/holdings/holdings_tab.h"
#include "app/import/trade_import.h"
#include "app/margin/margin_tab.h"
#include "app/shell/edit_menu.h"
#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/storable_text.h"
#include "app/shell/tab_base.h"
#include "app/simulation/sim_summary_panel.h"
#include "app/simulation/simulation_tab.h"
#include "app/stocks/stock_tab.h"
#include "app/totals/totals_tab.h"
#include "app/window/form_about.h"
#include "app/window/form_option.h"
#include "app/window/help_window.h"
#include "app/window/list_dressing.h"
#include "app/window/pictures.h"
#include "app/window/summary_panel.h"
#include "core/holdings/account_summary.h"

namespace tomvik::app {

namespace {

enum Tab { kDiary = 0, kHoldings = 1, kMargin = 2, kStocks = 3, kTotals = 4, kSimulation = 5 };

struct LedgerQuestion {
  core::Ledger ledger;
  const char16_t* question;
  const char16_t* name;
};

// Shut-down asks and saves in this order.
constexpr LedgerQuestion kShutdownOrder[] = {
    {core::Ledger::Diary, u"取引日記を保存しますか？", u"取引日記"},
    {core::Ledger::Holdings, u"現物保有を保存しますか？", u"現物保有"},
    {core::Ledger::Positions, u"信用建玉を保存しますか？", u"信用建玉"},
    {core::Ledger::Stocks, u"銘柄管理を保存しますか？", u"銘柄管理"},
};

QString LedgerName(core::Ledger ledger) {
  for (const LedgerQuestion& q : kShutdownOrder) {
    if (q.ledger == ledger) return QString::fromUtf16(q.name);
  }
  return QString();
}

QAction* MakeAction(const QString& text, const char* name, QObject* parent) {
  auto* action = new QAction(text, parent);
  action->setObjectName(QLatin1String(name));
  return action;
}

}  // namespace

TFormMain::TFormMain(std::filesystem::path baseFolder, QDate today, QWidget* parent)
    : QMainWindow(parent), today_(today), prompter_(std::make_unique<Prompter>()) {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Tomvik"));
  setWindowIcon(ProgramIcon());
  books_.folder = std::move(baseFolder);
  books_.backups.emplace();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  panelTop_ = new SummaryPanel(central);
  column->addWidget(panelTop_);
  panelTopS_ = new SimSummaryPanel(central);
  panelTopS_->setVisible(false);
  column->addWidget(panelTopS_);
  pageControlMain_ = new QTabWidget(central);
  pageControlMain_->setObjectName(QStringLiteral("PageControlMain"));
  column->addWidget(pageControlMain_, 1);
  setCentralWidget(central);

  createTabs();
  createMenus();
  dressLists();
  GuardUnstorableText(this, [this](const QString& message) { prompter_->showWarning(this, message); });
  diaryTab_->setStartDate(today_);
  holdingsTab_->ui.Date->setDate(today_);
  marginTab_->ui.Date->setDate(today_);
  FormCreate();
}

TFormMain::~TFormMain() {
  // Leaving a field normalises it; let the focused one do that while every
  // control still stands, not halfway through tearing the window down.
  if (QWidget* focused = focusWidget()) focused->clearFocus();
}

void TFormMain::setPrompter(std::unique_ptr<Prompter> prompter) { prompter_ = std::move(prompter); }

void TFormMain::createTabs() {
  diaryTab_ = new DiaryTab(books_, pageControlMain_);
  holdingsTab_ = new HoldingsTab(books_, pageControlMain_);
  marginTab_ = new MarginTab(books_, pageControlMain_);
  stockTab_ = new StockTab(books_, pageControlMain_);
  totalsTab_ = new TotalsTab(books_, pageControlMain_);
  simTab_ = new SimulationTab(books_, pageControlMain_);
  tabs_ = {diaryTab_, holdingsTab_, marginTab_, stockTab_, totalsTab_, simTab_};
  const QString captions[] = {QStringLiteral("取引日記"), QStringLiteral("現物保有"), QStringLiteral("信用建玉"),
                              QStringLiteral("銘柄管理"), QStringLiteral("期間集計"), QStringLiteral("模擬売買")};
  for (int i = 0; i < 6; ++i) {
    tabs_[static_cast<std::size_t>(i)]->setServices(this);
    pageControlMain_->addTab(tabs_[static_cast<std::size_t>(i)], captions[i]);
  }
  connect(pageControlMain_, &QTabWidget::currentChanged, this, &TFormMain::PageControlMainChange);

  // The two stored figures, typed in the initial-setup mode.
  for (QLineEdit* memo : {panelTop_->ui.MemoTotal2, panelTop_->ui.MemoBSPM2}) {
    InstallNumericKeyFilter(memo, [this] { return initialSetupMode(); });
    connect(memo, &QLineEdit::textEdited, this, &TFormMain::MemoTotal2Change);
    connect(memo, &QLineEdit::editingFinished, this, [this, memo] {
      if (!initialSetupMode()) return;
      memo->setText(ToQString(core::NormaliseAmountText(ToSjis(memo->text()))));
      MemoTotal2Change();
    });
  }

  connect(panelTop_->ui.CheckBoxInPM2, &QCheckBox::clicked, this, &TFormMain::CheckBoxInPM2Click);
  // The simulated summary's "加算" hands its state to the real one.
  connect(panelTopS_, &SimSummaryPanel::includeUnrealisedClicked, this, [this](bool checked) {
    panelTop_->ui.CheckBoxInPM2->setChecked(checked);
    CheckBoxInPM2Click(checked);
  });
  simTab_->setSummaryPanel(panelTopS_);
}

void TFormMain::CheckBoxInPM2Click(bool checked) {
  books_.includeUnrealised = checked;
  core::RecomputeAccountFigures(books_, 0);
  panelTop_->showSummary(books_);
  panelTopS_->followIncludeUnrealised(checked);
}

void TFormMain::createMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  // The four Save items stand on the menu bar itself; only the current tab's
  // one is shown, and it owns Ctrl+S.
  mainMenuSave_ = MakeAction(QStringLiteral("保存(&S)"), "MainMenuSave", this);
  mainMenuSave2_ = MakeAction(QStringLiteral("保存(&S)"), "MainMenuSave2", this);
  mainMenuSaveL_ = MakeAction(QStringLiteral("保存(&S)"), "MainMenuSaveL", this);
  mainMenuSave3_ = MakeAction(QStringLiteral("保存(&S)"), "MainMenuSave3", this);
  mainMenuLoad3_ = MakeAction(QStringLiteral("読込(&L)"), "MainMenuLoad3", this);
  mainMenuSim_ = MakeAction(QStringLiteral("模擬(&M)"), "MainMenuSim", this);
  for (QAction* action :
       {mainMenuSave_, mainMenuSave2_, mainMenuSaveL_, mainMenuSave3_, mainMenuLoad3_, mainMenuSim_}) {
    bar->addAction(action);
  }
  const std::pair<QAction*, core::Ledger> saves[] = {{mainMenuSave_, core::Ledger::Diary},
                                                     {mainMenuSave2_, core::Ledger::Holdings},
                                                     {mainMenuSaveL_, core::Ledger::Positions},
                                                     {mainMenuSave3_, core::Ledger::Stocks}};
  connect(mainMenuLoad3_, &QAction::triggered, this, [this] { stockTab_->MainMenuLoad3Click(true); });
  connect(mainMenuSim_, &QAction::triggered, this, &TFormMain::MainMenuSimClick);
  for (const auto& [action, ledger] : saves) {
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, ledger = ledger] {
      saveLedger(ledger);
      ledgersChanged();
    });
  }

  TradeImport::AddMenu(bar, books_, *this, *diaryTab_);

  QMenu* options = bar->addMenu(QStringLiteral("設定(&O)"));
  options->setObjectName(QStringLiteral("MenuOption"));
  menuOptionSetup_ = MakeAction(QStringLiteral("動作環境"), "MenuOptionSetup", this);
  menuOptionInit_ = MakeAction(QStringLiteral("初期設定モード"), "MenuOptionInit", this);
  menuOptionInit_->setCheckable(true);
  menuOptionTop_ = MakeAction(QStringLiteral("常に前面表示"), "MenuOptionTop", this);
  menuOptionTop_->setCheckable(true);
  options->addAction(menuOptionSetup_);
  options->addSeparator();
  options->addAction(menuOptionInit_);
  options->addAction(menuOptionTop_);
  // A checkable action toggles its own mark before triggered(); the
  // commands toggle it themselves, so the mark is put back first.
  connect(menuOptionInit_, &QAction::triggered, this, [this](bool checked) {
    menuOptionInit_->setChecked(!checked);
    MenuOptionInitClick();
  });
  connect(menuOptionTop_, &QAction::triggered, this, [this](bool checked) {
    menuOptionTop_->setChecked(!checked);
    MenuOptionTopClick();
  });

  QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("MenuHelp"));
  menuHelpTopic_ = MakeAction(QStringLiteral("トピック"), "MenuHelpTopic", this);
  menuHelpVersion_ = MakeAction(QStringLiteral("バージョン情報"), "MenuHelpVersion", this);
  help->addAction(menuHelpTopic_);
  help->addAction(menuHelpVersion_);

  connect(menuOptionSetup_, &QAction::triggered, this, &TFormMain::MenuOptionSetupClick);
  connect(menuHelpTopic_, &QAction::triggered, this, &TFormMain::MenuHelpTopicClick);
  connect(menuHelpVersion_, &QAction::triggered, this, &TFormMain::MenuHelpVersionClick);
  auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
  connect(helpKey, &QShortcut::activated, this, &TFormMain::showHelp);
}

void TFormMain::dressLists() {
  for (const ListPlace& place : kListPlaces) {
    if (auto* list = findChild<QTreeView*>(QLatin1String(place.name))) DressList(list, place, &copyOptions_);
  }
  for (const char* name : {"RichEditDiary", "RichEditComment2", "RichEditCommentL", "RichEditComment3"}) {
    if (auto* comment = findChild<QPlainTextEdit*>(QLatin1String(name))) InstallEditMenu(comment);
  }
}

// ---------------------------------------------------------------------------
// Start-up

void TFormMain::FormCreate() {
  core::SettingsLoad load = core::LoadSettings(books_.folder);
  settings_ = load.settings;
  settingsIni_ = std::move(load.ini);
  applySettings();
  for (const ListPlace& place : kListPlaces) {
    if (auto* list = findChild<QTreeView*>(QLatin1String(place.name))) WidenUnstoredColumns(list, place, settingsIni_);
  }
  totalsTab_->startAt(diaryTab_->ui.DateTimePicker->date());
  // The other charge fields start from the diary's charge when it is in use.
  if (diaryTab_->ui.ComboBoxCharge->isEnabled()) {
    for (QComboBox* charge : {holdingsTab_->ui.SubCharge, marginTab_->ui.SubCharge, simTab_->ui.ComboBoxCharge5}) {
      charge->setEditText(diaryTab_->ui.ComboBoxCharge->currentText());
    }
  }
  showTab(kDiary);
  PageControlMainChange(kDiary);

  reportLoadError(diaryTab_->LoadDiaryMonth(books_.monthKey), QStringLiteral("取引日記"));
  diaryTab_->DateTimePickerChange(false);
  diaryTab_->ui.RadioButtonMode0->setChecked(true);
  diaryTab_->RadioButtonModeClick(false);
  diaryTab_->ui.ButtonDiaryUpd->setEnabled(false);
  loadLedgers();
  diaryTab_->showStartDay();
  diaryTab_->ui.ListViewDiary->setFocus();
  if (!loadErrors_.isEmpty()) {
    // Reported once the window is up, so the message has its window.
    QTimer::singleShot(0, this, [this] {
      prompter_->showError(this, loadErrors_.join(QStringLiteral("\n\n")));
      loadErrors_.clear();
    });
  }
}

void TFormMain::reportLoadError(const std::optional<core::FileError>& error, const QString& what) {
  // Missing files are simply empty ledgers; a file that is there but cannot
  // be read must not pass for an empty one.
  if (error) loadErrors_ << what + QStringLiteral("を読み込めませんでした。\n") + DescribeFileError(*error);
}

void TFormMain::loadLedgers() {
  reportLoadError(core::LoadHoldingsInto(books_), QStringLiteral("現物保有"));
  reportLoadError(core::LoadPositionsInto(books_), QStringLiteral("信用建玉"));
  reportLoadError(core::LoadStocksInto(books_), QStringLiteral("銘柄管理"));
  core::RecomputeSummary(books_);
  ledgersChanged();
}

void TFormMain::applySettings() {
  const core::Settings& s = settings_;
  showTitle();
  for (TabBase* tab : tabs_) tab->applyOldMode(s.oldMode);

  const QRect normal(s.left, s.top, s.width, s.height);
  setGeometry(normal);
  // A maximised window keeps the normal bounds for its restore.
  if (s.state == 2) setWindowState(windowState() | Qt::WindowMaximized);

  books_.stockFilter = s.filter3;
  books_.includeUnrealised = s.inPM2;
  panelTop_->ui.CheckBoxInPM2->setChecked(s.inPM2);
  panelTopS_->ui.CheckBoxInPM2S->setChecked(s.inPM2);
  for (TabBase* tab : tabs_) tab->applySettings(s);

  menuOptionTop_->setChecked(!s.stayOnTop);
  MenuOptionTopClick();
  copyOptions_ = CopyOptions{s.copy1, s.copy2};
}

void TFormMain::showTitle() {
  const QString name = ToQString(settings_.coName);
  setWindowTitle(name.isEmpty() ? QStringLiteral("Tomvik") : QStringLiteral("Tomvik - ") + name);
}

// ---------------------------------------------------------------------------
// Tabs, Save items, the summary

void TFormMain::showTab(int index) { pageControlMain_->setCurrentIndex(index); }

void TFormMain::showDiaryDate(QDate day) {
  diaryTab_->ui.DateTimePicker->setDate(day);
  showTab(kDiary);
}

void TFormMain::resetOtherPanels() {
  for (TabBase* tab : tabs_) tab->ResetOtherPanels();
}

void TFormMain::showLedgerRow(core::Ledger ledger, const std::string& key) {
  switch (ledger) {
    case core::Ledger::Holdings: holdingsTab_->showLedgerRow(key); break;
    case core::Ledger::Positions: marginTab_->showLedgerRow(key); break;
    case core::Ledger::Stocks: stockTab_->showLedgerRow(key); break;
    case core::Ledger::Diary: break;
  }
}

void TFormMain::holdingRestored() { holdingsTab_->clearAmountFields(); }

std::optional<std::string> TFormMain::ensureDiaryDay(const QDateEdit* picker) {
  return diaryTab_->EnsureDiaryDay(picker);
}

void TFormMain::showDiaryRow(std::size_t index, bool load) {
  showTab(kDiary);
  diaryTab_->showWrittenRow(index, load);
}

bool TFormMain::initialSetupMode() const { return menuOptionInit_->isChecked(); }

QAction* TFormMain::saveAction(core::Ledger ledger) const {
  switch (ledger) {
    case core::Ledger::Diary: return mainMenuSave_;
    case core::Ledger::Holdings: return mainMenuSave2_;
    case core::Ledger::Positions: return mainMenuSaveL_;
    case core::Ledger::Stocks: break;
  }
  return mainMenuSave3_;
}

void TFormMain::PageControlMainChange(int index) {
  helpTopic_ = HelpTopicOfTab(index);
  const std::pair<QAction*, int> saves[] = {
      {mainMenuSave_, kDiary}, {mainMenuSave2_, kHoldings}, {mainMenuSaveL_, kMargin}, {mainMenuSave3_, kStocks}};
  for (const auto& [action, tab] : saves) {
    const bool current = tab == index;
    action->setVisible(current);
    action->setShortcut(current ? QKeySequence(Qt::CTRL | Qt::Key_S) : QKeySequence());
  }
  mainMenuLoad3_->setVisible(index == kStocks && initialSetupMode());
  mainMenuSim_->setVisible(index <= kStocks);
  if (index == kSimulation && simTab_->ledger().rows().size() <= 1) simTab_->ResetSimSummary();
  // The simulation's own summary lies over the real one.
  const bool simulated = index == kSimulation && !initialSetupMode();
  panelTopS_->setVisible(simulated);
  panelTop_->setVisible(!simulated);
  panelTop_->showPositionTotals(index == kMargin);
}

void TFormMain::ledgersChanged() {
  for (TabBase* tab : tabs_) tab->syncList();
  for (const LedgerQuestion& q : kShutdownOrder) saveAction(q.ledger)->setEnabled(books_.unsaved.of(q.ledger));
  panelTop_->showSummary(books_);
}

bool TFormMain::saveLedger(core::Ledger ledger) {
  if (books_.unreadable.of(ledger)) {
    prompter_->showError(this,
                         LedgerName(ledger) + QStringLiteral("のファイルは読み込めなかったため、上書きしません。\n"
                                                             "ファイルを確かめてから起動し直してください。"));
    return false;
  }
  const auto error = core::SaveLedger(books_, ledger);
  reportFailedBackups();
  saveAction(ledger)->setEnabled(books_.unsaved.of(ledger));
  if (!error) return true;
  prompter_->showError(this, LedgerName(ledger) +
                                 QStringLiteral("を保存できませんでした。変更は保存されていません。\n") +
                                 DescribeFileError(*error));
  return false;
}

void TFormMain::reportFailedBackups() {
  std::vector<core::FailedBackup> failed;
  failed.swap(books_.failedBackups);
  for (const core::FailedBackup& backup : failed) {
    prompter_->showWarning(this, LedgerName(backup.ledger) +
                                     QStringLiteral("のバックアップを作れませんでした。保存はこのまま続けます。\n") +
                                     DescribeFileError(backup.error));
  }
}

void TFormMain::MemoTotal2Change() {
  if (!initialSetupMode()) return;
  const core::AccountFigures typed{ToSjis(panelTop_->ui.MemoTotal2->text()), ToSjis(panelTop_->ui.MemoBSPM2->text())};
  if (typed.totalInvestment == books_.figures.totalInvestment && typed.realised == books_.figures.realised) return;
  books_.figures = typed;
  core::RecomputeAccountFigures(books_, 0);
  books_.unsaved.holdings = true;
  ledgersChanged();
}

// ---------------------------------------------------------------------------
// Menu commands

void TFormMain::MainMenuSimClick() {
  const auto source = tabs_[static_cast<std::size_t>(pageControlMain_->currentIndex())]->simulationSource();
  if (!source) return;
  simTab_->takeOver(*source, CurrentModifiers().shift);
  showTab(kSimulation);
}

void TFormMain::MenuOptionInitClick() {
  const bool on = !menuOptionInit_->isChecked();
  menuOptionInit_->setChecked(on);
  panelTop_->setStoredFiguresEditable(on);
  for (TabBase* tab : tabs_) tab->applyInitialSetupMode(on);
  PageControlMainChange(pageControlMain_->currentIndex());
  if (!on) {
    // Back to work: the list of the tab in front.
    if (auto* list = pageControlMain_->currentWidget()->findChild<QTreeView*>()) list->setFocus();
  }
}

void TFormMain::MenuOptionTopClick() {
  const bool on = !menuOptionTop_->isChecked();
  menuOptionTop_->setChecked(on);
  if (on == windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  const bool shown = isVisible();
  // Changing a window flag hides the window and forgets where its frame
  // was: it comes back with its own bounds, not shifted by the frame.
  const QRect bounds = isMaximized() ? normalGeometry() : geometry();
  const Qt::WindowStates state = windowState();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  setGeometry(bounds);
  setWindowState(state);
  if (shown) show();
}

void TFormMain::MenuOptionSetupClick() {
  Options current{ToQString(settings_.coName), settings_.autoSave, settings_.chargeSave, settings_.oldMode, {}};
  // The names the settings list; without any, those the diary offers now.
  if (settings_.exchanges.empty()) {
    const QComboBox* exchanges = diaryTab_->ui.ComboBoxStockExchange;
    for (int i = 0; i < exchanges->count(); ++i) current.exchanges << exchanges->itemText(i);
  } else {
    for (const std::string& name : settings_.exchanges) current.exchanges << ToQString(name);
  }
  TFormOption dialog(current, this);
  GuardUnstorableText(&dialog, [this](const QString& message) { prompter_->showWarning(this, message); });
  if (dialog.exec() == QDialog::Accepted) applyOptions(dialog.options());
}

void TFormMain::applyOptions(const Options& options) {
  core::Settings& s = settings_;
  s.coName = ToSjis(options.coName);
  showTitle();
  s.autoSave = options.autoSave;
  s.chargeSave = options.chargeSave;
  s.oldMode = options.oldMode;
  // Both sell boxes are unticked and every panel follows the mode at once.
  for (TabBase* tab : tabs_) tab->applyOldMode(s.oldMode);

  s.exchanges.clear();
  for (const QString& name : options.exchanges) s.exchanges.push_back(ToSjis(name));
  for (const char* name : {"ComboBoxStockExchange", "ComboBoxStockExchange2", "ComboBoxStockExchangeL",
                           "ComboBoxStockExchange3", "ComboBoxStockExchange5"}) {
    if (auto* combo = findChild<QComboBox*>(QLatin1String(name))) SetComboItems(combo, s.exchanges);
  }

  core::WriteOptionSettings(settingsIni_, s);
  if (const auto error = core::SaveIni(books_.folder, settingsIni_)) {
    prompter_->showError(
        this, QStringLiteral("設定を保存できませんでした。終了時にもう一度保存します。\n") + DescribeFileError(*error));
  }
}

void TFormMain::MenuHelpTopicClick() { ShowHelpTopic(this, kHelpContents); }

void TFormMain::MenuHelpVersionClick() {
  TFormAbout about(this);
  about.showDataFolder(
      QDir::toNativeSeparators(QFileInfo(QFile::decodeName(books_.folder.string().c_str())).absoluteFilePath()));
  about.exec();
}

void TFormMain::showHelp() { ShowHelpTopic(this, helpTopic_); }

// ---------------------------------------------------------------------------
// Shut-down

void TFormMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

bool TFormMain::FormCloseQuery() {
  for (const LedgerQuestion& q : kShutdownOrder) {
    if (!books_.unsaved.of(q.ledger)) continue;
    // A ledger whose file could not be read is never written over: its
    // changes are lost only when the user says so.
    if (books_.unreadable.of(q.ledger)) {
      if (!prompter_->askYesNo(
              this, LedgerName(q.ledger) + QStringLiteral("のファイルは読み込めなかったため、変更を保存できません。\n"
                                                          "変更を破棄して終了しますか？"))) {
        return false;
      }
      continue;
    }
    if (!settings_.autoSave) {
      const Answer answer = prompter_->askYesNoCancel(this, QString::fromUtf16(q.question));
      if (answer == Answer::Cancel) return false;
      if (answer == Answer::No) continue;
    }
    // A ledger that could not be saved keeps the window open.
    if (!saveLedger(q.ledger)) return false;
  }
  return true;
}

void TFormMain::collectSettings() {
  core::Settings& s = settings_;
  const bool maximised = isMaximized();
  const QRect bounds = maximised ? normalGeometry() : geometry();
  s.top = bounds.top();
  s.left = bounds.left();
  s.height = bounds.height();
  s.width = bounds.width();
  s.state = maximised ? 2 : (isMinimized() ? 1 : 0);
  for (TabBase* tab : tabs_) tab->collectSettings(s);
  s.inPM2 = panelTop_->ui.CheckBoxInPM2->isChecked();
  s.stayOnTop = menuOptionTop_->isChecked();
  s.copy1 = copyOptions_.withCaptions;
  s.copy2 = copyOptions_.withComments;
}

void TFormMain::FormClose() {
  collectSettings();
  core::WriteShutdownSettings(settingsIni_, settings_);
  // A settings file that cannot be written costs only the window's layout.
  (void)core::SaveIni(books_.folder, settingsIni_);
}

}  // namespace tomvik::app
