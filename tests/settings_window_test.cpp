// The settings window: its controls where the user expects them, the general options, the
// sliders' value texts, the "Effacer" questions and Apply (also for a value the user left alone).
#include "tests/settings_window_fixture.h"

#include "settings_window/transparency_percent.h"

namespace settings_window_test {
namespace {

using fakes::ControlKind;
using fakes::FakeUi;
using settings_window::OpacityOfPercent;
using settings_window::PercentShown;

struct Expected {
  int number;
  ControlKind kind;
  ui::Box box;
  const char* text;
};

// Every control of the window in creation order, with its exact place and text.
const Expected kControls[] = {
    {24, ControlKind::GroupBox, {10, 10, 336, 191}, "Général"},
    {25, ControlKind::CheckBox, {20, 33, 320, 18}, "Lancer automatiquement au démarrage de Windows"},
    {26, ControlKind::CheckBox, {20, 56, 320, 18}, "Afficher le menu automatiquement sans cliquer sur l'icône"},
    {27, ControlKind::CheckBox, {20, 79, 320, 18}, "Afficher les info-bulles en fournissant plus d'information sur le lien"},
    {28, ControlKind::CheckBox, {20, 106, 250, 18}, "Afficher les 'programmes en cours d'exécution'"},
    {29, ControlKind::CheckBox, {20, 129, 250, 18}, "Afficher 'Programmes les plus utilisés'"},
    {30, ControlKind::Button, {275, 128, 60, 20}, "Effacer"},
    {31, ControlKind::CheckBox, {20, 152, 250, 18}, "Afficher 'Programmes récents'"},
    {32, ControlKind::Button, {275, 151, 60, 20}, "Effacer"},
    {87, ControlKind::Text, {20, 177, 250, 18}, "'Documents récents' selon Windows"},
    {34, ControlKind::Button, {275, 174, 60, 20}, "Effacer"},
    {44, ControlKind::GroupBox, {10, 206, 336, 300}, "Afficher"},
    {45, ControlKind::Text, {20, 234, 250, 18}, "Largeur de la colonne  (190 pixels par défaut)"},
    {46, ControlKind::Text, {275, 232, 60, 18}, "190"},
    {47, ControlKind::Slider, {15, 252, 326, 18}, ""},
    {48, ControlKind::Text, {20, 285, 250, 18}, "Transparence  (10 % par défaut)"},
    {49, ControlKind::Text, {275, 283, 60, 18}, "10"},
    {50, ControlKind::Slider, {15, 303, 326, 18}, ""},
    {51, ControlKind::Text, {20, 341, 315, 18}, "Apparence (Standard ou Skin sélectionné)"},
    {55, ControlKind::DropDown, {20, 360, 315, 20}, ""},
    {56, ControlKind::ImageButton, {20, 390, 315, 100}, ""},
    {57, ControlKind::GroupBox, {357, 9, 333, 497}, "Apparence standard"},
    {59, ControlKind::Text, {368, 208, 312, 18}, "Sélectionnez l'élément et réglez la couleur ..."},
    {60, ControlKind::DropDown, {368, 226, 310, 20}, ""},
    {61, ControlKind::Image, {430, 252, 210, 10}, ""},
    {62, ControlKind::Text, {368, 266, 50, 18}, "Couleur"},
    {63, ControlKind::Slider, {420, 264, 230, 18}, ""},
    {64, ControlKind::Text, {655, 266, 20, 18}, "0"},
    {65, ControlKind::Text, {368, 286, 50, 18}, "Saturation"},
    {66, ControlKind::Slider, {420, 284, 230, 18}, ""},
    {67, ControlKind::Text, {655, 286, 20, 18}, "0"},
    {68, ControlKind::Text, {368, 306, 50, 18}, "Luminosité"},
    {69, ControlKind::Slider, {420, 304, 230, 18}, ""},
    {70, ControlKind::Text, {655, 306, 20, 18}, "0"},
    {71, ControlKind::Text, {368, 340, 50, 18}, "Rouge"},
    {72, ControlKind::Slider, {420, 338, 230, 18}, ""},
    {73, ControlKind::Text, {655, 340, 20, 18}, "0"},
    {74, ControlKind::Text, {368, 360, 50, 18}, "Vert"},
    {75, ControlKind::Slider, {420, 357, 230, 18}, ""},
    {76, ControlKind::Text, {655, 360, 20, 18}, "0"},
    {77, ControlKind::Text, {368, 380, 50, 18}, "Bleue"},
    {78, ControlKind::Slider, {420, 377, 230, 18}, ""},
    {79, ControlKind::Text, {655, 380, 20, 18}, "0"},
    {80, ControlKind::Button, {427, 410, 105, 20}, "Sélecteur couleurs"},
    {88, ControlKind::Button, {539, 410, 105, 20}, "Couleurs standards"},
    {81, ControlKind::Text, {368, 455, 113, 18}, "Image de fond"},
    {83, ControlKind::Button, {486, 452, 60, 20}, "Fichier"},
    {84, ControlKind::Button, {552, 452, 60, 20}, "Bureau"},
    {85, ControlKind::Button, {618, 452, 60, 20}, "Aucun"},
    {82, ControlKind::Text, {368, 475, 310, 18}, ""},
    {86, ControlKind::Button, {520, 515, 160, 28}, "Appliquer"},
    {58, ControlKind::Container, {368, 34, 310, 166}, ""},
};

class SettingsWindow : public SettingsWindowFixture {};

TEST_F(SettingsWindow, EveryControlInItsPlaceWithItsText) {
  settings_window::OpenSettingsWindow();
  const ui::WindowShape& shape = FakeUi().windows.at(kSettingsWindow);
  EXPECT_EQ(shape.title, "Paramètres - Kestrivalume");
  EXPECT_EQ(shape.inner_width, 700);
  EXPECT_EQ(shape.inner_height, 552);
  EXPECT_EQ(shape.frame, ui::Frame::CloseBox);
  EXPECT_TRUE(shape.centred);
  const fakes::WindowState& state = fakes::Recorder().window_states[kSettingsWindow];
  EXPECT_TRUE(state.shown);
  EXPECT_TRUE(state.has_colour_key);
  EXPECT_EQ(state.colour_key, 0xFF00FFu);
  EXPECT_TRUE(state.reports_moves);

  const std::vector<fakes::FakeControl> controls = fakes::ControlsOf(kSettingsWindow);
  ASSERT_EQ(controls.size(), std::size(kControls));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Expected& expected = kControls[i];
    const fakes::FakeControl& control = controls[i];
    SCOPED_TRACE(expected.number);
    EXPECT_EQ(control.number, expected.number);
    EXPECT_EQ(control.kind, expected.kind);
    EXPECT_EQ(control.box.x, expected.box.x);
    EXPECT_EQ(control.box.y, expected.box.y);
    EXPECT_EQ(control.box.width, expected.box.width);
    EXPECT_EQ(control.box.height, expected.box.height);
    EXPECT_EQ(control.text, expected.text);
    EXPECT_EQ(control.font, ui::kDefaultFont);
  }
}

TEST_F(SettingsWindow, ValuesAndLooksOfTheControls) {
  settings::Current().BackgroundFile = "C:\\Images\\plage.jpg";
  settings::Current().ShowLastUsed = 0;
  settings::Current().ShowLinkToolTips = -3;  // any non-zero value is on
  settings_window::OpenSettingsWindow();
  for (int box : {25, 26, 27, 28, 29}) EXPECT_TRUE(Find(box)->checked) << box;
  EXPECT_FALSE(Find(31)->checked);
  EXPECT_EQ(Find(47)->value, 190);
  EXPECT_EQ(Find(50)->value, 10);
  EXPECT_EQ(Find(63)->maximum, 360);
  EXPECT_EQ(Find(49)->edge, ui::TextEdge::Sunken);
  EXPECT_EQ(Find(49)->align, ui::TextAlign::Centre);
  EXPECT_EQ(Find(79)->align, ui::TextAlign::Right);
  EXPECT_EQ(Find(82)->text, "plage.jpg");
  EXPECT_EQ(Find(82)->tooltip, "C:\\Images\\plage.jpg");
  EXPECT_EQ(Find(58)->colours.background, 0xFF00FFu);
  EXPECT_EQ(Find(61)->image, 30);
  ASSERT_EQ(Find(60)->items.size(), 12u);
  EXPECT_EQ(Find(60)->items[11], "Ligne: Horizontal");
  EXPECT_EQ(Find(60)->selection, -1);
}

TEST_F(SettingsWindow, SlidersShowTheirValueAndTheOpacityFollows) {
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(FakeUi().window_alpha[kPreviewWindow], 230);
  Slide(47, 222);
  EXPECT_EQ(TextOf(46), "222");
  Slide(50, 30);
  EXPECT_EQ(TextOf(49), "30");
  EXPECT_EQ(FakeUi().window_alpha[kPreviewWindow], 255 - 76);
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 190);  // only Apply changes the settings
  EXPECT_EQ(settings::Current().Transparency, 230);
}

