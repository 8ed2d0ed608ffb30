// The menu window's layout: geometry, columns, section frames, paging of the programs and the
// bindings left for launching, checked on the controls the build asks the runtime for.
#include <gtest/gtest.h>

#include "menu/layout.h"
#include "menu/menu_bindings.h"
#include "menu/menu_window.h"
#include "menu/view_state.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "settings/usage_lists.h"
#include "sources/catalogue.h"
#include "sources/recent_documents.h"
#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fakes.h"
#include "ui/font_numbers.h"

namespace {

using fakes::ControlKind;
using fakes::FakeControl;
using sources::CatalogueRecord;

class MenuWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    settings::Current() = settings::Settings{};
    settings::ActiveColours() = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    settings::MostUsed().clear();
    settings::LastUsed().clear();
    menu::View() = menu::ViewState{};
    sources::ResetCatalogues();
    platform::MutableEnv().screen_right = 1920;
    platform::MutableEnv().screen_bottom = 1080;
    platform::MutableEnv().recent_folder = "C:\\Recent\\";
  }

  // Everything off and collapsed unless a test turns it on.
  void Quiet() {
    settings::Settings& options = settings::Current();
    options.ShowActiveTasks = options.ShowMostUsed = options.ShowLastUsed = 0;
    options.ShowDocsImmediate = 0;
  }

  // A catalogue of `groups` top-level groups of `entries` programs each.
  static void Publish(int groups, int entries, const std::string& extension = "exe") {
    sources::Catalogue catalogue;
    for (int g = 0; g < groups; ++g) {
      const std::string name = "Groupe" + std::to_string(g) + "\\";
      catalogue.push_back({sources::kGroupHeader, name, entries, "C:\\Menu\\" + name, "", "", "", 0, ""});
      for (int e = 0; e < entries; ++e) {
        catalogue.push_back({sources::kProgramEntry, "P" + std::to_string(e) + ".lnk", 0, "C:\\Menu\\" + name,
                             "C:\\p" + std::to_string(e) + "." + extension, extension, "", 0, ""});
      }
    }
    sources::PublishCatalogue(catalogue);
  }

  static const fakes::WindowState& Window() { return fakes::Recorder().window_states[menu::kMenuWindow]; }
  static const FakeControl* Control(int number) { return fakes::FindFakeControl(menu::kMenuWindow, number); }
  // Entry links (the fixed link rows have numbers below the automatic ones).
  static std::vector<FakeControl> Links() {
    std::vector<FakeControl> links;
    for (const FakeControl& control : fakes::ControlsOf(menu::kMenuWindow))
      if (control.kind == ControlKind::Link && control.number >= ui::kFirstAutoNumber) links.push_back(control);
    return links;
  }
  static std::vector<FakeControl> TextsStartingWith(const std::string& prefix) {
    std::vector<FakeControl> found;
    for (const FakeControl& control : fakes::ControlsOf(menu::kMenuWindow))
      if (control.kind == ControlKind::Text && control.text.rfind(prefix, 0) == 0) found.push_back(control);
    return found;
  }
};

TEST_F(MenuWindow, GeometryOfAFullHdScreen) {
  const menu::LayoutCursor cursor = menu::StartLayout(1920, 1080, 190);
  EXPECT_EQ(cursor.Bottom, 1000);
  EXPECT_EQ(cursor.MaxColumns, 9);
  Quiet();
  menu::BuildMenuWindow();
  const ui::WindowShape& shape = fakes::FakeUi().windows.at(menu::kMenuWindow);
  EXPECT_EQ(shape.title, "Start - Kestrivalume");
  EXPECT_EQ(shape.x, 16);
  EXPECT_EQ(shape.y, 0);
  EXPECT_EQ(shape.inner_width, 216);
  EXPECT_EQ(shape.inner_height, 1015);
  EXPECT_TRUE(shape.drop_shadow);
  EXPECT_TRUE(shape.draws_elements) << "one window, no child window per row";
  EXPECT_EQ(fakes::FakeUi().window_alpha.at(menu::kMenuWindow), 230);
  EXPECT_TRUE(Window().shown);
}

// At 144 DPI the same screen holds 1280 x 720 layout units: the menu is laid out for that and
// opens beside the button window, which is 24 pixels wide there.
TEST_F(MenuWindow, AtHighDpiTheLayoutTakesTheScreenInLayoutUnits) {
  platform::MutableEnv().screen_dpi = 144;
  Publish(12, 40);
  menu::View().ProgramsShown = true;
  menu::BuildMenuWindow();
  platform::MutableEnv().screen_dpi = 96;
  const ui::WindowShape& shape = fakes::FakeUi().windows.at(menu::kMenuWindow);
  EXPECT_EQ(shape.x, 24);
  EXPECT_EQ(shape.inner_height, 720 - 65);
  EXPECT_EQ(Window().inner_width, 26 + 6 * 190 + 26);  // (1280 - 52) / 190 columns
}

