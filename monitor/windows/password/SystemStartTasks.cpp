#include "monitor/windows/password/SystemStartTasks.h"

#include <algorithm>
#include <cctype>

#include "shared/system/CommandLine.h"

namespace tidemark::monitor::systemstart {
namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

} // namespace

std::string deleteParameters(const TaskRow& task) { return quoteArgument(task.name) + " /DELETE"; }

std::string addParameters(const TaskRow& task, const std::string& folder, const std::string& account) {
    const std::string program = "\"" + folder + "\\" + task.program + "\"";
    return joinArguments({task.name, task.when, task.comment, program, task.parameters, account});
}

std::string taskAccount(const std::optional<platform::WorkstationUserInfo>& workstation,
                        const std::string& logonName) {
    if (!workstation || workstation->logonDomain.empty() || logonName.find('\\') != std::string::npos)
        return logonName;
    // Another account's answer says nothing about this one.
    if (!sameName(workstation->userName, logonName)) return logonName;
    std::string server = workstation->logonServer;
    server.erase(0, server.find_first_not_of('\\'));
    // A local account is logged on by this machine, whose name is its domain.
    if (sameName(workstation->logonDomain, server)) return logonName;
    return workstation->logonDomain + "\\" + logonName;
}

void wipe(std::string& text) {
    volatile char* p = text.empty() ? nullptr : &text[0];
    for (std::size_t i = 0; i < text.size(); ++i) p[i] = 0;
    text.clear();
}

} // namespace tidemark::monitor::systemstart
