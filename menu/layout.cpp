#include "menu/layout.h"

#include "settings/settings.h"
#include "ui/controls.h"
#include "ui/font_numbers.h"
#include "ui/image_store.h"

namespace menu {

namespace {

settings::Colour Active(settings::ColourIndex index) { return settings::ActiveColours()[index]; }

void RegisterLabel(int control, settings::Colour colour) {
  ui::SetColours(kMenuWindow, control, {colour, 0, true});
  LabelColours().push_back({control, colour});
}

}  // namespace

LayoutCursor StartLayout(int screen_width, int screen_height, int column_width) {
  LayoutCursor cursor;
  cursor.column_width = column_width;
  cursor.MaxColumns = column_width > 0 ? (screen_width - 52) / column_width : 0;
  cursor.inner_height = screen_height - 65;
  cursor.Bottom = cursor.inner_height - 15;
  return cursor;
}

int ColumnX(const LayoutCursor& cursor) { return cursor.Left + (cursor.Column - 1) * cursor.column_width; }

int InnerWidth(const LayoutCursor& cursor) { return cursor.Left + cursor.Column * cursor.column_width; }

void DrawSeparator(int x, int y, int image) {
  if (!ui::HasImage(image)) return;
  int width = 0, height = 0;
  ui::ImageSize(image, &width, &height);
  ui::AddImage(kMenuWindow, ui::kAutoNumber, {x, y, width, height}, image);
}

void StartNewColumn(LayoutCursor& cursor) {
  ui::SetInnerSize(kMenuWindow, InnerWidth(cursor) + cursor.column_width, cursor.inner_height);
  DrawSeparator(InnerWidth(cursor), kTop, settings::kVerticalLineImage);
  cursor.Column += 1;
  cursor.Y = kTop;
}

int SectionFrame(LayoutCursor& cursor, const std::string& title) {
  const int x = ColumnX(cursor) + 5;
  DrawSeparator(x, cursor.Y, settings::kHorizontalLineImage);
  cursor.Y += 1;
  const int label = ui::AddText(kMenuWindow, ui::kAutoNumber, {x, cursor.Y, cursor.column_width - 10, kTitleHeight},
                                " " + title, ui::kFontLargeTitle);
  ui::SetColours(kMenuWindow, label, {Active(settings::kTitleColor), Active(settings::kTitleBackColor), false});
  cursor.Y += kTitleHeight + kTitleGap;
  return label;
}

void LinkRow(LayoutCursor& cursor, int link_control, int icon_control, int image, const std::string& text) {
  const int x = ColumnX(cursor);
  ui::AddImage(kMenuWindow, icon_control, {x + 5, cursor.Y, 16, 16}, image);
  ui::AddLink(kMenuWindow, link_control, {x + 24, cursor.Y, cursor.column_width - 28, kRowHeight}, text,
              ui::kFontLink, Active(settings::kLinkHiColor));
  RegisterLabel(link_control, Active(settings::kLinkColor));
  cursor.Y += kRowHeight;
}

void AddEntryRow(LayoutCursor& cursor, EntryRow row) {
  const int x = ColumnX(cursor);
  if (row.icon != 0) ui::AddIconHandle(kMenuWindow, ui::kAutoNumber, {x + 5, cursor.Y, 16, 16}, row.icon);
  const int link = ui::AddLink(kMenuWindow, ui::kAutoNumber, {x + 24, cursor.Y, cursor.column_width - 28, kRowHeight},
                               row.text, ui::kDefaultFont, Active(settings::kLinkHiColor));
  if (settings::Current().ShowLinkToolTips) ui::SetTooltip(kMenuWindow, link, row.tooltip);
  row.binding.ControlId = link;
  MenuBindings().push_back(std::move(row.binding));
  RegisterLabel(link, Active(settings::kLinkColor));
  cursor.Y += kRowHeight;
}

}  // namespace menu
