#pragma once

#include <gtest/gtest.h>

#include "lang/InterfaceTexts.h"

// Every test starts from the tables as the program starts with them.
class TextTablesTest : public ::testing::Test {
 protected:
  TextTablesTest() { ResetTables(); }
  ~TextTablesTest() override { ResetTables(); }
  static void ResetTables() {
    MessageTexts() = TextTable(kMessageTextCount, kTableNeverFilled);
    DialogTexts() = TextTable(kDialogTextCount, kTableNoLanguage);
    ToolTipTexts() = TextTable(kToolTipTextCount, kTableNeverFilled);
    MenuTexts() = TextTable(kMenuTextCount, kTableNoLanguage);
  }
};
