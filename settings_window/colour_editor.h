#pragma once
// The colour editor of the appearance page: the colour-element list, the hue/saturation/
// lightness and red/green/blue sliders with their value texts, and the system colour dialog.
// Every change goes at once into the standard look and the preview.

namespace settings_window {

// The colour-element row chosen in list 60, or -1: none at start-up and after every Apply.
int& SelectedElement();

// Creates the list, the hue scale, the six slider rows and the two buttons below them.
void AddColourEditor();

// Shows a row's colour in all six sliders and value texts.
void LoadElementIntoEditor(int row);

// Handlers: list 60, sliders 63/66/69 and 72/75/78, "Sélecteur couleurs".
void OnElementChosen();
void OnHslMoved(int slider);
void OnRgbMoved(int slider);
void OnColourDialog();

}  // namespace settings_window
