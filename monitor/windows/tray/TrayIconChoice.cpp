#include "monitor/windows/tray/TrayIconChoice.h"

namespace tidemark::monitor {

TrayBand trayBand(int memoryLoad, std::uint64_t availPhys) {
    return memoryLoad <= 65 ? TrayBand::Blue : availPhys > 52428800 ? TrayBand::Yellow : TrayBand::Red;
}

TrayImage selectTrayIcon(int memoryLoad, std::uint64_t availPhys, bool keepActive, int minute) {
    const bool parity = ((minute / 10) + 2) % 2 == 1;
    switch (trayBand(memoryLoad, availPhys)) {
    case TrayBand::Blue:
        return keepActive && parity ? TrayImage::Frm_00_Blue : TrayImage::Program;
    case TrayBand::Yellow:
        return !keepActive || parity ? TrayImage::Frm_01_Yellow : TrayImage::Frm_02_Yellow;
    case TrayBand::Red:
        return !keepActive || parity ? TrayImage::Frm_03_Red : TrayImage::Frm_04_Red;
    }
    return TrayImage::Program;
}

std::string trayTipText(int memoryLoad, TrayBand band) {
    const char* words = band == TrayBand::Yellow ? "（高）" : band == TrayBand::Red ? "（残り僅か）" : "";
    return "Tidemark\rメモリ使用率 " + std::to_string(memoryLoad) + "%" + words;
}

} // namespace tidemark::monitor
