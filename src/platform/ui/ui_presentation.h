#pragma once
// The presentation of dialogs: once installed, a modal dialog is drawn by Dear ImGui through our
// Direct3D 9 device, with the IPA Gothic font, and answers the user's clicks and keys. A dialog
// with no owner (before the game window exists) gets a device on its own desktop window; a
// dialog over a window that has a device is drawn over that window's frame when it is presented.
// What it keeps on a device (textures) is released with that device, installed or not.

namespace ui {

void InstallUiPresentation();
void RemoveUiPresentation();
// Tests: draw dialogs even where no display shows them (headless SDL video or none), so that a
// golden image can be read back; the modal loop's idle hook answers them.
void DrawOnHeadlessDisplay(bool draw);

}  // namespace ui
