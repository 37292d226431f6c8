#include "ramhold/CleaningPlan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace tidemark::ramhold {
namespace {

constexpr std::size_t kPage = 4096;
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

TEST(CleaningPlanTest, FirstIsOneStepOfTheWholeSize) {
    const CleaningPlan plan = planFirst(4096, kPage);
    EXPECT_EQ(plan.totalBytes, 4096ull * 1048576ull);
    EXPECT_EQ(plan.steps, 1u);
    EXPECT_EQ(plan.bytesOfStep(0), plan.totalBytes);
    EXPECT_EQ(plan.bytesOfStep(1), 0u);
}

TEST(CleaningPlanTest, SizesOfZeroOrLessPlanNothing) {
    for (std::int32_t size : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_TRUE(planFirst(size, kPage).empty()) << size;
        EXPECT_TRUE(planSlow(size, 5242880, kPage).empty()) << size;
        EXPECT_EQ(planSlow(size, 5242880, kPage).totalBytes, 0u) << size;
    }
}

TEST(CleaningPlanTest, LargestSizeDoesNotWrap) {
    const CleaningPlan plan = planFirst(kMaxInt, kPage);
    EXPECT_EQ(plan.totalBytes, static_cast<std::uint64_t>(kMaxInt) * 1048576ull);
    EXPECT_GT(plan.totalBytes, std::uint64_t{1} << 50);
}

TEST(CleaningPlanTest, SlowDividesIntoWholeSteps) {
    const CleaningPlan plan = planSlow(20, 5242880, kPage);
    EXPECT_EQ(plan.steps, 4u);
    EXPECT_EQ(plan.stepBytes, 5242880u);
    for (std::uint64_t i = 0; i < plan.steps; ++i) EXPECT_EQ(plan.bytesOfStep(i), 5242880u) << i;
}

TEST(CleaningPlanTest, LastStepTakesTheRemainder) {
    const CleaningPlan plan = planSlow(12, 5242880, kPage);
    ASSERT_EQ(plan.steps, 3u);
    EXPECT_EQ(plan.bytesOfStep(0), 5242880u);
    EXPECT_EQ(plan.bytesOfStep(1), 5242880u);
    EXPECT_EQ(plan.bytesOfStep(2), 2097152u);
    EXPECT_EQ(plan.bytesOfStep(0) + plan.bytesOfStep(1) + plan.bytesOfStep(2), plan.totalBytes);
}

TEST(CleaningPlanTest, StepIsRoundedUpToWholePages) {
    const CleaningPlan plan = planSlow(3, 1000000, kPage);
    EXPECT_EQ(plan.stepBytes, 245u * kPage); // 1,003,520
    EXPECT_EQ(plan.steps, 4u);
    EXPECT_EQ(plan.bytesOfStep(3), 3145728u - 3u * 245u * kPage);
    EXPECT_EQ(plan.bytesOfStep(3) % kPage, 0u);
}

TEST(CleaningPlanTest, TinyStepIsOnePage) {
    const CleaningPlan plan = planSlow(1, 1, kPage);
    EXPECT_EQ(plan.stepBytes, kPage);
    EXPECT_EQ(plan.steps, 256u);
}

TEST(CleaningPlanTest, StepLargerThanSizeIsOneStep) {
    const CleaningPlan plan = planSlow(2, 100 * 1048576, kPage);
    EXPECT_EQ(plan.steps, 1u);
    EXPECT_EQ(plan.stepBytes, 2097152u);
    EXPECT_EQ(plan.bytesOfStep(0), 2097152u);
}

TEST(CleaningPlanTest, StepOfZeroOrLessUsesTheDefaultStep) {
    for (std::int32_t step : {0, -1, std::numeric_limits<std::int32_t>::min()}) {
        const CleaningPlan plan = planSlow(12, step, kPage);
        EXPECT_EQ(plan.stepBytes, static_cast<std::uint64_t>(kDefaultStepBytes)) << step;
        EXPECT_EQ(plan.steps, 3u) << step;
    }
}

TEST(CleaningPlanTest, LargestStepRoundsUpWithoutWrapping) {
    const CleaningPlan plan = planSlow(4096, kMaxInt, kPage);
    EXPECT_EQ(plan.stepBytes, 2147483648u);
    EXPECT_EQ(plan.steps, 2u);
    EXPECT_EQ(plan.bytesOfStep(1), 2147483648u);
}

TEST(CleaningPlanTest, LargestSizeWithSmallestStepCountsEveryPage) {
    const CleaningPlan plan = planSlow(kMaxInt, 1, kPage);
    EXPECT_EQ(plan.steps, plan.totalBytes / kPage);
    EXPECT_EQ(plan.bytesOfStep(plan.steps - 1), kPage);
}

TEST(CleaningPlanTest, SizeIsRoundedUpToAnOddPageSize) {
    const CleaningPlan plan = planFirst(1, 3000);
    EXPECT_EQ(plan.totalBytes, 1050000u); // 350 pages of 3000 bytes
    EXPECT_EQ(plan.totalBytes % 3000, 0u);
}

TEST(CleaningPlanTest, NegativePauseIsNoPause) {
    EXPECT_EQ(pauseOf(-5).count(), 0);
    EXPECT_EQ(pauseOf(0).count(), 0);
    EXPECT_EQ(pauseOf(5000).count(), 5000);
    EXPECT_EQ(pauseOf(kMaxInt).count(), kMaxInt);
}

} // namespace
} // namespace tidemark::ramhold
