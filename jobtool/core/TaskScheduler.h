// The Task Scheduler 1.0 as Jobsmith uses it: one method per COM call, each
// returning the call's result code. Every object is owned by a unique_ptr;
// destroying it is the interface's Release, so every path releases what it
// obtained exactly once.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include "jobtool/core/HResult.h"

namespace tidemark::jobtool {

// TASK_TRIGGER as Jobsmith fills it; members not listed are 0.
struct TaskTriggerData {
    static constexpr std::uint16_t kSize = 48;                  // cbTriggerSize
    static constexpr std::int32_t kOnce = 0;                    // TASK_TIME_TRIGGER_ONCE
    static constexpr std::int32_t kAtSystemStart = 6;           // TASK_EVENT_TRIGGER_AT_SYSTEMSTART
    std::uint16_t beginYear = 0, beginMonth = 0, beginDay = 0;
    std::uint16_t startHour = 0, startMinute = 0;
    std::int32_t triggerType = kOnce;
};

inline constexpr std::uint32_t kTaskFlagDeleteWhenDone = 2;     // TASK_FLAG_DELETE_WHEN_DONE

class TaskTrigger {
public:
    virtual ~TaskTrigger() = default;
    virtual HResult SetTrigger(const TaskTriggerData& trigger) = 0;
};

class PersistFile {
public:
    virtual ~PersistFile() = default;
    // Save(NULL, FALSE): stores the task in the scheduler's folder.
    virtual HResult Save() = 0;
};

class Task {
public:
    virtual ~Task() = default;
    virtual HResult GetTriggerCount(std::uint16_t& count) = 0;
    virtual HResult GetTriggerString(std::uint16_t index, std::string& text) = 0;
    virtual HResult SetAccountInformation(const std::string& user, const std::string& password) = 0;
    virtual HResult SetApplicationName(const std::string& path) = 0;
    virtual HResult SetParameters(const std::string& parameters) = 0;
    virtual HResult SetComment(const std::string& comment) = 0;
    virtual HResult SetFlags(std::uint32_t flags) = 0;
    virtual HResult CreateTrigger(std::unique_ptr<TaskTrigger>& trigger) = 0;
    virtual HResult QueryPersistFile(std::unique_ptr<PersistFile>& persist) = 0;
};

// What Activate and NewWorkItem hand back, before it is asked for ITask.
class WorkItem {
public:
    virtual ~WorkItem() = default;
    virtual HResult QueryTask(std::unique_ptr<Task>& task) = 0;
};

class WorkItemNames {
public:
    virtual ~WorkItemNames() = default;
    // One name: Ok with the name, False at the end, or a failure.
    virtual HResult Next(std::string& name) = 0;
};

class TaskScheduler {
public:
    virtual ~TaskScheduler() = default;
    virtual HResult Enum(std::unique_ptr<WorkItemNames>& names) = 0;
    virtual HResult Activate(const std::string& name, std::unique_ptr<WorkItem>& item) = 0;
    virtual HResult Delete(const std::string& name) = 0;
    virtual HResult NewWorkItem(const std::string& name, std::unique_ptr<WorkItem>& item) = 0;
};

// COM start-up and the scheduler instance; COM is shut down again when the
// returned scheduler is gone (or at once, when creating it failed).
class TaskSchedulerFactory {
public:
    virtual ~TaskSchedulerFactory() = default;
    virtual HResult create(std::unique_ptr<TaskScheduler>& scheduler) = 0;
};

} // namespace tidemark::jobtool
