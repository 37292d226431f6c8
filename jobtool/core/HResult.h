// The result codes Jobsmith reads and returns: the Task Scheduler's and COM's
// own values, named here so the portable part needs no system header.
#pragma once
#include <cstdint>

namespace tidemark::jobtool {

using HResult = std::uint32_t;

namespace hr {
inline constexpr HResult Ok = 0x00000000;                       // S_OK
inline constexpr HResult False = 0x00000001;                    // S_FALSE
inline constexpr HResult Fail = 0x80004005;                     // E_FAIL
inline constexpr HResult NotImplemented = 0x80004001;           // E_NOTIMPL
inline constexpr HResult InvalidArgument = 0x80070057;          // E_INVALIDARG
inline constexpr HResult NoSecurityServices = 0x80041312;       // SCHED_E_NO_SECURITY_SERVICES
inline constexpr HResult ServiceNotRunning = 0x80041315;        // SCHED_E_SERVICE_NOT_RUNNING
} // namespace hr

inline bool failed(HResult r) { return (r & 0x80000000u) != 0; }

} // namespace tidemark::jobtool
