// System message boxes.
#pragma once
#include "platform/MessageBox.h"

namespace tidemark::win32 {

class Win32MessageBoxes final : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(const platform::MessageRequest& request) override;
};

} // namespace tidemark::win32
