#include <gtest/gtest.h>

#include "media/movie/ds_movie9.h"

namespace {

TEST(MovieFitTest, DestinationKeepsTheMoviesAspectRatio) {
    struct Case {
        const char* name;
        LONG width;
        LONG height;
        RECT area;
        RECT expected;
        bool fits;
    };
    const Case cases[] = {
        {"4:3 into 4:3 fills it", 640, 480, {0, 0, 800, 600}, {0, 0, 800, 600}, true},
        {"16:9 is letter-boxed", 1280, 720, {0, 0, 800, 600}, {0, 75, 800, 525}, true},
        {"1:1 is pillar-boxed", 480, 480, {0, 0, 800, 600}, {100, 0, 700, 600}, true},
        {"divisions truncate", 700, 400, {0, 0, 799, 600}, {0, 72, 799, 528}, true},
        {"an area away from the corner", 1280, 720, {100, 50, 500, 350}, {100, 87, 500, 312}, true},
        {"a movie without a width", 0, 480, {0, 0, 800, 600}, {0, 0, 800, 600}, false},
        {"a movie without a height", 640, 0, {0, 0, 800, 600}, {0, 0, 800, 600}, false},
        {"a negative size", -640, 480, {0, 0, 800, 600}, {0, 0, 800, 600}, false},
    };
    for (const Case& c : cases) {
        RECT area = c.area;
        EXPECT_EQ(FitMovieRectangle(&area, c.width, c.height), c.fits) << c.name;
        EXPECT_EQ(area.left, c.expected.left) << c.name;
        EXPECT_EQ(area.top, c.expected.top) << c.name;
        EXPECT_EQ(area.right, c.expected.right) << c.name;
        EXPECT_EQ(area.bottom, c.expected.bottom) << c.name;
    }
}

}  // namespace
