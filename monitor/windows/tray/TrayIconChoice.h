// Which picture the tray icon shows, and its tip text: both tell the band of
// memory use, the tip in words.
#pragma once
#include <cstdint>
#include <string>

namespace tidemark::monitor {

// The program's icon and the five status pictures.
enum class TrayImage { None = 0, Program, Frm_00_Blue, Frm_01_Yellow, Frm_02_Yellow, Frm_03_Red, Frm_04_Red };

// The bands of memory use: blue up to 65 % load; above it yellow while more
// than 50 MB are free, else red.
enum class TrayBand { Blue, Yellow, Red };
TrayBand trayBand(int memoryLoad, std::uint64_t availPhys);

// The picture of the band. With the keep-active option the picture
// alternates every ten minutes so that the notification area never hides it
// as inactive.
TrayImage selectTrayIcon(int memoryLoad, std::uint64_t availPhys, bool keepActive, int minute);

// "Tidemark", CR, "メモリ使用率 ", the load, "%", then the band in words
// where it is not the blue one: "（高）" for yellow, "（残り僅か）" for red.
std::string trayTipText(int memoryLoad, TrayBand band);

} // namespace tidemark::monitor
