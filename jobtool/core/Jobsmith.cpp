#include "jobtool/core/Jobsmith.h"

#include "jobtool/core/JobsmithTexts.h"
#include "jobtool/core/StartTime.h"
#include "platform/TextConversion.h"

namespace tidemark::jobtool {
namespace {

// Text that is wiped when it goes: passwords.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::string text) : text_(std::move(text)) {}
    ~SecretText() { wipe(); }
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    SecretText& operator=(std::string text) {
        wipe();
        text_ = std::move(text);
        return *this;
    }
    const std::string& get() const { return text_; }

private:
    void wipe() {
        volatile char* p = text_.empty() ? nullptr : &text_[0];
        for (std::size_t i = 0; i < text_.size(); ++i) p[i] = 0;
        text_.clear();
    }
    std::string text_;
};

std::string withWord(const char* pattern, const std::string& word) {
    std::string out = pattern;
    for (auto at = out.find("%s"); at != std::string::npos; at = out.find("%s", at + word.size()))
        out.replace(at, 2, word);
    return out;
}

std::size_t utf16Length(const std::string& text) { return platform::utf8ToUtf16(text).size(); }

bool sameKeyword(const std::string& word, const char* keyword) {
    std::string a = word, b = keyword;
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

class Run {
public:
    Run(const std::vector<std::string>& words, JobsmithServices& s) : words_(words), s_(s) {}

    HResult start() {
        const std::size_t count = words_.size();
        if (count == 2) {
            help();
            return hr::Ok;
        }
        // A forgotten word (an empty "" the shell dropped) must not look like
        // success: the other wrong counts fail.
        if (count == 4 || count == 5 || count > 8 || count == 0) {
            help();
            return hr::Fail;
        }
        if (!wordsFit()) return hr::Fail;

        std::unique_ptr<TaskScheduler> scheduler;
        const HResult created = s_.schedulers.create(scheduler);
        if (failed(created) || !scheduler) {
            box(text::kOleFailed);
            return failed(created) ? created : hr::Fail;
        }
        if (count == 1) return list(*scheduler);
        if (count == 3) return remove(*scheduler);
        return add(*scheduler);
    }

private:
    const std::string& program() const { return words_[0]; }

    void help() {
        for (const char* line : text::kHelp) s_.console.write(withWord(line, program()));
    }

    void box(const char* message) {
        platform::MessageRequest m;
        m.text = message;
        m.title = text::kBoxTitle;
        s_.messages.show(m);
    }

    // Words longer than their buffers are refused whole, before anything
    // else happens: nothing is ever cut short.
    bool wordsFit() {
        const std::size_t count = words_.size();
        std::vector<std::size_t> limits(8, 0);   // 0: not checked
        limits[1] = kMaxTaskName;
        if (count >= 6) {
            if (!sameKeyword(words_[2], "/SYS") && !sameKeyword(words_[2], "/SOON")) limits[2] = kMaxTimeWord;
            limits[3] = kMaxComment;
            limits[4] = kMaxPath;
            limits[5] = kMaxParameters;
            if (count >= 7) limits[6] = kMaxUserName;
            if (count >= 8) limits[7] = kMaxPassword;
        }
        for (std::size_t i = 1; i < count; ++i) {
            if (limits[i] == 0 || utf16Length(words_[i]) <= limits[i]) continue;
            std::string line = text::kWordTooLong;
            line.replace(line.find("%d"), 2, std::to_string(i));
            line.replace(line.find("%n"), 2, std::to_string(limits[i]));
            s_.console.write(line);
            s_.console.write(withWord(text::kSeeHelp, program()));
            return false;
        }
        return true;
    }

    // Every task with its trigger texts. The listing stops at the first
    // failing call (a failed trigger text ends only that task's lines) and
    // the exit code is the first failure met, 0 when there was none.
    HResult list(TaskScheduler& scheduler) {
        s_.console.write(text::kListHeading);
        std::unique_ptr<WorkItemNames> names;
        HResult r = scheduler.Enum(names);
        if (failed(r) || !names) {
            s_.console.write(text::kEnumFailed);
            return failed(r) ? r : hr::Fail;
        }
        HResult firstFailure = hr::Ok;
        auto stop = [&](const char* line, HResult result) {
            if (line) s_.console.write(line);
            return firstFailure != hr::Ok ? firstFailure : (failed(result) ? result : hr::Fail);
        };
        for (;;) {
            std::string name;
            r = names->Next(name);
            if (r == hr::False) return firstFailure;
            if (r != hr::Ok) return stop(nullptr, r);

            std::unique_ptr<WorkItem> item;
            r = scheduler.Activate(name, item);
            if (failed(r) || !item) return stop(text::kActivateFailed, r);
            std::unique_ptr<Task> task;
            r = item->QueryTask(task);
            item.reset();
            if (failed(r) || !task) return stop(text::kQueryTaskFailed, r);
            s_.console.write(withWord(text::kTaskLine, name));
            std::uint16_t triggers = 0;
            r = task->GetTriggerCount(triggers);
            if (failed(r)) return stop(text::kTriggerCountFailed, r);
            for (std::uint16_t i = 0; i < triggers; ++i) {
                std::string trigger;
                r = task->GetTriggerString(i, trigger);
                if (failed(r)) {
                    s_.console.write(text::kTriggerStringFailed);
                    if (firstFailure == hr::Ok) firstFailure = r;
                    break;
                }
                s_.console.write(withWord(text::kTriggerLine, trigger));
            }
        }
    }

    HResult remove(TaskScheduler& scheduler) {
        if (!sameKeyword(words_[2], "/DELETE")) {
            s_.console.write(withWord(text::kDeleteUsage, program()));
            s_.console.write(withWord(text::kSeeHelp, program()));
            return hr::Fail;
        }
        return scheduler.Delete(words_[1]);
    }

    HResult add(TaskScheduler& scheduler) {
        const std::string& when = words_[2];
        const bool atSystemStart = sameKeyword(when, "/SYS");
        const bool soon = sameKeyword(when, "/SOON");
        TimeOfDay timeOfDay;
        if (!atSystemStart && !soon) {
            const TimeWordReading reading = readTimeWord(when);
            if (!reading.time) {
                s_.console.write(reading.errorLine);
                box(text::kTimeNotConverted);
                return hr::Fail;
            }
            timeOfDay = *reading.time;
        }
        const std::string& name = words_[1];
        std::string user = words_.size() >= 7 ? words_[6] : std::string();
        SecretText password(words_.size() == 8 ? words_[7] : std::string());

        std::unique_ptr<WorkItem> item;
        HResult r = scheduler.NewWorkItem(name, item);
        if (failed(r) || !item) return fail(text::kNewWorkItemFailed, r);
        std::unique_ptr<Task> task;
        r = item->QueryTask(task);
        item.reset();
        if (failed(r) || !task) return fail(text::kQueryITaskFailed, r);

        r = setAccount(*task, name, user, password);
        if (failed(r) && r != hr::NoSecurityServices) return fail(text::kAccountFailed, r);
        if (failed(r = task->SetApplicationName(words_[4]))) return fail(text::kApplicationNameFailed, r);
        if (failed(r = task->SetParameters(words_[5]))) return fail(text::kParametersFailed, r);
        if (failed(r = task->SetComment(words_[3]))) return fail(text::kCommentFailed, r);
        if (failed(r = task->SetFlags(kTaskFlagDeleteWhenDone))) return fail(text::kFlagsFailed, r);
        std::unique_ptr<TaskTrigger> trigger;
        r = task->CreateTrigger(trigger);
        if (failed(r) || !trigger) return fail(text::kCreateTriggerFailed, r);

        // The start is taken from the clock now, after any prompt, so that
        // the time a person spent typing does not put it in the past.
        const platform::LocalTime now = s_.clock.localTime();
        const StartTime start = soon ? nextMinute(now, kSoonMinimumLeadSeconds)
                                : atSystemStart ? nextMinute(now)
                                                : startAtTimeOfDay(timeOfDay, now);
        TaskTriggerData data;
        data.beginYear = start.year;
        data.beginMonth = start.month;
        data.beginDay = start.day;
        data.startHour = start.hour;
        data.startMinute = start.minute;
        data.triggerType = atSystemStart ? TaskTriggerData::kAtSystemStart : TaskTriggerData::kOnce;
        if (failed(r = trigger->SetTrigger(data))) return fail(text::kSetTriggerFailed, r);

        std::unique_ptr<PersistFile> persist;
        r = task->QueryPersistFile(persist);
        if (failed(r) || !persist) return fail(text::kQueryPersistFailed, r);
        r = persist->Save();
        if (failed(r)) return fail(text::kSaveFailed, r);
        return r;
    }

    HResult fail(const char* message, HResult r) {
        box(message);
        return failed(r) ? r : hr::Fail;
    }

    // The account step. Without security services (Windows 9x) nothing is
    // asked. A missing user name is asked for with its password; a user
    // name given without a password (seven words) asks for the password only.
    HResult setAccount(Task& task, const std::string& name, std::string& user, SecretText& password) {
        HResult r = task.SetAccountInformation(user, password.get());
        if (r == hr::NoSecurityServices) return r;
        const bool askUser = user.empty();
        const bool askPassword = askUser || words_.size() == 7;
        if (!askPassword) return r;
        if (askUser) {
            s_.console.write(withWord(text::kUserPrompt, name));
            const auto typed = s_.console.readLine();
            s_.console.write("\n");
            if (!typed || typed->empty() || utf16Length(*typed) > kMaxUserName) return hr::Fail;
            user = *typed;
        }
        s_.console.write(withWord(text::kPasswordPrompt, user));
        auto typed = s_.console.readSecretLine();
        s_.console.write("\n");
        // End of input: an empty password.
        password = typed ? std::move(*typed) : std::string();
        if (utf16Length(password.get()) > kMaxPassword) return hr::Fail;
        return task.SetAccountInformation(user, password.get());
    }

    const std::vector<std::string>& words_;
    JobsmithServices& s_;
};

} // namespace

HResult runJobsmith(const std::vector<std::string>& words, JobsmithServices& services) {
    return Run(words, services).start();
}

} // namespace tidemark::jobtool