TEST_F(SettingsWindow, PercentageRoundTripForEverySliderPosition) {
  EXPECT_EQ(PercentShown(230), 10);
  EXPECT_EQ(OpacityOfPercent(10), 230);
  EXPECT_EQ(OpacityOfPercent(0), 255);
  EXPECT_EQ(OpacityOfPercent(50), 128);
  for (int position = 0; position <= 50; ++position) {
    settings_window::OpenSettingsWindow();
    Slide(50, position);
    settings_window::ApplySettingsWindow();
    EXPECT_EQ(settings::Current().WindowsTransparency, position == 0 ? 0 : 1) << position;
    settings_window::OpenSettingsWindow();
    EXPECT_EQ(TextOf(49), std::to_string(position));
    EXPECT_EQ(Find(50)->value, position);
    settings_window::ApplySettingsWindow();
  }
}

TEST_F(SettingsWindow, ApplyTakesTheControlsSavesClosesAndLoads) {
  ListSkins({"Nuit"});
  WriteSkinFile("Nuit", "skininfo.txt", "ListingColor = #102030\r\n");
  settings_window::SelectedElement() = 3;
  settings_window::OpenSettingsWindow();
  ui::SetChecked(kSettingsWindow, 25, false);
  ui::SetChecked(kSettingsWindow, 28, false);
  ui::SetChecked(kSettingsWindow, 31, false);
  Slide(47, 300);
  Slide(50, 0);
  Choose(55, 1);
  settings_window::ApplySettingsWindow();

  const settings::Settings& options = settings::Current();
  EXPECT_EQ(options.LoadOnWindowsStart, 0);
  EXPECT_EQ(options.NoMouseClickNeeded, 1);
  EXPECT_EQ(options.ShowActiveTasks, 0);
  EXPECT_EQ(options.ShowMostUsed, 1);
  EXPECT_EQ(options.ShowLastUsed, 0);
  EXPECT_EQ(options.DisplayColumnWidth, 300);
  EXPECT_EQ(options.Transparency, 255);
  EXPECT_EQ(options.WindowsTransparency, 0);
  EXPECT_EQ(options.SelectedSkin, "Nuit");
  EXPECT_EQ(settings_window::SelectedElement(), -1);
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(FakeUi().windows.count(kPreviewWindow), 0u);
  const std::string saved = SavedPrefs();
  EXPECT_NE(saved.find("Transparency = 255\r\n"), std::string::npos);
  EXPECT_NE(saved.find("WindowsTransparency = 0\r\n"), std::string::npos);
  EXPECT_NE(saved.find("SelectedSkin = Nuit\r\n"), std::string::npos);
  EXPECT_NE(saved.find("DisplayColumnWidth = 300\r\n"), std::string::npos);
  EXPECT_EQ(settings::ActiveColours()[settings::kListingColor], 0x302010u);  // loaded again, with the skin

  settings_window::OpenSettingsWindow();
  Choose(55, 0);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().SelectedSkin, "");
}

