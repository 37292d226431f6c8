#include "monitor/windows/tray/TrayIconChoice.h"

namespace tidemark::monitor {

TrayImage selectTrayIcon(int memoryLoad, std::uint64_t availPhys, bool keepActive, int minute) {
    const bool parity = ((minute / 10) + 2) % 2 == 1;
    enum class Band { Blue, Yellow, Red };
    const Band band = memoryLoad <= 65 ? Band::Blue : availPhys > 52428800 ? Band::Yellow : Band::Red;
    switch (band) {
    case Band::Blue:
        return keepActive && parity ? TrayImage::Frm_00_Blue : TrayImage::Program;
    case Band::Yellow:
        return !keepActive || parity ? TrayImage::Frm_01_Yellow : TrayImage::Frm_02_Yellow;
    case Band::Red:
        return !keepActive || parity ? TrayImage::Frm_03_Red : TrayImage::Frm_04_Red;
    }
    return TrayImage::Program;
}

std::string trayTipText(int memoryLoad) { return "Tidemark\rメモリ使用率 " + std::to_string(memoryLoad) + "%"; }

} // namespace tidemark::monitor
