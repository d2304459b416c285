#include <gtest/gtest.h>

#include <QTabWidget>

#include "app/shell/form_main.h"

TEST(FormMain, Placeholder) {
  tomvik::app::TFormMain form("/nonexistent", QDate(2024, 1, 15));
  auto* tabs = form.findChild<QTabWidget*>("PageControlMain");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 6);
}
