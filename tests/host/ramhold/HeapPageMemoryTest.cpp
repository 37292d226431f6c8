#include "ramhold/HeapPageMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace tidemark::ramhold {
namespace {

TEST(HeapPageMemoryTest, ReleaseCountsThePagesWritten) {
    HeapPageMemory memory(4096);
    unsigned char* block = static_cast<unsigned char*>(memory.claim(4 * 4096));
    ASSERT_NE(block, nullptr);
    for (std::size_t i = 0; i < 4 * 4096; ++i) ASSERT_EQ(block[i], 0) << i;
    EXPECT_EQ(memory.stats().bytesHeld, 4u * 4096u);
    block[0] = 1;
    block[2 * 4096] = 1;
    block[3 * 4096 + 5] = 1; // not the page's first byte: not a touch
    memory.release(block, 4 * 4096);
    const auto stats = memory.stats();
    EXPECT_EQ(stats.pagesReleased, 4u);
    EXPECT_EQ(stats.pagesTouchedAtRelease, 2u);
    EXPECT_EQ(stats.releases, 1u);
    EXPECT_EQ(stats.bytesHeld, 0u);
    EXPECT_EQ(stats.peakBytesHeld, 4u * 4096u);
}

TEST(HeapPageMemoryTest, BudgetRefusesClaimsBeyondIt) {
    HeapPageMemory memory(4096);
    memory.setBudget(3 * 4096);
    void* a = memory.claim(2 * 4096);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(memory.claim(2 * 4096), nullptr);
    void* b = memory.claim(4096);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(memory.stats().failedClaims, 1u);
    memory.release(a, 2 * 4096);
    memory.release(b, 4096);
}

TEST(HeapPageMemoryTest, ChosenClaimFails) {
    HeapPageMemory memory(4096);
    memory.failClaimNumber(2);
    void* first = memory.claim(4096);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(memory.claim(4096), nullptr);
    void* third = memory.claim(4096);
    EXPECT_NE(third, nullptr);
    memory.release(first, 4096);
    memory.release(third, 4096);
    EXPECT_EQ(memory.stats().claims, 2u);
    EXPECT_EQ(memory.stats().failedClaims, 1u);
}

TEST(HeapPageMemoryTest, WrongReleasesAreCountedAndIgnored) {
    HeapPageMemory memory(4096);
    void* block = memory.claim(2 * 4096);
    int notABlock = 0;
    memory.release(&notABlock, 4096);
    memory.release(block, 4096); // wrong size: still held
    EXPECT_EQ(memory.stats().badReleases, 2u);
    EXPECT_EQ(memory.stats().bytesHeld, 2u * 4096u);
    memory.release(block, 2 * 4096);
    memory.release(block, 2 * 4096); // twice
    EXPECT_EQ(memory.stats().badReleases, 3u);
    EXPECT_EQ(memory.stats().releases, 1u);
}

TEST(HeapPageMemoryTest, HookSeesEveryClaimNumberInOrder) {
    HeapPageMemory memory(4096);
    std::vector<std::uint64_t> seen;
    memory.setClaimHook([&](std::uint64_t n) { seen.push_back(n); });
    memory.failClaimNumber(2);
    std::vector<void*> blocks;
    for (int i = 0; i < 3; ++i) blocks.push_back(memory.claim(4096));
    EXPECT_EQ(seen, (std::vector<std::uint64_t>{1, 2, 3}));
    for (void* b : blocks)
        if (b) memory.release(b, 4096);
}

} // namespace
} // namespace tidemark::ramhold