TEST_F(MenuWindow, QuietMenuShowsTheToolColumnTwoLinksAndTheFixedColumn) {
  Quiet();
  menu::BuildMenuWindow();
  EXPECT_EQ(Window().inner_width, 26 + 190 + 26);
  for (int number : {2, 3, 9, 10, 6, 7, 8, 5, 1}) ASSERT_NE(Control(number), nullptr) << number;
  EXPECT_EQ(Control(3)->box.y, 47);
  EXPECT_EQ(Control(9)->image, 14);  // recent documents collapsed
  EXPECT_EQ(Control(10)->image, 12);
  EXPECT_EQ(Control(5)->tooltip, "Paramètres");
  EXPECT_EQ(Control(13)->text, "Document récents ...");
  EXPECT_EQ(Control(13)->box.x, 26 + 24);
  EXPECT_EQ(Control(38)->image, 13);
  EXPECT_EQ(Control(12)->text, "Lancer les programmes ...");
  EXPECT_EQ(Control(12)->box.y, Control(13)->box.y + 36);
  EXPECT_EQ(Control(23)->box.x, 216 + 5);
  EXPECT_EQ(Control(23)->box.y, 194);
  EXPECT_EQ(Control(23)->tooltip, "Arrêter l'ordinateurr");
  EXPECT_TRUE(menu::MenuBindings().empty());
  EXPECT_EQ(menu::LabelColours().size(), 2u);
}

TEST_F(MenuWindow, ProgramsFillColumnsAndStopAtTheLastOne) {
  Quiet();
  menu::View().ProgramsShown = true;
  Publish(60, 10);  // 60 groups of 195 pixels: 5 fit in a column of 1000
  menu::BuildMenuWindow();
  const std::string stop = menu::View().ProgramsPageStart;
  EXPECT_FALSE(stop.empty());
  EXPECT_EQ(Window().inner_width, 26 + 9 * 190 + 26);
  EXPECT_EQ(Control(14)->text, "Plus de programmes ...");
  EXPECT_EQ(TextsStartingWith(" Lancer les programmes").at(0).text, " Lancer les programmes ...");
  EXPECT_FALSE(menu::View().ProgramsShown);  // back to ShowProgImmediate
  // The next page starts with the group that did not fit.
  menu::CloseMenuWindow();
  menu::View().ProgramsShown = true;
  menu::BuildMenuWindow();
  const std::string group = stop.substr(8, stop.size() - 9);  // "C:\Menu\Groupe44\" -> "Groupe44"
  EXPECT_EQ(TextsStartingWith(" Groupe").at(0).text, " " + group);
}

TEST_F(MenuWindow, AGroupTallerThanAColumnRunsPastTheBottomOfAnEmptyColumn) {
  Quiet();
  menu::View().ProgramsShown = true;
  Publish(2, 60);  // 60 rows: 1095 pixels
  menu::BuildMenuWindow();
  const auto titles = TextsStartingWith(" Groupe");
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0].box.x, 26 + 190 + 5);  // moved to column 2, placed at its top
  EXPECT_EQ(titles[1].box.x, 26 + 2 * 190 + 5);
  EXPECT_GT(Links().back().box.y, 1000);
  EXPECT_TRUE(menu::View().ProgramsPageStart.empty());
}

TEST_F(MenuWindow, GroupTitlesShowTheirLevelAndOwnName) {
  Quiet();
  menu::View().ProgramsShown = true;
  sources::PublishCatalogue({{sources::kGroupHeader, "", 1, "C:\\M\\", "", "", "", 0, ""},
                             {sources::kProgramEntry, "Top.lnk", 0, "C:\\M\\", "C:\\t.exe", "exe", "", 0, ""},
                             {sources::kGroupHeader, "Accessoires\\", 0, "C:\\M\\Accessoires\\", "", "", "", 0, ""},
                             {sources::kGroupHeader, "Accessoires\\Outils système\\", 1,
                              "C:\\M\\Accessoires\\Outils système\\", "", "", "", 0, ""},
                             {sources::kProgramEntry, "Outil.lnk", 0, "C:\\M\\Accessoires\\Outils système\\",
                              "C:\\o.ms", "ms", "", 0, ""}});
  settings::Current().ShowFilterDoc = 0;  // "ms" still shows: it is part of the application list
  menu::BuildMenuWindow();
  const auto level1 = TextsStartingWith(" Accessoires");
  ASSERT_EQ(level1.size(), 1u);
  EXPECT_EQ(level1[0].colours.background, 4u);  // SubTitleBackColor
  EXPECT_FALSE(level1[0].colours.transparent);
  const auto level2 = TextsStartingWith(" ·Outils système");
  ASSERT_EQ(level2.size(), 1u);
  EXPECT_TRUE(level2[0].colours.transparent);
  EXPECT_EQ(level2[0].colours.text, 6u);  // FontColor
  ASSERT_EQ(menu::MenuBindings().size(), 2u);
  EXPECT_EQ(menu::MenuBindings()[1].LaunchPath, "C:\\M\\Accessoires\\Outils système\\Outil.lnk");
  EXPECT_EQ(menu::MenuBindings()[1].TargetPath, "C:\\o.ms");
  EXPECT_EQ(menu::MenuBindings()[1].CountsAsUse, 1);
  EXPECT_EQ(Links()[0].text, "Top");
  EXPECT_EQ(Links()[0].tooltip, "Top [C:\\t.exe]");
}

