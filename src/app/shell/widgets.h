// The small building blocks every tab is made of, so that all panels look
// and behave alike: amount fields, read-only figures, the four-digit code
// field, the date picker, the up-down arrows and the list views.
#pragma once

#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>
#include <QWidget>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/ledger_model.h"
#include "core/records/amount.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSplitter;

namespace tomvik::app {

// The colours of figures and sides: red for buys and losses, blue for sells and gains.
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);
// The selection of the lists, the same with and without the focus.
inline const QColor kHighlight(0, 120, 215);

// Two small arrows beside a field. They never move themselves: a press on
// the upper one emits up(), on the lower one down().
class UpDownArrows : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownArrows(const QString& objectName, QWidget* parent = nullptr);

 signals:
  void up();
  void down();
};

// A right-aligned amount or quantity field.
QLineEdit* MakeAmountEdit(const QString& objectName, QWidget* parent, const QString& text = QString());
// What may be typed into a figure field ("memo"): 20 characters.
inline constexpr int kMemoLength = 20;
// Lets at most maxLength characters be typed into the field; a text the
// program sets is never cut.
void LimitTypedLength(QLineEdit* field, int maxLength);
// A right-aligned read-only figure ("memo"); typing, where a mode allows
// it, is limited to 20 characters, but a figure is always shown whole.
QLineEdit* MakeMemo(const QString& objectName, QWidget* parent, const QString& text = QStringLiteral("0"));
// The four-digit stock code field (input mask "9999"). Read the code from
// displayText(), where untyped places are blanks.
QLineEdit* MakeCodeEdit(const QString& objectName, QWidget* parent);
// A plain text field.
QLineEdit* MakeTextEdit(const QString& objectName, QWidget* parent);
// A multi-line plain-text comment box.
QPlainTextEdit* MakeCommentBox(const QString& objectName, QWidget* parent);
// A date picker showing "2024年01月15日（月）", with a calendar pop-up.
QDateEdit* MakeDatePicker(const QString& objectName, QWidget* parent);
// An editable combo box (exchange, charge, recent codes).
QComboBox* MakeCombo(const QString& objectName, QWidget* parent, bool editable = true);
QLabel* MakeLabel(const QString& text, QWidget* parent, const QString& objectName = QString());
// A read-only, whole-row, single-selection list without tree decoration.
QTreeView* MakeListView(const QString& objectName, QWidget* parent);
// The built-in exchange names, nothing chosen.
void FillBuiltInExchanges(QComboBox* combo);
// A tab of an entry panel over its list: the panel keeps its height, the
// list takes the room the window gives.
void PlacePanelOverList(QWidget* tab, QSplitter* splitter, int panelHeight);
// Gives a list view's columns their default widths, fixed and hidden states.
void ApplyColumns(QTreeView* view, const std::vector<ColumnSpec>& columns);
// The table row of the list's selected row, if one is selected.
std::optional<std::size_t> SelectedTableIndex(const QTreeView* view, const LedgerModel& model);
QRadioButton* MakeRadio(const QString& text, const char* objectName, QWidget* parent);
// A small frame holding one set of choices side by side.
QGroupBox* MakeChoiceBox(QWidget* parent, std::initializer_list<QRadioButton*> choices);

QCheckBox* MakeCheck(const QString& text, const char* objectName, QWidget* parent);
QPushButton* MakeButton(const QString& text, const char* objectName, QWidget* parent);

// Letters of a label, button or field in a colour of their own.
void SetTextColour(QWidget* widget, const QColor& colour);
// A colour of the widget's style's own palette; the palette is built once
// per style, not on every call.
QColor StandardColour(const QWidget* widget, QPalette::ColorRole role);
// A figure's letters in the colour of its sign (negative red, positive
// blue, zero the window text colour).
void ShowSignColour(QLineEdit* field, core::Amount value);

// Comments are CR LF separated in core and "\n" separated in the editor.
std::string CommentOf(const QPlainTextEdit* box);
void ShowComment(QPlainTextEdit* box, const std::string& comment);

// Window background when enabled, button face when disabled, as the
// panels show their editable and locked fields.
void SetFieldEnabled(QWidget* field, bool enabled);

}  // namespace tomvik::app
