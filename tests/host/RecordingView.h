// RecordingView: a stand-in for the "Update Registry" dialog that counts its appearances
// and polls, and cancels at one given poll (1 = the first; 0 = never).
#pragma once

#include "foundation/String.h"
#include "host/UpdateRegistryView.h"

#include <windows.h>

class RecordingView : public UpdateRegistryView {
public:
    explicit RecordingView(int cancelAt = 0) : cancelAt_(cancelAt) {}
    void show() override { ++shown; }
    void hide() override { ++hidden; }
    void showText(const String& text) override { lastText = text; }
    bool pollCancel() override
    {
        if (++polls != cancelAt_)
            return false;
        SetLastError(ERROR_CANCELLED);
        return true;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    int shown = 0;
    int hidden = 0;
    int polls = 0;
    String lastText;

private:
    int cancelAt_;
};
