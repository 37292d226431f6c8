#include "monitor/windows/about/AboutWindow.h"

namespace tidemark::monitor::about {

std::string caption(const std::string& title) { return title + " のﾊﾞｰｼﾞｮﾝ情報"; }

std::string versionText(int major, int minor, int revision) {
    return "Ver " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::optional<std::string> registryValueText(platform::Platform& platform, platform::RegistryRoot root,
                                             const std::string& keyName, const std::string& valueName) {
    const auto key = platform.registry.openKey(root, keyName);
    if (!key) return std::nullopt;
    const auto v = key->queryValue(valueName);
    if (!v || v->data.size() > 1024) return std::nullopt;
    std::string value;
    std::string data = v->data;
    if (!data.empty() && data.back() == '\0') data.pop_back();
    if (v->type == platform::regtype::String || v->type == platform::regtype::ExpandString) {
        value = data;
    } else if (v->type == platform::regtype::Dword && v->data.size() >= 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v->data[i]);
        value = std::to_string(n);
    }
    return value;
}

bool startSystemInformation(MonitorContext& c, platform::NativeWindow owner) {
    auto& p = c.platform;
    constexpr std::intptr_t kStarted = 32;
    const auto program =
        registryValueText(p, platform::RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    if (program && !program->empty()) {
        if (p.launcher.shellExecute(owner, "open", *program, "", "", platform::showcmd::Normal) > kStarted) return true;
    } else if (const auto folder = registryValueText(p, platform::RegistryRoot::LocalMachine,
                                                     "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
               folder && !folder->empty() && p.files.fileExists(*folder + "\\MSINFO32.EXE")) {
        if (p.launcher.shellExecute(owner, "open", *folder + "\\MSINFO32.EXE", "", "", platform::showcmd::Normal) >
            kStarted)
            return true;
    }
    platform::MessageRequest m;
    m.owner = owner;
    m.text = "システム情報は、現在使用できません";
    m.title = c.state.programTitle;
    p.messages.show(m);
    c.state.windows.systemInfoAvailable = false;
    return false;
}

} // namespace tidemark::monitor::about
