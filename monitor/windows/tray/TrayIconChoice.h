// Which picture the tray icon shows, and its tip text.
#pragma once
#include <cstdint>
#include <string>

namespace tidemark::monitor {

// The program's icon and the five status pictures.
enum class TrayImage { None = 0, Program, Frm_00_Blue, Frm_01_Yellow, Frm_02_Yellow, Frm_03_Red, Frm_04_Red };

// Blue up to 65 % load; above it yellow while more than 50 MB are free, else
// red. With the keep-active option the picture alternates every ten minutes
// so that the notification area never hides it as inactive.
TrayImage selectTrayIcon(int memoryLoad, std::uint64_t availPhys, bool keepActive, int minute);

// "Tidemark", CR, "メモリ使用率 ", the load, "%".
std::string trayTipText(int memoryLoad);

} // namespace tidemark::monitor
