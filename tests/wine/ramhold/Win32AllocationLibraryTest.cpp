// The caller-side loader against the real Ramhold.dll beside this program,
// a folder without it, and a stand-in lacking some operations.
#include "platform/win32/Win32AllocationLibrary.h"

#include "RamholdTestSupport.h"

#include "platform/win32/Win32Text.h"

#include <psapi.h>

#include <gtest/gtest.h>

namespace tidemark::ramhold::test {
namespace {

using win32::Win32AllocationLibrary;

constexpr std::int32_t kMiB = 1048576;

// Every test leaves the one engine of this process idle for the next.
void waitIdle(Win32AllocationLibrary& lib) {
    ASSERT_TRUE(waitUntil([&] { return lib.memoryHeldStatus() == 0 && lib.fastClaimStatus() == 0 &&
                                       lib.stepwiseClaimStatus() != 1; },
                          30000));
}

SIZE_T peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

SIZE_T workingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

TEST(Win32AllocationLibraryTest, FastCleaningClaimsRealMemoryAndGivesItBack) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    // Larger than anything else this program claims, so the high-water mark
    // can only come from this cleaning.
    const SIZE_T before = workingSet();
    lib.startFastClaim(128);
    ASSERT_TRUE(waitUntil([&] { return lib.fastClaimStatus() == 0 && lib.memoryHeldStatus() == 0; }, 30000));
    EXPECT_EQ(lib.loadProblem(), "");
    EXPECT_GE(peakWorkingSet(), before + 100u * kMiB);
    // Given back: the working set is far below the peak again.
    EXPECT_LT(workingSet(), before + 64u * kMiB);
}

TEST(Win32AllocationLibraryTest, FastFlagIsUpRightAfterTheStart) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.startFastClaim(256); // takes far longer to touch than the next line
    EXPECT_EQ(lib.fastClaimStatus(), 1);
    EXPECT_EQ(lib.memoryHeldStatus(), 1);
    waitIdle(lib);
    EXPECT_EQ(lib.fastClaimStatus(), 0);
}

TEST(Win32AllocationLibraryTest, SlowCleaningGoesThroughItsStepsAndSucceeds) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    const ULONGLONG start = ::GetTickCount64();
    lib.startStepwiseClaim(8, 2 * kMiB, 50);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 1);
    EXPECT_EQ(lib.memoryHeldStatus(), 1);
    ASSERT_TRUE(waitUntil([&] { return lib.stepwiseClaimStatus() != 1; }, 30000));
    EXPECT_GE(::GetTickCount64() - start, 3u * 50u - 10u); // three pauses between four steps
    EXPECT_EQ(lib.stepwiseClaimStatus(), 2);
    EXPECT_EQ(lib.memoryHeldStatus(), 0);
    EXPECT_EQ(lib.loadProblem(), "");
}

TEST(Win32AllocationLibraryTest, BreakStopsASlowCleaningAtOnce) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.startStepwiseClaim(16, kMiB, 10000);
    ASSERT_EQ(lib.stepwiseClaimStatus(), 1);
    ::Sleep(100);
    const ULONGLONG breakAt = ::GetTickCount64();
    lib.requestBreak();
    ASSERT_TRUE(waitUntil([&] { return lib.memoryHeldStatus() == 0; }, 10000));
    EXPECT_LT(::GetTickCount64() - breakAt, 2000u);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 4);
    // Harmless with nothing running.
    lib.requestBreak();
    EXPECT_EQ(lib.stepwiseClaimStatus(), 4);
}

TEST(Win32AllocationLibraryTest, FastStartWhileSlowRunsIsRefused) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.startStepwiseClaim(16, kMiB, 10000);
    lib.startFastClaim(16);
    EXPECT_EQ(lib.fastClaimStatus(), 0);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 1);
    lib.requestBreak();
    waitIdle(lib);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 4);
}

TEST(Win32AllocationLibraryTest, SlowOfZeroSizeSucceedsAtOnce) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.startStepwiseClaim(0, 5242880, 5000);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 2);
    EXPECT_EQ(lib.memoryHeldStatus(), 0);
}

TEST(Win32AllocationLibraryTest, MissingLibraryMakesEveryCallANoOp) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\Ramhold.dll");
    EXPECT_EQ(lib.loadProblem(), ""); // nothing tried before the first call
    lib.startFastClaim(8);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
    lib.startStepwiseClaim(8, kMiB, 10);
    lib.requestBreak();
    EXPECT_EQ(lib.fastClaimStatus(), 0);
    EXPECT_EQ(lib.stepwiseClaimStatus(), 0);
    EXPECT_EQ(lib.memoryHeldStatus(), 0);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
}

TEST(Win32AllocationLibraryTest, MissingFolderIsTheSameProblem) {
    Win32AllocationLibrary lib(programFolder() + "no-such-folder\\Ramhold.dll");
    EXPECT_EQ(lib.memoryHeldStatus(), 0);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
}

TEST(Win32AllocationLibraryTest, MissingOperationIsNamedAndTheRestStillWork) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\RamholdPartial.dll");
    // The stand-in answers 7 and echoes the size: proof its code ran.
    EXPECT_EQ(lib.fastClaimStatus(), 7);
    lib.startFastClaim(42);
    EXPECT_EQ(lib.memoryHeldStatus(), 42);
    EXPECT_EQ(lib.loadProblem(), "");

    lib.startStepwiseClaim(8, kMiB, 10);
    EXPECT_EQ(lib.loadProblem(), "RamholdPartial.dll:MallocSlow");
    EXPECT_EQ(lib.stepwiseClaimStatus(), 0);
    lib.requestBreak();
    // The first problem met is the one kept.
    EXPECT_EQ(lib.loadProblem(), "RamholdPartial.dll:MallocSlow");
    // Bound operations go on working.
    lib.startFastClaim(5);
    EXPECT_EQ(lib.memoryHeldStatus(), 5);
}

TEST(Win32AllocationLibraryTest, FirstMissingOperationMetIsTheOneReported) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\RamholdPartial.dll");
    EXPECT_EQ(lib.stepwiseClaimStatus(), 0);
    lib.startStepwiseClaim(8, kMiB, 10);
    EXPECT_EQ(lib.loadProblem(), "RamholdPartial.dll:GetMallocSlowFlag");
}

TEST(Win32AllocationLibraryTest, LoadsTheLibraryBesideTheProgramWhateverTheCurrentFolder) {
    const ChildResult result = runChild(programFolder() + "tm_ramhold_exit_helper.exe", "where", 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
}

TEST(Win32AllocationLibraryTest, ProgramWithoutTheLibraryBesideItRunsOn) {
    TempFolder folder;
    const std::string copy = folder.path() + "tm_ramhold_exit_helper.exe";
    ASSERT_TRUE(::CopyFileW(win32::toWide(programFolder() + "tm_ramhold_exit_helper.exe").c_str(),
                            win32::toWide(copy).c_str(), FALSE));
    const ChildResult result = runChild(copy, "missing", 30000);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
}

} // namespace
} // namespace tidemark::ramhold::test
