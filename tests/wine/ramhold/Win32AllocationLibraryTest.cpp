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
    ASSERT_TRUE(waitUntil([&] { return lib.GetRamholdMemFlag() == 0 && lib.GetMallocFirstFlag() == 0 &&
                                       lib.GetMallocSlowFlag() != 1; },
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
    lib.MallocFirst(128);
    ASSERT_TRUE(waitUntil([&] { return lib.GetMallocFirstFlag() == 0 && lib.GetRamholdMemFlag() == 0; }, 30000));
    EXPECT_EQ(lib.loadProblem(), "");
    EXPECT_GE(peakWorkingSet(), before + 100u * kMiB);
    // Given back: the working set is far below the peak again.
    EXPECT_LT(workingSet(), before + 64u * kMiB);
}

TEST(Win32AllocationLibraryTest, FastFlagIsUpRightAfterTheStart) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.MallocFirst(256); // takes far longer to touch than the next line
    EXPECT_EQ(lib.GetMallocFirstFlag(), 1);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 1);
    waitIdle(lib);
    EXPECT_EQ(lib.GetMallocFirstFlag(), 0);
}

TEST(Win32AllocationLibraryTest, SlowCleaningGoesThroughItsStepsAndSucceeds) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    const ULONGLONG start = ::GetTickCount64();
    lib.MallocSlow(8, 2 * kMiB, 50);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 1);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 1);
    ASSERT_TRUE(waitUntil([&] { return lib.GetMallocSlowFlag() != 1; }, 30000));
    EXPECT_GE(::GetTickCount64() - start, 3u * 50u - 10u); // three pauses between four steps
    EXPECT_EQ(lib.GetMallocSlowFlag(), 2);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 0);
    EXPECT_EQ(lib.loadProblem(), "");
}

TEST(Win32AllocationLibraryTest, BreakStopsASlowCleaningAtOnce) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.MallocSlow(16, kMiB, 10000);
    ASSERT_EQ(lib.GetMallocSlowFlag(), 1);
    ::Sleep(100);
    const ULONGLONG breakAt = ::GetTickCount64();
    lib.LetRamholdBreak();
    ASSERT_TRUE(waitUntil([&] { return lib.GetRamholdMemFlag() == 0; }, 10000));
    EXPECT_LT(::GetTickCount64() - breakAt, 2000u);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 4);
    // Harmless with nothing running.
    lib.LetRamholdBreak();
    EXPECT_EQ(lib.GetMallocSlowFlag(), 4);
}

TEST(Win32AllocationLibraryTest, FastStartWhileSlowRunsIsRefused) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.MallocSlow(16, kMiB, 10000);
    lib.MallocFirst(16);
    EXPECT_EQ(lib.GetMallocFirstFlag(), 0);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 1);
    lib.LetRamholdBreak();
    waitIdle(lib);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 4);
}

TEST(Win32AllocationLibraryTest, SlowOfZeroSizeSucceedsAtOnce) {
    Win32AllocationLibrary lib;
    waitIdle(lib);
    lib.MallocSlow(0, 5242880, 5000);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 2);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 0);
}

TEST(Win32AllocationLibraryTest, MissingLibraryMakesEveryCallANoOp) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\Ramhold.dll");
    EXPECT_EQ(lib.loadProblem(), ""); // nothing tried before the first call
    lib.MallocFirst(8);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
    lib.MallocSlow(8, kMiB, 10);
    lib.LetRamholdBreak();
    EXPECT_EQ(lib.GetMallocFirstFlag(), 0);
    EXPECT_EQ(lib.GetMallocSlowFlag(), 0);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 0);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
}

TEST(Win32AllocationLibraryTest, MissingFolderIsTheSameProblem) {
    Win32AllocationLibrary lib(programFolder() + "no-such-folder\\Ramhold.dll");
    EXPECT_EQ(lib.GetRamholdMemFlag(), 0);
    EXPECT_EQ(lib.loadProblem(), "Ramhold.dll");
}

TEST(Win32AllocationLibraryTest, MissingOperationIsNamedAndTheRestStillWork) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\RamholdPartial.dll");
    // The stand-in answers 7 and echoes the size: proof its code ran.
    EXPECT_EQ(lib.GetMallocFirstFlag(), 7);
    lib.MallocFirst(42);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 42);
    EXPECT_EQ(lib.loadProblem(), "");

    lib.MallocSlow(8, kMiB, 10);
    EXPECT_EQ(lib.loadProblem(), "RamholdPartial.dll:MallocSlow");
    EXPECT_EQ(lib.GetMallocSlowFlag(), 0);
    lib.LetRamholdBreak();
    // The first problem met is the one kept.
    EXPECT_EQ(lib.loadProblem(), "RamholdPartial.dll:MallocSlow");
    // Bound operations go on working.
    lib.MallocFirst(5);
    EXPECT_EQ(lib.GetRamholdMemFlag(), 5);
}

TEST(Win32AllocationLibraryTest, FirstMissingOperationMetIsTheOneReported) {
    Win32AllocationLibrary lib(programFolder() + "ramhold-test\\RamholdPartial.dll");
    EXPECT_EQ(lib.GetMallocSlowFlag(), 0);
    lib.MallocSlow(8, kMiB, 10);
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
