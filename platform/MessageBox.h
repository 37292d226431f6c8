// Message boxes. Windows and start-up code report through this, so tests
// see exactly which message was shown and answer it.
#pragma once
#include <string>
#include "platform/Display.h"

namespace tidemark::platform {

enum class MessageIcon { None, Error, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct MessageRequest {
    NativeWindow owner = 0;
    std::string text;
    std::string title;     // empty: the system's default title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    int defaultButton = 1;   // which button Enter presses, from the left: 1 to 3
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const MessageRequest& request) = 0;
};

} // namespace tidemark::platform
