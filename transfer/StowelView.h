// What Stowel's window (frmSave) offers its presenter.
#pragma once
#include <string>
#include "platform/Display.h"

namespace tidemark::transfer {

enum class StowelControl { Explanation, ExportButton, ImportButton };

class StowelView {
public:
    virtual ~StowelView() = default;
    virtual platform::NativeWindow handle() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setText(StowelControl control, const std::string& text) = 0;
    // Unloads the window, which ends the program.
    virtual void close() = 0;
};

} // namespace tidemark::transfer
