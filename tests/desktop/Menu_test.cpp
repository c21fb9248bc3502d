// The menus of the platform interface on the headless backend: building from rows, access by
// position and by command id in nested menus, and the choice of an item.
#include "platform/Menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/HeadlessPlatform.h"

namespace {

using K = MenuEntryKind;

constexpr MenuRow kRows[] = {
    {0, K::DropDown, 0, "&File"},
    {1, K::Item, 101, "&Open"},
    {1, K::Separator, 0, ""},
    {1, K::DropDown, 0, "&Recent"},
    {2, K::Item, 201, "One"},
    {2, K::DropDown, 0, "Deeper"},
    {3, K::CheckItem, 301, "Deep"},
    {1, K::Item, 102, "E&xit"},
    {0, K::DropDown, 0, "&View"},
    {1, K::CheckItem, 401, "&Status"},
    {3, K::Item, 999, "no menu at that depth"},
    {1, K::Item, 402, "&Results"},
};

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() : window({1, "", {}}, nullptr, nullptr) { BuildMenu(window.CreateMenuBar(), kRows); }
  Menu& Bar() { return *window.GetMenuBar(); }
  HeadlessDialog window;
};

class Recorder : public DialogEventHandler {
 public:
  bool OnDialogEvent(int controlId, DialogEvent event) override {
    if (event == DialogEvent::MenuCommand)
      commands.push_back(controlId);
    return true;
  }
  std::vector<int> commands;
};

}  // namespace

TEST_F(MenuTest, RowsBuildNestedMenusInOrder) {
  EXPECT_EQ(Bar().GetEntryCount(), 2);
  Menu* file = Bar().GetDropDown(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetEntryCount(), 4);
  const K kinds[] = {K::Item, K::Separator, K::DropDown, K::Item};
  const int ids[] = {101, 0, 0, 102};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    K kind = K::Item;
    ASSERT_TRUE(file->GetEntryKind(i, kind));
    EXPECT_EQ(kind, kinds[i]);
    EXPECT_EQ(file->GetEntryId(i), ids[i]);
  }
  EXPECT_EQ(file->GetEntryText(2), "&Recent");
  EXPECT_EQ(file->GetDropDown(2)->GetDropDown(1)->GetEntryText(0), "Deep");
  // A row deeper than any open menu is left out.
  EXPECT_FALSE(Bar().HasCommand(999));
  EXPECT_EQ(Bar().GetDropDown(1)->GetEntryCount(), 2);
  EXPECT_EQ(FindCommandPosition(*file, 102), 3);
  EXPECT_EQ(FindCommandPosition(*file, 201), -1);  // not searched below the menu
}

TEST_F(MenuTest, PositionsOutsideTheMenuChangeNothing) {
  Menu& file = *Bar().GetDropDown(0);
  K kind = K::Item;
  for (int position : {-1, 4, 100}) {
    SCOPED_TRACE(position);
    EXPECT_FALSE(file.GetEntryKind(position, kind));
    EXPECT_EQ(file.GetEntryId(position), 0);
    EXPECT_EQ(file.GetEntryText(position), "");
    EXPECT_FALSE(file.SetEntryText(position, "x"));
    EXPECT_EQ(file.GetDropDown(position), nullptr);
    EXPECT_FALSE(file.RemoveEntry(position));
  }
  EXPECT_FALSE(file.SetEntryText(1, "a separator has no text"));
  EXPECT_EQ(file.GetDropDown(0), nullptr);  // an item opens no menu
  EXPECT_EQ(file.GetEntryCount(), 4);
}

TEST_F(MenuTest, TextByPositionKeepsTheDropDownMenu) {
  Menu& file = *Bar().GetDropDown(0);
  ASSERT_TRUE(file.SetEntryText(2, "&Zuletzt"));
  EXPECT_EQ(file.GetEntryText(2), "&Zuletzt");
  ASSERT_NE(file.GetDropDown(2), nullptr);
  EXPECT_EQ(file.GetDropDown(2)->GetEntryCount(), 2);
  ASSERT_TRUE(Bar().SetEntryText(1, "&Ansicht"));
  EXPECT_EQ(Bar().GetEntryText(1), "&Ansicht");
}

TEST_F(MenuTest, CommandsAreFoundInNestedMenus) {
  EXPECT_TRUE(Bar().HasCommand(301));
  ASSERT_TRUE(Bar().SetCommandText(301, "Tief"));
  EXPECT_EQ(Bar().GetCommandText(301), "Tief");
  EXPECT_FALSE(Bar().GetDropDown(1)->HasCommand(301));  // only below the menu asked
  EXPECT_FALSE(Bar().SetCommandText(777, "none"));
  EXPECT_EQ(Bar().GetCommandText(777), "");
}

TEST_F(MenuTest, CheckMarksOnlyOnCheckItems) {
  EXPECT_TRUE(Bar().CheckCommand(401, true));
  EXPECT_TRUE(Bar().IsCommandChecked(401));
  EXPECT_TRUE(Bar().CheckCommand(301, true));
  EXPECT_TRUE(Bar().IsCommandChecked(301));
  EXPECT_FALSE(Bar().CheckCommand(101, true));
  EXPECT_FALSE(Bar().IsCommandChecked(101));
  EXPECT_TRUE(Bar().CheckCommand(401, false));
  EXPECT_FALSE(Bar().IsCommandChecked(401));
}

TEST_F(MenuTest, RemovingByIdAndByPosition) {
  ASSERT_TRUE(Bar().RemoveCommand(201));
  EXPECT_FALSE(Bar().HasCommand(201));
  EXPECT_EQ(Bar().GetDropDown(0)->GetDropDown(2)->GetEntryCount(), 1);
  EXPECT_FALSE(Bar().RemoveCommand(201));
  // A drop-down entry goes with its menu and everything in it.
  ASSERT_TRUE(Bar().GetDropDown(0)->RemoveEntry(2));
  EXPECT_FALSE(Bar().HasCommand(301));
  EXPECT_EQ(Bar().GetDropDown(0)->GetEntryCount(), 3);
  ASSERT_TRUE(Bar().RemoveEntry(0));
  EXPECT_EQ(Bar().GetEntryCount(), 1);
  EXPECT_EQ(Bar().GetEntryText(0), "&View");
}

TEST_F(MenuTest, ChosenItemsReachTheHandlerUnlessDisabled) {
  Recorder recorder;
  window.SetEventHandler(&recorder);
  EXPECT_TRUE(window.ChooseMenuCommand(301));
  ASSERT_TRUE(Bar().EnableCommand(402, false));
  EXPECT_FALSE(Bar().IsCommandEnabled(402));
  EXPECT_FALSE(window.ChooseMenuCommand(402));
  EXPECT_FALSE(window.ChooseMenuCommand(777));
  EXPECT_EQ(recorder.commands, std::vector<int>{301});
}

TEST(HeadlessMenuBar, MadeOnceAndRedrawnOnRequest) {
  HeadlessDialog window({1, "", {}}, nullptr, nullptr);
  EXPECT_EQ(window.GetMenuBar(), nullptr);
  Menu& bar = window.CreateMenuBar();
  (void)bar.AppendDropDown("&File");
  EXPECT_EQ(&window.CreateMenuBar(), &bar);
  EXPECT_EQ(window.CreateMenuBar().GetEntryCount(), 1);
  window.RedrawMenuBar();
  EXPECT_EQ(window.MenuRedraws(), 1);
}
