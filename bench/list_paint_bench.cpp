// Repainting the holdings list of the window: with its colouring delegate,
// against the same list drawn plainly by the toolkit, and plainly with the
// grid drawn by a style sheet (how the lists were drawn before they had
// colours, about 1.5 times the plain cost). The coloured list should cost
// no more than the style-sheet one.
#include <benchmark/benchmark.h>

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/shell/sjis_text.h"
#include "app/window/form_main.h"

namespace {

// The window on a folder of sixty holdings, gains and losses, with its
// holdings tab in front.
class HoldingsWindow {
 public:
  HoldingsWindow() {
    QString text = QStringLiteral("=10000000,0\r\n");
    for (int i = 0; i < 60; ++i) {
      const int price = 1000 + 37 * i;
      const int market = price + (i % 2 ? 85 : -120) * (i % 7);
      text += QStringLiteral("-%1,%2 見本電機%3,東証１部,100,%4,1000,%5,%6,%7\r\n \r\n")
                  .arg(i % 3 ? QStringLiteral("買") : QStringLiteral("売"))
                  .arg(1300 + i)
                  .arg(i)
                  .arg(price * 1000)
                  .arg(price)
                  .arg(market)
                  .arg((market - price) * 1000);
    }
    std::ofstream(std::filesystem::path(dir_.path().toStdString()) / "Hold.txt", std::ios::binary)
        << tomvik::app::ToSjis(text);
    window_ =
        std::make_unique<tomvik::app::TFormMain>(std::filesystem::path(dir_.path().toStdString()), QDate(2026, 12, 8));
    window_->resize(1000, 700);
    window_->show();
    window_->showTab(1);
    list_ = window_->findChild<QTreeView*>(QStringLiteral("ListViewHold"));
    coloured_ = list_->itemDelegate();
    plain_ = new QStyledItemDelegate(list_);
    list_->setCurrentIndex(list_->model()->index(2, 1));
    QApplication::processEvents();
  }

  QTreeView* list() const { return list_; }
  void colour() {
    list_->setStyleSheet(QString());
    list_->setItemDelegate(coloured_);
  }
  void plain(bool styleSheet) {
    list_->setItemDelegate(plain_);
    list_->setStyleSheet(styleSheet ? QStringLiteral("QTreeView::item { border-right: 1px solid #d8d8d8; "
                                                     "border-bottom: 1px solid #d8d8d8; }")
                                    : QString());
  }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<tomvik::app::TFormMain> window_;
  QTreeView* list_ = nullptr;
  QAbstractItemDelegate* coloured_ = nullptr;
  QAbstractItemDelegate* plain_ = nullptr;
};

HoldingsWindow& Window() {
  static HoldingsWindow window;
  return window;
}

void Repaint(benchmark::State& state) {
  QWidget* viewport = Window().list()->viewport();
  QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
  const QAbstractItemModel* model = Window().list()->model();
  for (auto _ : state) {
    QPainter painter(&image);
    viewport->render(&painter);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  const QModelIndex top = Window().list()->indexAt(QPoint(1, 1));
  state.counters["rows"] = static_cast<double>(std::min(model->rowCount() - top.row(), viewport->height() / 18));
  state.counters["cells"] = static_cast<double>(model->columnCount());
}

void BM_PlainList(benchmark::State& state) {
  Window().plain(false);
  Repaint(state);
}
BENCHMARK(BM_PlainList)->Unit(benchmark::kMicrosecond);

void BM_StyleSheetList(benchmark::State& state) {
  Window().plain(true);
  Repaint(state);
}
BENCHMARK(BM_StyleSheetList)->Unit(benchmark::kMicrosecond);

void BM_ColouredList(benchmark::State& state) {
  Window().colour();
  Repaint(state);
}
BENCHMARK(BM_ColouredList)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // No display is needed to paint into a picture.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
