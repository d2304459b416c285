// What the window tests share: a prompter that answers from a script and
// remembers every question and error the window showed.
#pragma once

#include <QString>

#include <deque>
#include <vector>

#include "app/shell/prompter.h"

namespace tomvik::testing {

class ScriptedPrompter : public app::Prompter {
 public:
  // Once the script is used up every question gets `whenNoneLeft`.
  explicit ScriptedPrompter(std::deque<app::Answer> script = {}, app::Answer whenNoneLeft = app::Answer::Cancel)
      : answers(std::move(script)), whenNoneLeft_(whenNoneLeft) {}

  bool askYesNo(QWidget*, const QString& message) override {
    asked.push_back(message);
    return next() == app::Answer::Yes;
  }
  app::Answer askYesNoCancel(QWidget*, const QString& message) override {
    asked.push_back(message);
    return next();
  }
  void showError(QWidget*, const QString& message) override { errors.push_back(message); }
  void showWarning(QWidget*, const QString& message) override { warnings.push_back(message); }

  std::deque<app::Answer> answers;
  std::vector<QString> asked;
  std::vector<QString> errors;
  std::vector<QString> warnings;

 private:
  app::Answer next() {
    if (answers.empty()) return whenNoneLeft_;
    const app::Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  app::Answer whenNoneLeft_;
};

}  // namespace tomvik::testing
