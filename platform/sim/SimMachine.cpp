#include "platform/sim/SimMachine.h"

namespace tidemark::sim {

using platform::RegistryRoot;

SimMachine::SimMachine() {
    platform::OsVersionInfo v;
    v.majorVersion = 10;
    v.minorVersion = 0;
    v.buildNumber = 19045;
    v.platformId = 2;
    v.productType = 1;
    osVersion = v;
    files.makeDirectories(programFolder);
    files.makeDirectories("C:\\Windows\\Temp");
    setMemory(1024ULL << 20, 512ULL << 20);
    // The built-in service accounts: short SIDs, always loaded.
    const char* services[][2] = {{"S-1-5-18", "%systemroot%\\system32\\config\\systemprofile"},
                                 {"S-1-5-19", "C:\\Windows\\ServiceProfiles\\LocalService"},
                                 {"S-1-5-20", "C:\\Windows\\ServiceProfiles\\NetworkService"}};
    for (const auto& s : services) {
        const std::string key = std::string(kProfileListKey) + "\\" + s[0];
        registry.setString(RegistryRoot::LocalMachine, key, "ProfileImagePath", s[1]);
        registry.setDword(RegistryRoot::LocalMachine, key, "RefCount", 1);
    }
}

void SimMachine::setMemory(std::uint64_t totalBytes, std::uint64_t availBytes) {
    platform::MemoryStatusInfo m;
    m.totalPhys = totalBytes;
    m.availPhys = availBytes;
    m.memoryLoad = totalBytes == 0 ? 0 : static_cast<std::uint32_t>(100 - (availBytes * 100) / totalBytes);
    m.totalPageFile = totalBytes * 2;
    m.availPageFile = availBytes * 2;
    m.totalVirtual = 128ULL << 40;
    m.availVirtual = 127ULL << 40;
    memory = m;
}

SimUser& SimMachine::addUser(const std::string& name, const std::string& sid, std::vector<std::string> groups) {
    SimUser u;
    u.name = name;
    u.sid = sid;
    u.groups = std::move(groups);
    u.profileFolder = "C:\\Users\\" + name;
    u.appData = u.profileFolder + "\\AppData\\Roaming";
    files.makeDirectories(u.appData);
    const std::string key = std::string(kProfileListKey) + "\\" + sid;
    registry.setString(RegistryRoot::LocalMachine, key, "ProfileImagePath", u.profileFolder);
    registry.setDword(RegistryRoot::LocalMachine, key, "RefCount", 0);
    users_.push_back(u);
    return users_.back();
}

void SimMachine::logOn(const std::string& name) {
    SimUser* u = findUser(name);
    if (!u) return;
    u->loggedOn = true;
    registry.setDword(RegistryRoot::LocalMachine, std::string(kProfileListKey) + "\\" + u->sid, "RefCount", 1);
    registry.setString(RegistryRoot::Users, u->sid + "\\Volatile Environment", "APPDATA", u->appData);
}

void SimMachine::logOff(const std::string& name) {
    SimUser* u = findUser(name);
    if (!u) return;
    u->loggedOn = false;
    registry.setDword(RegistryRoot::LocalMachine, std::string(kProfileListKey) + "\\" + u->sid, "RefCount", 0);
    registry.deleteKey(RegistryRoot::Users, u->sid + "\\Volatile Environment");
}

void SimMachine::deleteProfile(const std::string& name) {
    SimUser* u = findUser(name);
    if (!u) return;
    registry.deleteKey(RegistryRoot::LocalMachine, std::string(kProfileListKey) + "\\" + u->sid);
    registry.deleteKey(RegistryRoot::Users, u->sid + "\\Volatile Environment");
}

SimUser* SimMachine::findUser(const std::string& name) {
    for (auto& u : users_)
        if (u.name == name) return &u;
    return nullptr;
}

SimUser* SimMachine::findUserBySid(const std::string& sid) {
    for (auto& u : users_)
        if (u.sid == sid) return &u;
    return nullptr;
}

} // namespace tidemark::sim
