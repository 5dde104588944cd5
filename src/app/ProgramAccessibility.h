#pragma once

namespace app {

// Gives the program's forms what screen readers need beyond their captions: names for the
// picture and the fields no label names, the labels tied to their fields, the about box as a
// dialog, and the result form's charts described in words.
void DescribeProgramForms();

} // namespace app
