#include "platform/ui/ui_font.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <cfloat>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace ui_internal {
namespace {

std::set<ImWchar> wanted;
bool dirty = true;
int generation = 0;
ImVector<ImWchar> ranges;

void WantRange(ImWchar first, ImWchar last) {
    for (unsigned c = first; c <= last; ++c) {
        wanted.insert(static_cast<ImWchar>(c));
    }
}

}  // namespace

void EnsureUiContext() {
    if (ImGui::GetCurrentContext() != nullptr) {
        return;
    }
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.ConfigInputTextCursorBlink = false;
    // The keys ImGui reads, by their virtual-key codes: the typing in a dialog's text field. The
    // dialog's own keys (focus, buttons, mnemonics) are the Windows layer's.
    const std::pair<ImGuiKey, int> keys[] = {
        {ImGuiKey_Tab, 0x09},        {ImGuiKey_LeftArrow, 0x25},
        {ImGuiKey_RightArrow, 0x27}, {ImGuiKey_UpArrow, 0x26},
        {ImGuiKey_DownArrow, 0x28},  {ImGuiKey_PageUp, 0x21},
        {ImGuiKey_PageDown, 0x22},   {ImGuiKey_Home, 0x24},
        {ImGuiKey_End, 0x23},        {ImGuiKey_Insert, 0x2D},
        {ImGuiKey_Delete, 0x2E},     {ImGuiKey_Backspace, 0x08},
        {ImGuiKey_Space, 0x20},      {ImGuiKey_Enter, 0x0D},
        {ImGuiKey_Escape, 0x1B},     {ImGuiKey_KeyPadEnter, 0x0D},
        {ImGuiKey_A, 'A'},           {ImGuiKey_C, 'C'},
        {ImGuiKey_V, 'V'},           {ImGuiKey_X, 'X'},
        {ImGuiKey_Y, 'Y'},           {ImGuiKey_Z, 'Z'},
    };
    for (const auto& [key, virtualKey] : keys) {
        io.KeyMap[key] = virtualKey;
    }
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0.0f;
    style.FrameBorderSize = 1.0f;
    style.WindowBorderSize = 1.0f;
    style.FramePadding = ImVec2(4.0f, 2.0f);
    style.AntiAliasedLines = false;
    style.AntiAliasedFill = false;
    WantRange(0x20, 0x7E);
    WantRange(0x3000, 0x30FF);  // punctuation, hiragana, katakana
    WantRange(0xFF01, 0xFF9F);  // full-width forms and half-width katakana
}

bool WantGlyphs(std::string_view utf8) {
    bool added = false;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned int c = 0;
        const int used = ImTextCharFromUtf8(&c, utf8.data() + i, utf8.data() + utf8.size());
        i += used > 0 ? static_cast<std::size_t>(used) : 1;
        if (c >= 0x20 && c <= 0xFFFF && wanted.insert(static_cast<ImWchar>(c)).second) {
            added = true;
        }
    }
    dirty = dirty || added;
    return added;
}

void BuildFontAtlas() {
    if (!dirty) {
        return;
    }
    dirty = false;
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    atlas->Clear();
    ranges.clear();
    // Runs of consecutive characters as [first, last] pairs, 0-terminated.
    for (auto it = wanted.begin(); it != wanted.end();) {
        ImWchar first = *it;
        ImWchar last = first;
        for (++it; it != wanted.end() && *it == last + 1; ++it) {
            last = *it;
        }
        ranges.push_back(first);
        ranges.push_back(last);
    }
    ranges.push_back(0);
    ImFontConfig config;
    config.OversampleH = 1;
    config.OversampleV = 1;
    config.PixelSnapH = true;
    if (std::FILE* probe = std::fopen(kUiFontPath, "rb")) {
        std::fclose(probe);
        atlas->AddFontFromFileTTF(kUiFontPath, kUiFontPixels, &config, ranges.Data);
    } else {
        std::fprintf(stderr, "ui: %s is missing; dialogs show ASCII only\n", kUiFontPath);
        atlas->AddFontDefault();
    }
    atlas->Build();
    ++generation;
}

int FontAtlasGeneration() {
    return generation;
}

bool FontAtlasDirty() {
    return dirty;
}

ImFont* UiFont() {
    EnsureUiContext();
    BuildFontAtlas();
    return ImGui::GetIO().Fonts->Fonts[0];
}

float MeasureUtf8(std::string_view utf8) {
    EnsureUiContext();
    WantGlyphs(utf8);
    ImFont* font = UiFont();
    return font->CalcTextSizeA(kUiFontPixels, FLT_MAX, 0.0f, utf8.data(), utf8.data() + utf8.size())
        .x;
}

}  // namespace ui_internal
