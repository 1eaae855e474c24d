#pragma once

// Our own assertions on controls, addressed by their form names. Each failure
// message names the control, so a table of checks stays readable.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/window.h"

namespace lanzhou_test {

// The texts of one column of a list view, row 0 first.
inline std::vector<std::string> ColumnTexts(const ui::Window& window, const std::string& listView,
                                            int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < window.RowCount(listView); ++row) {
    texts.push_back(window.Cell(listView, row, column));
  }
  return texts;
}

// The item texts of a combo box in index order.
inline std::vector<std::string> ItemTexts(const ui::Window& window, const std::string& comboBox) {
  std::vector<std::string> texts;
  for (int index = 0; index < window.ItemCount(comboBox); ++index) {
    texts.push_back(window.ItemText(comboBox, index));
  }
  return texts;
}

}  // namespace lanzhou_test

#define EXPECT_CONTROL_TEXT(window, name, expected) \
  EXPECT_EQ((window).Text(name), (expected)) << "text of " << (name)
#define ASSERT_CONTROL_TEXT(window, name, expected) \
  ASSERT_EQ((window).Text(name), (expected)) << "text of " << (name)

#define EXPECT_CONTROL_CHECKED(window, name) \
  EXPECT_TRUE((window).Checked(name)) << (name) << " should be checked"
#define EXPECT_CONTROL_UNCHECKED(window, name) \
  EXPECT_FALSE((window).Checked(name)) << (name) << " should be unchecked"

#define EXPECT_CONTROL_SELECTED(window, name) \
  EXPECT_TRUE((window).Selected(name)) << (name) << " should be selected"
#define EXPECT_CONTROL_NOT_SELECTED(window, name) \
  EXPECT_FALSE((window).Selected(name)) << (name) << " should not be selected"

#define EXPECT_CONTROL_ENABLED(window, name) \
  EXPECT_TRUE((window).Enabled(name)) << (name) << " should be enabled"
#define EXPECT_CONTROL_DISABLED(window, name) \
  EXPECT_FALSE((window).Enabled(name)) << (name) << " should be disabled"

#define EXPECT_CONTROL_INDEX(window, name, expected) \
  EXPECT_EQ((window).CurrentIndex(name), (expected)) << "current index of " << (name)

#define EXPECT_CONTROL_PAGE(window, name, expected) \
  EXPECT_EQ((window).CurrentPage(name), (expected)) << "current page of " << (name)

#define EXPECT_CONTROL_INTERVAL(window, name, expected) \
  EXPECT_EQ((window).Interval(name), (expected)) << "interval of " << (name)

#define EXPECT_CELL_TEXT(window, name, row, column, expected) \
  EXPECT_EQ((window).Cell(name, row, column), (expected))     \
      << "cell (" << (row) << ", " << (column) << ") of " << (name)

#define EXPECT_ROW_COUNT(window, name, expected) \
  EXPECT_EQ((window).RowCount(name), (expected)) << "rows of " << (name)
