// Every section, key and fixed word of the suite's two settings files.
#pragma once

namespace tidemark::ini {

inline constexpr const char* kSettingsFileName = "Tidemark.ini";
// Below the user's application-data folder.
inline constexpr const char* kUserSettingsFolder1 = "\\Quillon";
inline constexpr const char* kUserSettingsFolder2 = "\\Quillon\\Kestrel";

namespace section {
// Shared settings file.
inline constexpr const char* AppSettingFlag = "AppSettingFlag";
inline constexpr const char* UserAccountName = "UserAccountName";
inline constexpr const char* LocalProfileName = "LocalProfileName";
inline constexpr const char* GetRightChallenge = "GetRightChallenge";
inline constexpr const char* StartupSetting = "StartupSetting";
inline constexpr const char* IconSetting = "IconSetting";
inline constexpr const char* ExitTrigProcList = "ExitTrigProcList";
// Per-user settings file (StartupSetting and IconSetting appear there too,
// keyed by the user's SID).
inline constexpr const char* AppSetting = "AppSetting";
} // namespace section

namespace key {
// [AppSettingFlag]
inline constexpr const char* MemCleanRightUser = "MemCleanRightUser";
// The logon session of the copy that holds the right: one account may run a
// copy in each of its sessions, and only one copy on the machine cleans.
// Missing in files written before it existed: the SID alone names the holder.
inline constexpr const char* MemCleanRightSession = "MemCleanRightSession";
inline constexpr const char* MemCleanRightTime = "MemCleanRightTime";
// The local minute ("YYYYMMDDHHMM") in which "MemCleanRightTime" was last
// counted down: it goes down once a minute for the machine, however many
// copies wait for the right.
inline constexpr const char* MemCleanRightTimeCounted = "MemCleanRightTimeCounted";
inline constexpr const char* ShExTime = "ShExTime";
// The last cleaning's result (shared/cleaner/CleaningResult), written with
// "ShExTime" in one write by the copy that cleaned.
inline constexpr const char* ShExResult = "ShExResult";
inline constexpr const char* SSAUserTime = "SSAUserTime";
inline constexpr const char* SSAUserName = "SSAUserName";
inline constexpr const char* MemCleanExeMemSize = "MemCleanExeMemSize";
inline constexpr const char* MemCleanSize = "MemCleanSize";
inline constexpr const char* MemCleanForm = "MemCleanForm";
inline constexpr const char* SlowMemCleanSetting = "SlowMemCleanSetting";
inline constexpr const char* PhysMemSize = "PhysMemSize";
inline constexpr const char* ProcWatchSetting = "ProcWatchSetting";
inline constexpr const char* STMCProcReplaceFlag = "STMCProcReplaceFlag";
inline constexpr const char* PassTest = "PassTest";
// [StartupSetting] and [IconSetting] of the shared file.
inline constexpr const char* AllUsers = "AllUsers";
// [AppSetting] of the per-user file.
inline constexpr const char* FormStyle = "FormStyle";
inline constexpr const char* IconObjFlag = "IconObjFlag";
} // namespace key

namespace word {
inline constexpr const char* True = "True";
inline constexpr const char* False = "False";
inline constexpr const char* NoUser = "NoUser";
// The system-start account's key, and its account name under [UserAccountName].
inline constexpr const char* SystemStartAdministrators = "SystemStartAdministrators";
inline constexpr const char* SystemStartAdministratorsName = "System Start Administrators";
inline constexpr const char* NonProc = "NonProc";
inline constexpr const char* First = "First";
inline constexpr const char* Slow = "Slow";
inline constexpr const char* Administrators = "Administrators";
inline constexpr const char* NotAdmin = "NotAdmin";
inline constexpr const char* UnknownGroup = "Unknown Group";
inline constexpr const char* UnknownUser = "Unknown User";
} // namespace word

// Read-buffer sizes of the profile calls, in bytes.
namespace buffer {
inline constexpr unsigned Value = 255;          // SettingsFiles
inline constexpr unsigned KeyList = 10240;
} // namespace buffer

} // namespace tidemark::ini
