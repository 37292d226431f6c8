// The COM adapter of Jobsmith's scheduler interface: no decisions, each
// method one call with its result code passed back.
#include "jobtool/win32/ComTaskScheduler.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WindowsApi.h"

// The Task Scheduler 1.0 declarations; they need windows.h first.
#include <initguid.h>
#include <mstask.h>

namespace tidemark::jobtool::win32 {
namespace {

using tidemark::win32::ComPtr;
using tidemark::win32::fromWideBuffer;
using tidemark::win32::toWide;

HResult code(HRESULT r) { return static_cast<HResult>(r); }

// Task Scheduler strings are freed with CoTaskMemFree.
std::string takeTaskMemString(LPWSTR text) {
    std::string out = fromWideBuffer(text);
    ::CoTaskMemFree(text);
    return out;
}

class ComTrigger final : public TaskTrigger {
public:
    explicit ComTrigger(ComPtr<ITaskTrigger> trigger) : trigger_(std::move(trigger)) {}
    HResult SetTrigger(const TaskTriggerData& d) override {
        TASK_TRIGGER t{};
        t.cbTriggerSize = TaskTriggerData::kSize;
        t.wBeginYear = d.beginYear;
        t.wBeginMonth = d.beginMonth;
        t.wBeginDay = d.beginDay;
        t.wStartHour = d.startHour;
        t.wStartMinute = d.startMinute;
        t.TriggerType = static_cast<TASK_TRIGGER_TYPE>(d.triggerType);
        return code(trigger_->SetTrigger(&t));
    }

private:
    ComPtr<ITaskTrigger> trigger_;
};

class ComPersist final : public PersistFile {
public:
    explicit ComPersist(ComPtr<IPersistFile> file) : file_(std::move(file)) {}
    HResult Save() override { return code(file_->Save(nullptr, FALSE)); }

private:
    ComPtr<IPersistFile> file_;
};

class ComTask final : public Task {
public:
    explicit ComTask(ComPtr<ITask> task) : task_(std::move(task)) {}
    HResult GetTriggerCount(std::uint16_t& count) override {
        WORD n = 0;
        const HRESULT r = task_->GetTriggerCount(&n);
        count = n;
        return code(r);
    }
    HResult GetTriggerString(std::uint16_t index, std::string& text) override {
        LPWSTR trigger = nullptr;
        const HRESULT r = task_->GetTriggerString(index, &trigger);
        if (SUCCEEDED(r) && trigger) text = takeTaskMemString(trigger);
        return code(r);
    }
    HResult SetAccountInformation(const std::string& user, const std::string& password) override {
        const std::wstring u = toWide(user);
        std::wstring p = toWide(password);
        const HRESULT r = task_->SetAccountInformation(u.c_str(), p.c_str());
        ::SecureZeroMemory(&p[0], p.size() * sizeof(wchar_t));
        return code(r);
    }
    HResult SetApplicationName(const std::string& path) override {
        return code(task_->SetApplicationName(toWide(path).c_str()));
    }
    HResult SetParameters(const std::string& parameters) override {
        return code(task_->SetParameters(toWide(parameters).c_str()));
    }
    HResult SetComment(const std::string& comment) override { return code(task_->SetComment(toWide(comment).c_str())); }
    HResult SetFlags(std::uint32_t flags) override { return code(task_->SetFlags(flags)); }
    HResult CreateTrigger(std::unique_ptr<TaskTrigger>& trigger) override {
        WORD index = 0;
        ComPtr<ITaskTrigger> created;
        const HRESULT r = task_->CreateTrigger(&index, created.receiveTyped());
        if (SUCCEEDED(r) && created) trigger = std::make_unique<ComTrigger>(std::move(created));
        return code(r);
    }
    HResult QueryPersistFile(std::unique_ptr<PersistFile>& persist) override {
        ComPtr<IPersistFile> file;
        const HRESULT r = task_->QueryInterface(IID_IPersistFile, file.receive());
        if (SUCCEEDED(r) && file) persist = std::make_unique<ComPersist>(std::move(file));
        return code(r);
    }

private:
    ComPtr<ITask> task_;
};

class ComWorkItem final : public WorkItem {
public:
    explicit ComWorkItem(ComPtr<IUnknown> item) : item_(std::move(item)) {}
    HResult QueryTask(std::unique_ptr<Task>& task) override {
        ComPtr<ITask> t;
        const HRESULT r = item_->QueryInterface(IID_ITask, t.receive());
        if (SUCCEEDED(r) && t) task = std::make_unique<ComTask>(std::move(t));
        return code(r);
    }

private:
    ComPtr<IUnknown> item_;
};

class ComNames final : public WorkItemNames {
public:
    explicit ComNames(ComPtr<IEnumWorkItems> names) : names_(std::move(names)) {}
    HResult Next(std::string& name) override {
        LPWSTR* names = nullptr;
        ULONG fetched = 0;
        const HRESULT r = names_->Next(1, &names, &fetched);
        if (names) {
            for (ULONG i = 0; i < fetched; ++i) {
                if (i == 0) name = fromWideBuffer(names[i]);
                ::CoTaskMemFree(names[i]);
            }
            ::CoTaskMemFree(names);
        }
        return code(r);
    }

private:
    ComPtr<IEnumWorkItems> names_;
};

class ComScheduler final : public TaskScheduler {
public:
    explicit ComScheduler(ComPtr<ITaskScheduler> scheduler) : scheduler_(std::move(scheduler)) {}
    ~ComScheduler() override {
        scheduler_.reset();
        ::CoUninitialize();
    }
    HResult Enum(std::unique_ptr<WorkItemNames>& names) override {
        ComPtr<IEnumWorkItems> e;
        const HRESULT r = scheduler_->Enum(e.receiveTyped());
        if (SUCCEEDED(r) && e) names = std::make_unique<ComNames>(std::move(e));
        return code(r);
    }
    HResult Activate(const std::string& name, std::unique_ptr<WorkItem>& item) override {
        ComPtr<IUnknown> unknown;
        const HRESULT r = scheduler_->Activate(toWide(name).c_str(), IID_ITask, unknown.receiveTyped());
        if (SUCCEEDED(r) && unknown) item = std::make_unique<ComWorkItem>(std::move(unknown));
        return code(r);
    }
    HResult Delete(const std::string& name) override { return code(scheduler_->Delete(toWide(name).c_str())); }
    HResult NewWorkItem(const std::string& name, std::unique_ptr<WorkItem>& item) override {
        ComPtr<IUnknown> unknown;
        const HRESULT r =
            scheduler_->NewWorkItem(toWide(name).c_str(), CLSID_CTask, IID_ITask, unknown.receiveTyped());
        if (SUCCEEDED(r) && unknown) item = std::make_unique<ComWorkItem>(std::move(unknown));
        return code(r);
    }

private:
    ComPtr<ITaskScheduler> scheduler_;
};

} // namespace

HResult ComTaskSchedulerFactory::create(std::unique_ptr<TaskScheduler>& scheduler) {
    HRESULT r = ::CoInitialize(nullptr);
    if (FAILED(r)) return code(r);
    ComPtr<ITaskScheduler> created;
    r = ::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, created.receive());
    if (FAILED(r)) {
        ::CoUninitialize();
        return code(r);
    }
    scheduler = std::make_unique<ComScheduler>(std::move(created));
    return code(r);
}

} // namespace tidemark::jobtool::win32