TEST_F(MenuWindow, ShownNamesStandForFileNamesInTitlesRowsAndTooltips) {
  Quiet();
  menu::View().ProgramsShown = true;
  sources::PublishCatalogue({{sources::kGroupHeader, "", 0, "C:\\M\\", "", "", "", 0, ""},
                             {sources::kGroupHeader, "Accessories\\", 0, "C:\\M\\Accessories\\", "", "", "", 0, ""},
                             {sources::kGroupHeader, "Accessories\\System Tools\\", 1,
                              "C:\\M\\Accessories\\System Tools\\", "", "", "", 0, "Outils système Windows"},
                             {sources::kProgramEntry, "Command Prompt.lnk", 0, "C:\\M\\Accessories\\System Tools\\",
                              "C:\\cmd.exe", "exe", "", 0, "Invite de commandes"}});
  menu::BuildMenuWindow();
  EXPECT_EQ(TextsStartingWith(" Accessories").size(), 1u);
  EXPECT_EQ(TextsStartingWith(" ·Outils système Windows").size(), 1u);
  EXPECT_EQ(Links()[0].text, "Invite de commandes");
  EXPECT_EQ(Links()[0].tooltip, "Invite de commandes [C:\\cmd.exe]");
  ASSERT_EQ(menu::MenuBindings().size(), 1u);
  EXPECT_EQ(menu::MenuBindings()[0].LaunchPath, "C:\\M\\Accessories\\System Tools\\Command Prompt.lnk");
}

TEST_F(MenuWindow, FiltersHideTheirKindOfEntry) {
  Quiet();
  menu::View().ProgramsShown = true;
  sources::PublishCatalogue({{sources::kGroupHeader, "", 3, "C:\\M\\", "", "", "", 0, ""},
                             {sources::kProgramEntry, "A.lnk", 0, "C:\\M\\", "C:\\a.exe", "exe", "", 0, ""},
                             {sources::kProgramEntry, "H.lnk", 0, "C:\\M\\", "C:\\h.chm", "chm", "", 0, ""},
                             {sources::kProgramEntry, "D.lnk", 0, "C:\\M\\", "C:\\d", "", "", 0, ""}});
  settings::Current().ShowFilterHlp = 0;
  menu::BuildMenuWindow();
  ASSERT_EQ(Links().size(), 2u);
  EXPECT_EQ(Links()[0].text, "A");
  EXPECT_EQ(Links()[1].text, "D");
}

TEST_F(MenuWindow, UsageSectionsDropVanishedFilesAndShowAtMostTheMaximum) {
  Quiet();
  settings::Current().ShowLastUsed = 1;
  settings::Current().LastUsedMaximum = 2;
  platform::SetHtmHandler("C:\\Web\\web.exe");
  fakes::FakeServices().path_kinds = {{"C:\\a.lnk", services::PathKind::File},
                                      {"C:\\w.url", services::PathKind::File},
                                      {"C:\\dir", services::PathKind::Folder},
                                      {"C:\\c.lnk", services::PathKind::File}};
  settings::LastUsed() = {{1350378300, "A", "C:\\a.lnk", "C:\\a.exe"},
                          {1350378200, "Gone", "C:\\gone.lnk", ""},
                          {1350378100, "Dir", "C:\\dir", ""},
                          {1350378000, "Web", "C:\\w.url", ""},
                          {1350377900, "C", "C:\\c.lnk", "C:\\c.exe"}};
  menu::BuildMenuWindow();
  ASSERT_EQ(Links().size(), 2u);
  EXPECT_EQ(Links()[0].tooltip, "A [C:\\a.exe] (2012/10/16 09:05:00)");
  EXPECT_EQ(Links()[1].tooltip, "Web [C:\\Web\\web.exe] (2012/10/16 09:00:00)");
  EXPECT_EQ(menu::MenuBindings()[1].TargetPath, "C:\\Web\\web.exe");
  ASSERT_EQ(settings::LastUsed().size(), 3u);  // the two gone entries left the list
  EXPECT_EQ(settings::LastUsed()[2].Label, "C");
}

