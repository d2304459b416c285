// Help: HTML pages that ship inside the program, one per topic, shown in a
// window of the program itself. The topic numbers are those of the tabs
// (301 to 306, in tab order) and of the About box (902); topic 0 is the
// contents.
#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;
class QToolButton;

namespace tomvik::app {

inline constexpr int kHelpContents = 0;
inline constexpr int kHelpTopicFirstTab = 301;
inline constexpr int kHelpTopicAbout = 902;

// The topic of a tab of the main window, by its index.
constexpr int HelpTopicOfTab(int tab) { return kHelpTopicFirstTab + tab; }
// The page of a topic; the contents for a number without a page.
QUrl HelpPage(int topic);

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);

  void showTopic(int topic);
  QUrl page() const;
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// Shows the topic in the help window of `from`'s window, opening one when
// it has none, and brings it to the front.
HelpWindow* ShowHelpTopic(QWidget* from, int topic);

}  // namespace tomvik::app
