// Moving settings values into widgets and back: column widths, splitter
// positions and the items of the recently-used combo boxes.
#pragma once

#include <QComboBox>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeView>

#include <string>
#include <vector>

#include "app/shell/sjis_text.h"
#include "core/records/settings.h"

namespace tomvik::app {

// The list column of the first numbered width is `firstColumn`.
template <std::size_t N>
void ApplyWidths(QTreeView* view, const core::ColumnWidths<N>& widths, int firstColumn) {
  QHeaderView* header = view->header();
  for (std::size_t i = 0; i < N; ++i) {
    const int column = firstColumn + static_cast<int>(i);
    if (column < header->count()) header->resizeSection(column, std::max(widths.widths[i], 0));
  }
}

template <std::size_t N>
void CollectWidths(const QTreeView* view, core::ColumnWidths<N>& widths, int firstColumn) {
  const QHeaderView* header = view->header();
  for (std::size_t i = 0; i < N; ++i) {
    const int column = firstColumn + static_cast<int>(i);
    if (column < header->count() && !header->isSectionHidden(column)) {
      widths.widths[i] = header->sectionSize(column);
    }
  }
}

// The entry panel above the list gets `height`; the list the rest. The
// height is kept as the user leaves it by moving the splitter, so that a tab
// that was never shown (and so never laid out) gives back what it was given.
inline void ApplySplit(QSplitter* splitter, int height) {
  const int total = std::max(splitter->height(), height + 100);
  splitter->setSizes({std::max(height, 1), std::max(total - height, 1)});
  if (!splitter->property("panelHeight").isValid()) {
    QObject::connect(splitter, &QSplitter::splitterMoved, splitter,
                     [splitter] { splitter->setProperty("panelHeight", splitter->sizes().front()); });
  }
  splitter->setProperty("panelHeight", height);
}

inline int CollectSplit(const QSplitter* splitter) {
  const QVariant kept = splitter->property("panelHeight");
  if (kept.isValid()) return kept.toInt();
  const QList<int> sizes = splitter->sizes();
  return sizes.isEmpty() ? 0 : sizes.front();
}

inline std::vector<std::string> ComboItems(const QComboBox* combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(ToSjis(combo->itemText(i)));
  return items;
}

inline void SetComboItems(QComboBox* combo, const std::vector<std::string>& items) {
  const QSignalBlocker blocker(combo);
  const QString text = combo->currentText();
  // The same items again (a recent list whose first entry is chosen anew)
  // are not rebuilt.
  if (ComboItems(combo) != items) {
    combo->clear();
    for (const std::string& item : items) combo->addItem(ToQString(item));
  }
  combo->setCurrentIndex(-1);
  if (combo->isEditable()) combo->setEditText(text);
}

// The exchange combos keep their built-in names unless the settings list some.
inline void ApplyExchanges(QComboBox* combo, const std::vector<std::string>& exchanges) {
  if (!exchanges.empty()) SetComboItems(combo, exchanges);
}

}  // namespace tomvik::app