// Entries on a network share are neither checked nor asked for their file's icon while the menu
// opens (a server that is away would freeze it for seconds): they stay, with their type's icon.
TEST_F(MenuWindow, UsageEntriesOnTheNetworkAreShownWithoutTouchingTheirFiles) {
  Quiet();
  settings::Current().ShowMostUsed = 1;
  settings::Current().MostUsedMaximum = 5;
  fakes::FakeServices().network_drives = {'Z'};
  settings::MostUsed() = {{9, "Partage", "\\\\serveur\\outils\\Partage.lnk", "\\\\serveur\\outils\\partage.exe"},
                          {8, "Lecteur", "Z:\\outils\\lecteur.exe", "Z:\\outils\\lecteur.exe"},
                          {7, "Local", "C:\\local.exe", "C:\\local.exe"}};
  menu::BuildMenuWindow();
  ASSERT_EQ(Links().size(), 2u);
  EXPECT_EQ(Links()[0].text, "Partage");
  EXPECT_EQ(Links()[1].text, "Lecteur");
  EXPECT_EQ(settings::MostUsed().size(), 2u) << "the missing local file left the list";
  for (const std::string& question : fakes::FakeServices().icon_questions) {
    EXPECT_EQ(question.find("serveur"), std::string::npos) << question;
    EXPECT_EQ(question.find("Z:"), std::string::npos) << question;
  }
}

TEST_F(MenuWindow, AllDocumentsSpreadOverColumnsWithoutPrograms) {
  Quiet();
  menu::View().DocumentsShown = true;
  menu::View().AllDocumentsShown = true;
  menu::View().ProgramsShown = true;
  Publish(1, 1);
  for (int i = 0; i < 120; ++i) sources::RecentDocuments().push_back({"d" + std::to_string(i) + ".txt", "", "txt"});
  fakes::FakeServices().registry.clear();  // the reader finds nothing new; keep what the test put
  menu::BuildMenuWindow();
  EXPECT_FALSE(menu::View().AllDocumentsShown);
  EXPECT_TRUE(TextsStartingWith(" Lancer les programmes").empty());
  EXPECT_EQ(Control(11), nullptr);
}

// No click waits for the first catalogue: the section shows its title alone, and the menu asks
// to be built again once a catalogue came (only when it shows the programs and is still open).
TEST_F(MenuWindow, WithoutACatalogueTheProgramsShowTheirTitleAndAwaitIt) {
  Quiet();
  menu::View().ProgramsShown = true;
  menu::BuildMenuWindow();
  EXPECT_EQ(fakes::FakeServices().slept_ms, 0);
  EXPECT_EQ(TextsStartingWith(" Lancer les programmes").size(), 1u);
  EXPECT_TRUE(Links().empty());
  EXPECT_FALSE(menu::AwaitsArrivedCatalogue()) << "none came yet";
  Publish(1, 3);
  EXPECT_TRUE(menu::AwaitsArrivedCatalogue());
  menu::CloseMenuWindow();  // as the main loop builds it again
  menu::BuildMenuWindow();
  EXPECT_EQ(Links().size(), 3u);
  EXPECT_FALSE(menu::AwaitsArrivedCatalogue());

  sources::ResetCatalogues();
  menu::CloseMenuWindow();
  menu::View().ProgramsShown = false;  // collapsed: nothing to wait for
  menu::BuildMenuWindow();
  Publish(1, 3);
  EXPECT_FALSE(menu::AwaitsArrivedCatalogue());
  menu::CloseMenuWindow();
  menu::View().ProgramsShown = true;
  sources::ResetCatalogues();
  menu::BuildMenuWindow();
  menu::CloseMenuWindow();
  Publish(1, 3);
  EXPECT_FALSE(menu::AwaitsArrivedCatalogue()) << "closed meanwhile";
}

TEST_F(MenuWindow, RunningProgramsNeverStartAColumn) {
  Quiet();
  settings::Current().ShowActiveTasks = 1;
  for (services::WindowHandle w = 1; w <= 80; ++w)
    fakes::FakeServices().windows.push_back({w, true, false, "Fenêtre " + std::to_string(w), 100 + w});
  menu::BuildMenuWindow();
  EXPECT_EQ(Window().inner_width, 26 + 2 * 190 + 26);  // only the collapsed links moved on
  EXPECT_EQ(menu::MenuBindings().size(), 80u);
  EXPECT_EQ(menu::MenuBindings()[0].WindowHandle, 1u);
  EXPECT_EQ(menu::MenuBindings()[0].CountsAsUse, 0);
}

}  // namespace
