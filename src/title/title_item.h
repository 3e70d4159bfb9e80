#pragma once
// TitleItem: one clickable cell of a title screen, a rectangle drawn from up to three images
// (normal, hovered, pressed) that runs a script label when clicked and hands a value to the
// script. Title::AddItem lays out the cells of an item table and appends an item per cell to the
// title menu; ShowPicture and ReplayScene are the gallery view and the scene replay of a
// recollection item.

#include <array>
#include <cstdint>
#include <string>

#include "platform/d3d9/d3d9_types.h"
#include "platform/winbase/win_types.h"
#include "title/item_table.h"

struct D3DTexture;

// The pulse of the pressed state, and the image folder's sub-folder of the item images.
constexpr int kTitleFullPulse = 255;
constexpr const char* kTitleImageFolder = "title\\";
// A title menu holds at most this many items; a table that would add more stops there.
constexpr std::size_t kTitleItemLimit = 1024;
// The script of an item whose table says "*".
constexpr const char* kTitleDefaultScript = "title";

struct TitleItem {
    std::array<D3DTexture*, kTitleImageStates> images{};    // each holds a reference
    std::array<std::string, kTitleImageStates> imageNames;  // "*" kept as empty
    std::uint32_t flags = 0;
    RECT dest{};                                // back-buffer pixels
    std::array<RECT, kTitleImageStates> src{};  // image pixels
    std::string script;
    std::string label;  // empty: the item runs nothing
    std::int32_t leftValue = kTitleNoValue;
    std::int32_t rightValue = kTitleNoValue;
    std::int32_t itemIndex = -1;  // recollection item shown (balloon text); -1 none

    // `dest` in design coordinates is scaled by LetterboxScale and moved to the letterbox's
    // origin; the sources stay in image pixels.
    TitleItem(const std::array<std::string, kTitleImageStates>& names, std::uint32_t itemFlags,
              const RECT& designDest, const std::array<RECT, kTitleImageStates>& sources,
              const std::string& scriptName, const std::string& labelName, std::int32_t left,
              std::int32_t right, std::int32_t index);
    ~TitleItem();
    TitleItem(const TitleItem&) = delete;
    TitleItem& operator=(const TitleItem&) = delete;

    // Loads "title\NAME" of each named state and wraps its source rectangle into the image;
    // a failed load (or an image without size) ends with its code. 0 when nothing is named.
    HRESULT LoadImages();
    bool HasImage(int state) const;
    // Draws the image of `state` (or of the nearest lower state that has one); `pulse` 0..255
    // is the highlight's strength.
    void Draw(int state, int pulse) const;
    // Starts the item's script at its label as a new script; false without a label.
    bool RunScript() const;
};

namespace Title {

// Appends the cells of every applying record of the table `name` (data folder) to the title
// menu's items; false on a missing or empty table, at the first cell whose images cannot be
// loaded or at a cell beyond kTitleItemLimit (the items made before stay). False without a menu.
bool AddItem(const char* name);
// Gallery: the picture "visual\NAME" of the item becomes BASE, scaled into the letterbox.
void ShowPicture(std::uint32_t item);
// Scene replay: "title_cg" starts at "normal" and jumps to the label named like the item, when
// it has one. False beyond the items or when the script does not start.
bool ReplayScene(std::uint32_t item);

}  // namespace Title
