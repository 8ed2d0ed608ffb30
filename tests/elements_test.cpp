// The rules over the elements a window draws itself: what the pointer is over, the hover rule,
// and what a screen reader is told, at any DPI.
#include "ui/elements.h"

#include <gtest/gtest.h>

using ui::Element;
using ui::ElementKind;
using ui::ElementList;

namespace {

Element Make(int number, ElementKind kind, ui::Box box, const std::string& text = "", const std::string& tip = "") {
  Element element;
  element.number = number;
  element.kind = kind;
  element.box = box;
  element.text = text;
  element.tooltip = tip;
  return element;
}

// A menu's row (icon, then link), a title, a separator, a plain rectangle and a tool button.
ElementList MenuLike() {
  ElementList list;
  list.items = {
      Make(2, ElementKind::IconButton, {5, 5, 16, 16}, "", "Fermer la fenêtre"),
      Make(1000, ElementKind::Picture, {26, 5, 1, 900}),  // vertical separator
      Make(1001, ElementKind::Text, {31, 6, 180, 18}, " Programmes en cours"),
      Make(1002, ElementKind::Picture, {31, 27, 16, 16}),  // the row's icon
      Make(1003, ElementKind::Link, {50, 27, 162, 18}, "Bloc-notes", "Bloc-notes [C:\\notepad.exe]"),
      Make(1004, ElementKind::Container, {31, 50, 180, 1}),
      Make(1005, ElementKind::Link, {50, 45, 162, 18}, "Registre"),
  };
  return list;
}

}  // namespace

TEST(Elements, ClicksGoToLinksAndButtonsAndPassThroughTextsAndPicturesAtAnyDpi) {
  const ElementList list = MenuLike();
  EXPECT_EQ(ui::ClickableAt(list, 10, 10, 96), 2);
  EXPECT_EQ(ui::ClickableAt(list, 60, 30, 96), 1003);
  EXPECT_EQ(ui::ClickableAt(list, 211, 44, 96), 1003);   // last pixel of the link
  EXPECT_EQ(ui::ClickableAt(list, 212, 30, 96), ui::kNoControl);  // one past it
  EXPECT_EQ(ui::ClickableAt(list, 35, 30, 96), ui::kNoControl);   // the icon lets it through
  EXPECT_EQ(ui::ClickableAt(list, 40, 10, 96), ui::kNoControl);   // so does the title
  // At 144 DPI the link lies from (75, 41) to (318, 68) exclusive.
  EXPECT_EQ(ui::ClickableAt(list, 60, 30, 144), ui::kNoControl);
  EXPECT_EQ(ui::ClickableAt(list, 75, 41, 144), 1003);
  EXPECT_EQ(ui::ClickableAt(list, 317, 67, 144), 1003);
  EXPECT_EQ(ui::ClickableAt(list, 317, 68, 144), 1005);  // the next row starts at 45 -> 68
}

TEST(Elements, AHoverStartsAtTheFirstMoveAndEndsWhenThePointerLeavesOrTheWindowIsDisabled) {
  ElementList list = MenuLike();
  EXPECT_FALSE(ui::HoverMove(list, 10, 10, 96)) << "a button has no hover colour";
  EXPECT_EQ(list.hot, ui::kNoControl);
  EXPECT_TRUE(ui::HoverMove(list, 60, 30, 96));
  EXPECT_EQ(list.hot, 1003);
  EXPECT_FALSE(ui::HoverMove(list, 61, 31, 96)) << "moves within the link change nothing";
  EXPECT_FALSE(ui::HoverCheck(list, true, 61, 31, 96, true));
  EXPECT_TRUE(ui::HoverMove(list, 60, 50, 96)) << "straight onto the next link";
  EXPECT_EQ(list.hot, 1005);
  EXPECT_TRUE(ui::HoverCheck(list, true, 61, 51, 96, false)) << "disabled window";
  EXPECT_EQ(list.hot, ui::kNoControl);
  EXPECT_TRUE(ui::HoverMove(list, 60, 30, 96));
  EXPECT_TRUE(ui::HoverCheck(list, true, 300, 30, 96, true)) << "pointer gone";
  EXPECT_TRUE(ui::HoverMove(list, 60, 30, 96));
  EXPECT_TRUE(ui::HoverCheck(list, false, 0, 0, 96, true)) << "pointer unknown (secure desktop)";
  EXPECT_FALSE(ui::HoverCheck(list, true, 60, 30, 96, true)) << "nothing hot, nothing to clear";
  // A removed hot element leaves nothing hot behind.
  EXPECT_TRUE(ui::HoverMove(list, 60, 30, 96));
  ui::RemoveElement(list, 1003);
  EXPECT_EQ(list.hot, ui::kNoControl);
}

TEST(Elements, AReaderSeesTitlesLinksAndButtonsButNotIconsSeparatorsOrRectangles) {
  const ElementList list = MenuLike();
  EXPECT_EQ(ui::ReaderChildren(list), (std::vector<int>{2, 1001, 1003, 1005}));
  const Element* button = ui::ReaderChild(list, ui::ChildIdOf(2));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(ui::ReaderName(*button), "Fermer la fenêtre");
  EXPECT_EQ(ui::RoleOf(*button), ui::ReaderRole::PushButton);
  const Element* link = ui::ReaderChild(list, 1004);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(ui::ReaderName(*link), "Bloc-notes");
  EXPECT_EQ(ui::RoleOf(*link), ui::ReaderRole::Link);
  EXPECT_EQ(ui::RoleOf(*ui::ReaderChild(list, 1002)), ui::ReaderRole::StaticText);
  // Ids of icons, separators, unknown numbers and out-of-range values name no child.
  for (const long id : {1001L, 1003L, 1005L, 0L, -1L, 99999L, 0x7FFFFFFFL}) EXPECT_EQ(ui::ReaderChild(list, id), nullptr) << id;
  // A picture with something to say is a graphic.
  Element picture = Make(7, ElementKind::Picture, {0, 0, 16, 16}, "", "Aperçu");
  EXPECT_TRUE(ui::ReadByScreenReaders(picture));
  EXPECT_EQ(ui::RoleOf(picture), ui::ReaderRole::Graphic);
  EXPECT_FALSE(ui::ReadByScreenReaders(Make(8, ElementKind::Text, {0, 0, 5, 5})));
}

TEST(Elements, NavigationAndHitTestKeepToTheReadersChildren) {
  const ElementList list = MenuLike();
  EXPECT_EQ(ui::Navigate(list, ui::Direction::First), 2);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Last), 1005);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Next, 2), 1001);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Next, 1001), 1003);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Previous, 1003), 1001);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Next, 1005), ui::kNoControl);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Previous, 2), ui::kNoControl);
  EXPECT_EQ(ui::Navigate(list, ui::Direction::Next, 1002), ui::kNoControl) << "an icon is not a child";
  EXPECT_EQ(ui::Navigate(ElementList{}, ui::Direction::First), ui::kNoControl);
  // The title is found though it takes no clicks; the icon is not, the window answers for it.
  EXPECT_EQ(ui::ReaderChildAt(list, 40, 10, 96), 1001);
  EXPECT_EQ(ui::ReaderChildAt(list, 35, 30, 96), ui::kNoControl);
  EXPECT_EQ(ui::ReaderChildAt(list, 90, 60, 144), 1003);
}