// A close request that arrives after the window is gone (a second click on the close box)
// must not take empty controls for the user's choice.
TEST_F(SettingsWindow, ApplyWithoutTheWindowChangesNothing) {
  settings::Current().DisplayColumnWidth = 222;
  settings::MostUsed() = {{3, "Bloc-notes", "", ""}};
  FakeUi().answers = {ui::Answer::Yes};
  Press(30);  // a late report from a closed window
  EXPECT_EQ(settings::MostUsed().size(), 1u);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 222);
  EXPECT_EQ(settings::Current().LoadOnWindowsStart, 1);
  EXPECT_EQ(SavedPrefs(), "<missing>");
}

TEST_F(SettingsWindow, ValuesTheUserDidNotMoveAreKept) {
  settings::Current().DisplayColumnWidth = 400;
  settings::Current().Transparency = 300;
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(TextOf(46), "400");
  EXPECT_EQ(Find(47)->value, 300);
  EXPECT_EQ(TextOf(49), "-17");
  EXPECT_EQ(Find(50)->value, 0);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 400);
  EXPECT_EQ(settings::Current().Transparency, 300);
  EXPECT_EQ(settings::Current().WindowsTransparency, 0);

  // In range but not a whole percentage: 200 shows 21, which would give 202 back.
  settings::Current().Transparency = 200;
  settings_window::OpenSettingsWindow();
  EXPECT_EQ(TextOf(49), "21");
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().Transparency, 200);

  settings_window::OpenSettingsWindow();
  Slide(47, 150);
  Slide(50, 21);
  settings_window::ApplySettingsWindow();
  EXPECT_EQ(settings::Current().DisplayColumnWidth, 150);
  EXPECT_EQ(settings::Current().Transparency, 202);
}

TEST_F(SettingsWindow, EffacerAsksBeforeEmptyingEachList) {
  settings::MostUsed() = {{3, "Bloc-notes", "", ""}};
  settings::LastUsed() = {{1000, "Paint", "", ""}};
  settings_window::OpenSettingsWindow();
  FakeUi().answers = {ui::Answer::No, ui::Answer::No, ui::Answer::No, ui::Answer::Yes, ui::Answer::Yes,
                      ui::Answer::Yes};
  for (int round = 0; round < 2; ++round) {
    Press(30);
    Press(32);
    Press(34);
    EXPECT_EQ(settings::MostUsed().empty(), round == 1);
    EXPECT_EQ(settings::LastUsed().empty(), round == 1);
    EXPECT_EQ(fakes::FakeServices().recent_documents_cleared, round);
  }
  ASSERT_EQ(FakeUi().messages.size(), 6u);
  EXPECT_EQ(FakeUi().messages[0].first, "Information");
  EXPECT_EQ(FakeUi().messages[0].second, "Supprimer toutes les entrées de 'Les plus utilisés'?");
  EXPECT_EQ(FakeUi().messages[1].second, "Supprimer toutes les entrées de 'Les derniers utilisés'?");
  EXPECT_EQ(FakeUi().messages[2].second, "Supprimer toutes les entrées de 'Documents récents' selon Windows?");
  EXPECT_EQ(FakeUi().message_owners[0], kSettingsWindow);
}


}  // namespace
}  // namespace settings_window_test
