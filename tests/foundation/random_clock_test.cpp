#include <gtest/gtest.h>

#include <random>

#include "foundation/clock.h"
#include "foundation/random.h"
#include "platform/winbase/test_hooks.h"

namespace {

TEST(MT19937Test, MatchesReferenceOutputOfInitByArray) {
    MT19937 generator;
    const std::uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
    generator.InitByArray(key, 4);
    const std::uint32_t expected[] = {1067595299u, 955945823u, 477289528u, 4107218783u,
                                      4228976476u};
    for (std::uint32_t value : expected) {
        EXPECT_EQ(generator.GenrandInt32(), value);
    }
}

TEST(MT19937Test, MatchesReferenceOutputOfInitGenrand) {
    MT19937 generator;
    generator.InitGenrand(5489);
    const std::uint32_t expected[] = {3499211612u, 581869302u, 3890346734u, 3586334585u,
                                      545404204u};
    for (std::uint32_t value : expected) {
        EXPECT_EQ(generator.GenrandInt32(), value);
    }
    // Across several refills, draw for draw with the standard library's engine (same seeding
    // rule); its 10,000th output is the published check value.
    generator.InitGenrand(5489);
    std::mt19937 reference(5489);
    std::uint32_t last = 0;
    for (int i = 0; i < 10000; ++i) {
        last = generator.GenrandInt32();
        ASSERT_EQ(last, reference()) << "draw " << i;
    }
    EXPECT_EQ(last, 4123659995u);
}

TEST(MT19937Test, DerivedDrawsStayInTheirIntervals) {
    MT19937 generator;
    generator.InitGenrand(1);
    for (int i = 0; i < 2000; ++i) {
        const std::int32_t int31 = generator.GenrandInt31();
        EXPECT_GE(int31, 0);
        const double real2 = generator.GenrandReal2();
        EXPECT_TRUE(real2 >= 0.0 && real2 < 1.0);
        const double real3 = generator.GenrandReal3();
        EXPECT_TRUE(real3 > 0.0 && real3 < 1.0);
        const double res53 = generator.GenrandRes53();
        EXPECT_TRUE(res53 >= 0.0 && res53 < 1.0);
        const double real1 = generator.GenrandReal1();
        EXPECT_TRUE(real1 >= 0.0 && real1 <= 1.0);
    }
    // The 31-bit draw is the 32-bit word shifted right by one.
    MT19937 a;
    MT19937 b;
    a.InitGenrand(77);
    b.InitGenrand(77);
    EXPECT_EQ(static_cast<std::uint32_t>(a.GenrandInt31()), b.GenrandInt32() >> 1);
}

TEST(RandomIntTest, ZeroDrawsNothingAndOtherRangesStayInside) {
    MT19937& generator = GetRandomGenerator();
    generator.InitGenrand(5489);
    EXPECT_EQ(RandomInt(0), 0);
    // RandomInt(0) did not consume the first draw.
    EXPECT_EQ(RandomInt(0x7FFFFFFF), static_cast<std::int32_t>(3499211612u >> 1));
    for (int i = 0; i < 500; ++i) {
        const std::int32_t positive = RandomInt(7);
        EXPECT_TRUE(positive >= 0 && positive < 7);
        const std::int32_t negative = RandomInt(-7);
        EXPECT_TRUE(negative >= 0 && negative < 7);
        EXPECT_EQ(RandomInt(1), 0);
    }
}

TEST(RandomIntTest, UnseededGeneratorSeedsFromTheMillisecondTimer) {
    win32_test::UseManualClock(true);
    win32_test::AdvanceClockMicroseconds(4242000);
    MT19937 fresh;
    EXPECT_FALSE(fresh.Seeded());
    const std::uint32_t first = fresh.GenrandInt32();
    MT19937 expected;
    expected.InitGenrand(4242);
    EXPECT_EQ(first, expected.GenrandInt32());
    win32_test::UseManualClock(false);
}

TEST(GetSecondsTest, FollowsTheManualClock) {
    win32_test::UseManualClock(true);
    const double start = GetSeconds();
    win32_test::AdvanceClockMicroseconds(1500000);
    EXPECT_NEAR(GetSeconds() - start, 1.5, 1e-6);
    win32_test::UseManualClock(false);
}

}  // namespace
