// SessionEndBlock: while it lives, a log-off or restart waits for the running change.
#pragma once

#include "foundation/ProductIdentity.h"
#include "foundation/String.h"
#include "framework/Application.h"
#include "host/RunContext.h"

// Around the extraction and the registry steps: Windows is asked to wait, with "Installing
// Trelliq" or "Removing Trelliq" as the run's mode says (Application::beginSessionBlock).
// Should the session end anyway, the step's views report it as a failure.
class SessionEndBlock {
public:
    explicit SessionEndBlock(const RunContext& context)
    {
        const String reason = String(context.installMode ? "Installing " : "Removing ") + product::name;
        Application::current().beginSessionBlock(reason.c_str());
    }
    ~SessionEndBlock() { Application::current().endSessionBlock(); }
    SessionEndBlock(const SessionEndBlock&) = delete;
    SessionEndBlock& operator=(const SessionEndBlock&) = delete;
};
