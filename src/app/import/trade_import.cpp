#include "app/import/trade_import.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

#include "app/diary/diary_tab.h"
#include "app/import/import_texts.h"
#include "app/import/trade_import_dialog.h"
#include "app/shell/dates.h"
#include "app/shell/prompter.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/import/trade_booking.h"
#include "core/import/trade_history.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"

namespace tomvik::app {

namespace {

// Files with this many trades to book show their progress.
constexpr std::size_t kProgressFrom = 200;

QString LedgerName(core::Ledger ledger) {
  switch (ledger) {
    case core::Ledger::Diary: return QStringLiteral("取引日記");
    case core::Ledger::Holdings: return QStringLiteral("現物保有");
    case core::Ledger::Positions: return QStringLiteral("信用建玉");
    case core::Ledger::Stocks: break;
  }
  return QStringLiteral("銘柄管理");
}

// "5行目 2025/05/12 信用返済売 5678 東京商事 1,000株"
QString TradeLine(const core::ImportedTrade& t) {
  return QStringLiteral("%1行目 %2 %3 %4 %5 %6株")
      .arg(t.line)
      .arg(QString::fromStdString(t.date), ActionText(t.action), QString::fromStdString(t.code), ToQString(t.name),
           QString::fromStdString(core::FormatAmount(t.quantity)));
}

struct SummaryTexts {
  QString text;
  QString details;
  bool trouble = false;
};

SummaryTexts Summarise(const core::TradeHistory& history, const std::vector<bool>& recorded,
                       const std::vector<bool>& ticked, const core::ImportRun& run,
                       const std::vector<core::SaveFailure>& failures, const QString& commentHead) {
  SummaryTexts s;
  QStringList lines;
  lines << QStringLiteral("%1 件の取引を取引日記に記録しました（日記の行 %2 行）。").arg(run.booked).arg(run.rows);
  std::size_t alreadyThere = 0;
  std::size_t refused = 0;
  QStringList details;
  for (std::size_t i = 0; i < history.trades.size(); ++i) {
    const core::TradeOutcome& outcome = run.outcomes[i];
    if (!ticked[i] && recorded[i]) ++alreadyThere;
    if (outcome.status == core::TradeStatus::Refused) {
      ++refused;
      details << TradeLine(history.trades[i]) + QStringLiteral("：") + RefusalText(outcome);
    } else if (outcome.status == core::TradeStatus::Booked && !outcome.notices.empty()) {
      details << TradeLine(history.trades[i]) + QStringLiteral("：") + NoticeTexts(outcome).join(QStringLiteral("。"));
    }
  }
  for (const core::SkippedLine& line : history.skipped) {
    details << QStringLiteral("%1行目：").arg(line.line) + LineProblemText(line);
  }
  if (alreadyThere > 0) lines << QStringLiteral("取引日記に記録済みの %1 件は取り込んでいません。").arg(alreadyThere);
  if (refused > 0) {
    lines << QStringLiteral("%1 件の取引は記録できませんでした（下の一覧をご覧ください）。").arg(refused);
    s.trouble = true;
  }
  if (!history.skipped.empty()) {
    lines << QStringLiteral("株式の売買でない行や読めない行 %1 行は取り込んでいません。").arg(history.skipped.size());
  }
  if (run.failure) {
    lines << QStringLiteral(
                 "%1 の取引日記を%2ため、取り込みはそこで止まりました。それまでに記録した取引は保存してあります。\n%3")
                 .arg(QString::fromStdString(run.failure->monthKey),
                      run.failure->saving ? QStringLiteral("保存できなかった") : QStringLiteral("読み込めなかった"),
                      DescribeFileError(run.failure->error));
    s.trouble = true;
  }
  for (const core::SaveFailure& failure : failures) {
    lines << LedgerName(failure.ledger) + QStringLiteral("を保存できませんでした。\n") +
                 DescribeFileError(failure.error);
    s.trouble = true;
  }
  if (run.booked > 0) {
    if (failures.empty()) lines << QStringLiteral("取引日記・現物保有・信用建玉・銘柄管理を保存しました。");
    lines << QStringLiteral("記録した行のコメントは「%1…行目」です。取り消すにはこれらの行を削除してください。")
                 .arg(commentHead);
  }
  s.text = lines.join(QLatin1Char('\n'));
  s.details = details.join(QLatin1Char('\n'));
  return s;
}

// The summary: what was booked and saved, then, in a list that can be
// scrolled and copied, every trade not booked or to look at and every line
// not read as a trade.
void ShowSummary(const SummaryTexts& summary, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("ImportSummary"));
  dialog.setWindowTitle(QStringLiteral("取引履歴の取り込み"));
  auto* icon = new QLabel(&dialog);
  icon->setPixmap(dialog.style()
                      ->standardIcon(summary.trouble ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation)
                      .pixmap(32, 32));
  auto* text = new QLabel(summary.text, &dialog);
  text->setObjectName(QStringLiteral("LabelImportSummary"));
  text->setWordWrap(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text, 1);
  auto* column = new QVBoxLayout(&dialog);
  column->addLayout(top);
  if (!summary.details.isEmpty()) {
    auto* details = new QPlainTextEdit(summary.details, &dialog);
    details->setObjectName(QStringLiteral("MemoImportDetails"));
    details->setReadOnly(true);
    details->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(details, 1);
  }
  auto* ok = MakeButton(QStringLiteral("OK"), "ButtonImportSummaryOk", &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  column->addLayout(buttons);
  dialog.resize(summary.details.isEmpty() ? QSize(480, 160) : QSize(760, 400));
  ok->setFocus();
  dialog.exec();
}

}  // namespace

TradeImport::TradeImport(core::Books& books, WindowServices& services, DiaryTab& diary, QObject* parent)
    : QObject(parent), books_(books), services_(services), diary_(diary) {
  action_ = new QAction(QStringLiteral("取引履歴の取り込み…"), this);
  action_->setObjectName(QStringLiteral("MainMenuImport"));
  connect(action_, &QAction::triggered, this, &TradeImport::MainMenuImportClick);
  chooseFile_ = [](QWidget* owner, const QString& folder) {
    return QFileDialog::getOpenFileName(owner, QStringLiteral("取引履歴の取り込み"), folder,
                                        QStringLiteral("CSV ファイル (*.csv *.CSV);;すべてのファイル (*)"));
  };
}

QMenu* TradeImport::AddMenu(QMenuBar* bar, core::Books& books, WindowServices& services, DiaryTab& diary) {
  QMenu* menu = bar->addMenu(QStringLiteral("取り込み(&I)"));
  menu->setObjectName(QStringLiteral("MenuImport"));
  menu->addAction((new TradeImport(books, services, diary, menu))->action());
  return menu;
}

void TradeImport::MainMenuImportClick() {
  if (lastFolder_.isEmpty()) lastFolder_ = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
  const QString path = chooseFile_(services_.window(), lastFolder_);
  if (path.isEmpty()) return;
  lastFolder_ = QFileInfo(path).absolutePath();
  importFile(path);
}

void TradeImport::importFile(const QString& path) {
  QWidget* window = services_.window();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    services_.prompter().showError(window, QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2")
                                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    return;
  }
  const QByteArray bytes = file.readAll();
  const core::TradeHistory history =
      core::ReadTradeHistory(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!history.broker) {
    services_.prompter().showError(
        window, QStringLiteral("取引履歴の見出し行が見つかりませんでした。\n"
                               "SBI証券の約定履歴、楽天証券の国内株式取引履歴、マネックス証券の取引履歴の CSV "
                               "ファイルを選んでください。\n%1")
                    .arg(QDir::toNativeSeparators(path)));
    return;
  }

  const QString fileName = QFileInfo(path).fileName();
  const QString commentHead = QStringLiteral("取込 %1 ").arg(fileName);
  core::BookingOptions options;
  options.comment = [head = ToSjis(commentHead), tail = ToSjis(QStringLiteral("行目"))](const core::ImportedTrade& t) {
    return head + std::to_string(t.line) + tail;
  };
  core::ImportSources sources(books_.folder);
  const std::vector<bool> recorded = core::FindRecordedTrades(books_, history.trades, sources);
  TradeImportDialog dialog(
      fileName, history, recorded,
      [&](const std::vector<bool>& ticked) {
        return core::PreviewImport(books_, history.trades, ticked, sources, options);
      },
      window);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::vector<bool> ticked = dialog.ticked();

  std::unique_ptr<QProgressDialog> progress;
  if (static_cast<std::size_t>(std::count(ticked.begin(), ticked.end(), true)) >= kProgressFrom) {
    progress = std::make_unique<QProgressDialog>(QStringLiteral("取引履歴を取り込んでいます…"), QString(), 0,
                                                 static_cast<int>(history.trades.size()), window);
    progress->setObjectName(QStringLiteral("ProgressImport"));
    progress->setWindowTitle(QStringLiteral("取引履歴の取り込み"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setCancelButton(nullptr);
    progress->setMinimumDuration(0);
    progress->setValue(0);
    options.progress = [&progress](std::size_t done, std::size_t total) {
      if (done % 25 == 0 || done == total) progress->setValue(static_cast<int>(done));
    };
  }
  const core::ImportRun run = core::BookImport(books_, history.trades, ticked, sources, options);
  progress.reset();
  // The months were saved on the way; the rest is saved with them, so that
  // the files agree with each other whatever happens next.
  const std::vector<core::SaveFailure> failures = core::SaveChangedLedgers(books_);
  services_.reportFailedBackups();
  showDiaryAfter(run.lastBookedDate);

  const SummaryTexts summary = Summarise(history, recorded, ticked, run, failures, commentHead);
  ShowSummary(summary, window);
}

void TradeImport::showDiaryAfter(const std::optional<std::string>& lastBookedDate) {
  services_.ledgersChanged();
  services_.resetOtherPanels();
  // The diary shows the day of the last trade booked, or else the day it
  // showed before; the month the booking ended in gives way to it.
  const std::string target = lastBookedDate.value_or(diary_.pickedDateText());
  const std::string month = core::MonthKeyOf(target);
  if (month != books_.monthKey) {
    if (books_.unsaved.diary && !services_.saveLedger(core::Ledger::Diary)) return;
    if (auto error = diary_.LoadDiaryMonth(month)) {
      services_.prompter().showError(services_.window(),
                                     QStringLiteral("取引日記を読み込めませんでした。\n") + DescribeFileError(*error));
      return;
    }
    services_.ledgersChanged();
  }
  const auto date = core::ParseDateText(target);
  if (!date) return;
  {
    const QSignalBlocker blocker(diary_.ui.DateTimePicker);
    diary_.ui.DateTimePicker->setDate(QtDate(*date));
  }
  // The picked day's counter of new positions, and the panel's buttons for its header.
  diary_.DateTimePickerChange(false);
  diary_.RadioButtonModeClick(false);
  if (const auto header = core::FindDayHeader(books_.diary, target)) services_.showDiaryRow(*header, false);
}

}  // namespace tomvik::app
