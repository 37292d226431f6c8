// The tray icon's picture: bands of memory use and the ten-minute alternation.
#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/windows/tray/TrayIconChoice.h"

namespace tidemark::monitor {
namespace {

constexpr std::uint64_t MB = 1048576;

TEST(TrayIconChoice, BandsFollowLoadAndFreeMemory) {
    EXPECT_EQ(selectTrayIcon(65, 10 * MB, false, 0), TrayImage::Program);
    EXPECT_EQ(selectTrayIcon(0, 10 * MB, false, 0), TrayImage::Program);
    EXPECT_EQ(selectTrayIcon(66, 60 * MB, false, 0), TrayImage::Frm_01_Yellow);
    EXPECT_EQ(selectTrayIcon(66, 50 * MB, false, 0), TrayImage::Frm_03_Red);       // exactly 50 MB is red
    EXPECT_EQ(selectTrayIcon(66, 50 * MB + 1, false, 0), TrayImage::Frm_01_Yellow);
    EXPECT_EQ(selectTrayIcon(100, 0, false, 15), TrayImage::Frm_03_Red);
}

TEST(TrayIconChoice, WithoutKeepActiveTheMinuteDoesNotMatter) {
    for (int minute = 0; minute < 60; ++minute) {
        EXPECT_EQ(selectTrayIcon(30, 900 * MB, false, minute), TrayImage::Program);
        EXPECT_EQ(selectTrayIcon(80, 900 * MB, false, minute), TrayImage::Frm_01_Yellow);
    }
}

TEST(TrayIconChoice, KeepActiveAlternatesEveryTenMinutes) {
    struct Case { int minute; TrayImage blue, yellow, red; };
    const Case cases[] = {
        {9, TrayImage::Program, TrayImage::Frm_02_Yellow, TrayImage::Frm_04_Red},
        {10, TrayImage::Frm_00_Blue, TrayImage::Frm_01_Yellow, TrayImage::Frm_03_Red},
        {19, TrayImage::Frm_00_Blue, TrayImage::Frm_01_Yellow, TrayImage::Frm_03_Red},
        {20, TrayImage::Program, TrayImage::Frm_02_Yellow, TrayImage::Frm_04_Red},
        {0, TrayImage::Program, TrayImage::Frm_02_Yellow, TrayImage::Frm_04_Red},
        {59, TrayImage::Frm_00_Blue, TrayImage::Frm_01_Yellow, TrayImage::Frm_03_Red},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selectTrayIcon(40, 900 * MB, true, c.minute), c.blue) << c.minute;
        EXPECT_EQ(selectTrayIcon(70, 900 * MB, true, c.minute), c.yellow) << c.minute;
        EXPECT_EQ(selectTrayIcon(70, 10 * MB, true, c.minute), c.red) << c.minute;
    }
}

// The tip says in words what the picture's colour says, band for band.
TEST(TrayIconChoice, TipNamesTheLoadAndTheBandThePictureShows) {
    struct Case { int load; std::uint64_t avail; TrayImage picture; const char* tip; };
    const Case cases[] = {
        {42, 900 * MB, TrayImage::Program, "Tidemark\rメモリ使用率 42%"},
        {65, 10 * MB, TrayImage::Program, "Tidemark\rメモリ使用率 65%"},
        {66, 50 * MB + 1, TrayImage::Frm_01_Yellow, "Tidemark\rメモリ使用率 66%（高）"},
        {66, 50 * MB, TrayImage::Frm_03_Red, "Tidemark\rメモリ使用率 66%（残り僅か）"},
        {100, 0, TrayImage::Frm_03_Red, "Tidemark\rメモリ使用率 100%（残り僅か）"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(selectTrayIcon(c.load, c.avail, false, 0), c.picture) << c.load;
        EXPECT_EQ(trayTipText(c.load, trayBand(c.load, c.avail)), c.tip) << c.load;
    }
    // The longest tip keeps to the shell's 127 characters (UTF-16 units:
    // every character here is one).
    const std::string longest = trayTipText(100, TrayBand::Red);
    const auto characters = std::count_if(longest.begin(), longest.end(), [](char b) { return (b & 0xC0) != 0x80; });
    EXPECT_LE(characters, 127);
}

} // namespace
} // namespace tidemark::monitor

#include "monitor/windows/tray/TrayMenu.h"

namespace tidemark::monitor {
namespace {

std::vector<std::string> texts(const std::vector<TrayMenuItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) out.push_back(item.separator ? "-" : item.text + (item.enabled ? "" : " (grey)"));
    return out;
}

TEST(TrayMenu, ItemsInOrderWithBothToggleItemsUntilTheFirstToggle) {
    EXPECT_EQ(texts(trayMenuItems(true, true, true)),
              (std::vector<std::string>{"キャンセル (&C)", "-", "閉じる (&X)", "-", "隠す (&H)", "表示 (&S)",
                                        "今すぐクリーニング (&M)", "-", "設定 (&F)", "管理者設定 (&Q)", "-", "バージョン情報 (&A)", "-"}));
    EXPECT_EQ(texts(trayMenuItems(false, true, false)),
              (std::vector<std::string>{"キャンセル (&C)", "-", "閉じる (&X)", "-", "表示 (&S)",
                                        "今すぐクリーニング (&M)", "-", "設定 (&F)", "管理者設定 (&Q) (grey)", "-", "バージョン情報 (&A)", "-"}));
}

} // namespace
} // namespace tidemark::monitor
