// The Task Scheduler 1.0 through its COM interface, one call per method.
#pragma once
#include "jobtool/core/TaskScheduler.h"

namespace tidemark::jobtool::win32 {

// CoInitialize and the scheduler object; COM is shut down again when the
// scheduler goes, or at once when it could not be created.
class ComTaskSchedulerFactory final : public TaskSchedulerFactory {
public:
    HResult create(std::unique_ptr<TaskScheduler>& scheduler) override;
};

} // namespace tidemark::jobtool::win32
