// MessageRecorder: catches the message boxes of a test and answers them with OK.
#pragma once

#include "foundation/MessageBox.h"

#include <windows.h>

#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    unsigned style;
};

// While it lives, every messageBox is recorded instead of shown.
class MessageRecorder {
public:
    MessageRecorder() : previous_(setMessageBoxHandler(&record)) { messages().clear(); }
    ~MessageRecorder() { setMessageBoxHandler(previous_); }

    static std::vector<RecordedMessage>& messages()
    {
        static std::vector<RecordedMessage> recorded;
        return recorded;
    }

private:
    static int record(const char* text, unsigned style)
    {
        messages().push_back({text, style});
        return IDOK;
    }

    MessageBoxHandler previous_;
};
