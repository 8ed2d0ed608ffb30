#pragma once
// The twelve editable colours of the standard look as the appearance editor lists them: which
// preview control shows each, in which role, and the name the user reads.
#include <array>

#include "settings/settings.h"

namespace settings_window {

enum class ColourRole {
  WindowBackground = 0,
  PreviewText = 1,
  PreviewBackground = 2,
};

struct ColourElement {
  int preview_control;
  ColourRole role;
  settings::ColourIndex colour;  // which colour of the standard look it edits
  const char* display_name;
};

constexpr std::array<ColourElement, settings::kColourCount> kColourElements = {{
    {5, ColourRole::WindowBackground, settings::kListingColor, "Fenêtre: Fond"},
    {35, ColourRole::PreviewBackground, settings::kTitleBackColor, "Titre de la catégorie: Fond"},
    {35, ColourRole::PreviewText, settings::kTitleColor, "Titre de la catégorie: Texte"},
    {36, ColourRole::PreviewBackground, settings::kSubTitleBackColor, "Titre du groupe de programmes: Fond"},
    {36, ColourRole::PreviewText, settings::kSubTitleColor, "Titre du groupe de programmes: Texte"},
    {37, ColourRole::PreviewText, settings::kFontColor, "Titre du sous-groupe de programmes: Texte"},
    {38, ColourRole::PreviewText, settings::kLinkColor, "Lien vers programme ou document: Texte normal"},
    {39, ColourRole::PreviewText, settings::kLinkHiColor, "Lien vers programme ou document: Texte en surbrillance"},
    {40, ColourRole::PreviewBackground, settings::kTooltipBackColor, "Info-bulles: Fond"},
    {40, ColourRole::PreviewText, settings::kTooltipColor, "Info-bulles: Texte"},
    {41, ColourRole::PreviewBackground, settings::kLineColorVertical, "Ligne: Vertical"},
    {42, ColourRole::PreviewBackground, settings::kLineColorHorizontal, "Ligne: Horizontal"},
}};

}  // namespace settings_window
