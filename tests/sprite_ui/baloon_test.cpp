// Balloons: lines, markup, placement and the refusals. The demo balloon image has 16-pixel
// quarters.
#include <gtest/gtest.h>

#include "media/graphics/texture.h"
#include "sprite_ui/baloon.h"
#include "sprite_ui/baloon_text.h"
#include "ui_fixture.h"

namespace ui_tests {
namespace {

class BaloonTest : public UiTest {};

struct LayoutCase {
    const char* name;
    int x, y;
    const char* title;  // UTF-8
    const char* text;   // UTF-8
    const char* icon;
    int lines;
    int widest;
};

TEST_F(BaloonTest, LinesMarkupAndPlacement) {
    const LayoutCase cases[] = {
        {"a slash ends a line", 400, 300, nullptr, "abc/de", nullptr, 2, 3},
        {"two slashes make an empty line", 400, 300, nullptr, "ab//c", nullptr, 3, 2},
        {"markup takes no room", 400, 300, nullptr, "[FF0000]red[]\nxy", nullptr, 2, 3},
        {"a trail byte '[' is no markup", 400, 300, nullptr, "ーa", nullptr, 1, 3},
        {"double-byte characters count two", 400, 300, nullptr, "項目/a", nullptr, 2, 4},
        {"near the top: below the point", 400, 10, nullptr, "abc", nullptr, 1, 3},
        {"near the right edge", 795, 300, nullptr, "abcdef", nullptr, 1, 6},
        {"near the left edge", 3, 300, nullptr, "abcdef", nullptr, 1, 6},
        {"a title adds a line", 400, 300, "title", "abc", nullptr, 1, 3},
        {"an icon needs two lines", 400, 300, nullptr, "abc", "frame4", 2, 3},
    };
    for (const LayoutCase& test : cases) {
        const std::string title = test.title != nullptr ? Sjis(test.title) : "";
        Baloon* b = CreateBaloon(test.x, test.y, test.title != nullptr ? title.c_str() : nullptr,
                                 Sjis(test.text).c_str(), test.icon);
        ASSERT_NE(b, nullptr) << test.name;
        EXPECT_EQ(b->lineCount, test.lines) << test.name;
        EXPECT_EQ(b->widestLine, test.widest) << test.name;
        const int w = b->box.right - b->box.left;
        const int h = b->box.bottom - b->box.top;
        EXPECT_EQ(h, (test.lines + (test.title != nullptr ? 1 : 0)) * b->lineHeight + 48)
            << test.name;
        EXPECT_GT(w, (test.icon != nullptr ? 96 : 32) + 10 * (test.widest - 1)) << test.name;
        if (test.y < h) {
            EXPECT_EQ(b->box.top, test.y + b->lineHeight + 16) << test.name;
        } else {
            EXPECT_EQ(b->box.bottom, test.y) << test.name;
        }
        const int centred = test.x - w / 2;
        EXPECT_EQ(b->box.left, centred < 0 ? 0 : (centred + w > 800 ? 800 - w : centred))
            << test.name;
        DeleteBaloon(b);
    }
    EXPECT_EQ(SplitBaloonLines("a\n/b").size(), 3u);
    EXPECT_EQ(StripBaloonMarkup("a[unclosed"), "a");
}

TEST_F(BaloonTest, RefusalsShowNothing) {
    EXPECT_EQ(CreateBaloon(100, 100, nullptr, nullptr, nullptr), nullptr);
    EXPECT_NE(Log().find("Baloon::Layout: error. no text\r\n"), std::string::npos);
    EXPECT_EQ(CreateBaloon(100, 100, nullptr, "text", "no_such_icon"), nullptr);
    dir_->writeFile("bmp/baloon.png", "");
    EXPECT_EQ(CreateBaloon(100, 100, nullptr, "text", nullptr), nullptr);
    EXPECT_TRUE(BaloonList().empty());
    size_t textures = 0;
    for (D3DTexture* texture : TextureList()) {
        textures += texture->name.rfind("frame", 0) == 0;
    }
    EXPECT_EQ(textures, TextureList().size()) << "only the frame set remains";
}

}  // namespace
}  // namespace ui_tests
