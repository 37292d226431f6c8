// The ANSI code page of the simulated machine: 932 (Japanese) by default,
// 1252 (Western) for tests of a non-Japanese system. Converted with iconv.
#pragma once
#include "platform/CodePage.h"

namespace tidemark::sim {

class SimCodePage final : public platform::CodePage {
public:
    explicit SimCodePage(std::uint32_t id = 932) : id_(id) {}
    std::uint32_t id() override { return id_; }
    std::string toAnsi(std::string_view utf8) override;
    std::string fromAnsi(std::string_view ansi) override;
    bool isLeadByte(unsigned char byte) override;
    void setId(std::uint32_t id) { id_ = id; }

private:
    std::uint32_t id_;
};

} // namespace tidemark::sim
