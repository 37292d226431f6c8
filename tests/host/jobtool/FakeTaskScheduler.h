// A Task Scheduler in memory for Jobsmith's tests: tasks, a result code to
// script for any call, a log of the calls, and a count of the interfaces
// alive so a test can see that every path released what it obtained.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobtool/core/JobConsole.h"
#include "jobtool/core/TaskScheduler.h"
#include "platform/MessageBox.h"

namespace tidemark::jobtool::testing {

struct SavedTask {
    std::string application, parameters, comment, user, password;
    std::uint32_t flags = 0;
    std::optional<TaskTriggerData> trigger;
};

class FakeScheduler {
public:
    std::map<std::string, SavedTask> tasks;
    std::map<std::string, HResult> failing;    // call name -> its result
    std::vector<std::string> calls;
    int alive = 0, created = 0;
    bool noSecurityServices = false;             // Windows 9x
    bool refuseDottedNames = false;              // Wine: NewWorkItem, Activate, Delete
    std::optional<HResult> nextAfterNames;       // what Next answers once the names are out
    std::optional<std::string> triggerTextFor;   // a fixed trigger text

    HResult call(const std::string& name) {
        calls.push_back(name);
        const auto it = failing.find(name);
        return it == failing.end() ? hr::Ok : it->second;
    }
    std::unique_ptr<TaskSchedulerFactory> factory();
};

// Counts itself among the scheduler's live interfaces.
class Counted {
public:
    explicit Counted(FakeScheduler& f) : fake_(f) {
        ++fake_.alive;
        ++fake_.created;
    }
    virtual ~Counted() { --fake_.alive; }

protected:
    FakeScheduler& fake_;
};

class FakeTrigger final : public TaskTrigger, Counted {
public:
    FakeTrigger(FakeScheduler& f, std::optional<TaskTriggerData>& target) : Counted(f), target_(target) {}
    HResult SetTrigger(const TaskTriggerData& t) override {
        const HResult r = fake_.call("SetTrigger");
        if (!failed(r)) target_ = t;
        return r;
    }

private:
    std::optional<TaskTriggerData>& target_;
};

class FakeTask;

class FakePersist final : public PersistFile, Counted {
public:
    FakePersist(FakeScheduler& f, std::string name, const SavedTask& task) : Counted(f), name_(std::move(name)), task_(task) {}
    HResult Save() override {
        const HResult r = fake_.call("Save");
        if (!failed(r)) fake_.tasks[name_] = task_;
        return r;
    }

private:
    std::string name_;
    const SavedTask& task_;
};

class FakeTask final : public Task, Counted {
public:
    FakeTask(FakeScheduler& f, std::string name, SavedTask task) : Counted(f), name_(std::move(name)), task_(std::move(task)) {}
    HResult GetTriggerCount(std::uint16_t& count) override {
        const HResult r = fake_.call("GetTriggerCount");
        count = task_.trigger ? 1 : 0;
        return r;
    }
    HResult GetTriggerString(std::uint16_t, std::string& text) override {
        const HResult r = fake_.call("GetTriggerString");
        if (!failed(r))
            text = fake_.triggerTextFor ? *fake_.triggerTextFor
                   : task_.trigger->triggerType == TaskTriggerData::kAtSystemStart ? "At system start"
                                                                                  : "Once";
        return r;
    }
    HResult SetAccountInformation(const std::string& user, const std::string& password) override {
        const HResult r = fake_.call("SetAccountInformation");
        if (fake_.noSecurityServices) return hr::NoSecurityServices;
        task_.user = user;
        task_.password = password;
        return r;
    }
    HResult SetApplicationName(const std::string& v) override { return set("SetApplicationName", task_.application, v); }
    HResult SetParameters(const std::string& v) override { return set("SetParameters", task_.parameters, v); }
    HResult SetComment(const std::string& v) override { return set("SetComment", task_.comment, v); }
    HResult SetFlags(std::uint32_t flags) override {
        task_.flags = flags;
        return fake_.call("SetFlags");
    }
    HResult CreateTrigger(std::unique_ptr<TaskTrigger>& trigger) override {
        const HResult r = fake_.call("CreateTrigger");
        if (!failed(r)) trigger = std::make_unique<FakeTrigger>(fake_, task_.trigger);
        return r;
    }
    HResult QueryPersistFile(std::unique_ptr<PersistFile>& persist) override {
        const HResult r = fake_.call("QueryPersistFile");
        if (!failed(r)) persist = std::make_unique<FakePersist>(fake_, name_, task_);
        return r;
    }

private:
    HResult set(const char* what, std::string& field, const std::string& value) {
        field = value;
        return fake_.call(what);
    }
    std::string name_;
    SavedTask task_;
};

class FakeWorkItem final : public WorkItem, Counted {
public:
    FakeWorkItem(FakeScheduler& f, std::string name, SavedTask task) : Counted(f), name_(std::move(name)), task_(std::move(task)) {}
    HResult QueryTask(std::unique_ptr<Task>& task) override {
        const HResult r = fake_.call("QueryTask");
        if (!failed(r)) task = std::make_unique<FakeTask>(fake_, name_, task_);
        return r;
    }

private:
    std::string name_;
    SavedTask task_;
};

class FakeNames final : public WorkItemNames, Counted {
public:
    FakeNames(FakeScheduler& f, std::vector<std::string> names) : Counted(f), names_(std::move(names)) {}
    HResult Next(std::string& name) override {
        const HResult r = fake_.call("Next");
        if (r != hr::Ok) return r;
        if (next_ == names_.size()) return fake_.nextAfterNames.value_or(hr::False);
        name = names_[next_++];
        return hr::Ok;
    }

private:
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

class FakeSchedulerInstance final : public TaskScheduler, Counted {
public:
    explicit FakeSchedulerInstance(FakeScheduler& f) : Counted(f) {}
    ~FakeSchedulerInstance() override { fake_.calls.push_back("CoUninitialize"); }
    HResult Enum(std::unique_ptr<WorkItemNames>& names) override {
        const HResult r = fake_.call("Enum");
        std::vector<std::string> list;
        for (const auto& [name, task] : fake_.tasks) list.push_back(name);
        if (!failed(r)) names = std::make_unique<FakeNames>(fake_, list);
        return r;
    }
    HResult Activate(const std::string& name, std::unique_ptr<WorkItem>& item) override {
        HResult r = fake_.call("Activate");
        if (!failed(r) && dotted(name)) r = hr::InvalidArgument;
        const auto it = fake_.tasks.find(name);
        if (!failed(r) && it == fake_.tasks.end()) r = 0x80070002;
        if (!failed(r)) item = std::make_unique<FakeWorkItem>(fake_, name, it->second);
        return r;
    }
    HResult Delete(const std::string& name) override {
        HResult r = fake_.call("Delete");
        if (!failed(r) && dotted(name)) r = hr::InvalidArgument;
        if (!failed(r) && fake_.tasks.erase(name) == 0) r = 0x80070002;
        return r;
    }
    HResult NewWorkItem(const std::string& name, std::unique_ptr<WorkItem>& item) override {
        HResult r = fake_.call("NewWorkItem");
        if (!failed(r) && dotted(name)) r = hr::InvalidArgument;
        if (!failed(r) && fake_.tasks.count(name)) r = 0x80070050;   // the file exists
        if (!failed(r)) item = std::make_unique<FakeWorkItem>(fake_, name, SavedTask{});
        return r;
    }

private:
    bool dotted(const std::string& name) const { return fake_.refuseDottedNames && name.find('.') != std::string::npos; }
};

class FakeFactory final : public TaskSchedulerFactory {
public:
    explicit FakeFactory(FakeScheduler& f) : fake_(f) {}
    HResult create(std::unique_ptr<TaskScheduler>& scheduler) override {
        const HResult r = fake_.call("CoCreateInstance");
        if (!failed(r)) scheduler = std::make_unique<FakeSchedulerInstance>(fake_);
        return r;
    }

private:
    FakeScheduler& fake_;
};

inline std::unique_ptr<TaskSchedulerFactory> FakeScheduler::factory() { return std::make_unique<FakeFactory>(*this); }

// A console with typed lines (nullopt: the end of input) and its output.
class ScriptedConsole final : public JobConsole {
public:
    std::deque<std::optional<std::string>> input;
    std::string output;
    std::vector<bool> readsWereSecret;
    std::function<void()> onRead;   // time passing while a person types
    void write(const std::string& text) override { output += text; }
    std::optional<std::string> readLine() override { return take(false); }
    std::optional<std::string> readSecretLine() override { return take(true); }

private:
    std::optional<std::string> take(bool secret) {
        readsWereSecret.push_back(secret);
        if (onRead) onRead();
        if (input.empty()) return std::nullopt;
        auto line = input.front();
        input.pop_front();
        return line;
    }
};

class RecordedBoxes final : public platform::MessageBoxes {
public:
    std::vector<platform::MessageRequest> shown;
    platform::MessageAnswer show(const platform::MessageRequest& r) override {
        shown.push_back(r);
        return platform::MessageAnswer::Ok;
    }
};

} // namespace tidemark::jobtool::testing
