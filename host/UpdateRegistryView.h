// UpdateRegistryView: what the registry steps need of the user interface: the "Update
// Registry" window with the setting being written, its Cancel button and the wait cursor.
// The host never draws; the application hands the registry step an implementation.
#pragma once

class String;

class UpdateRegistryView {
public:
    virtual ~UpdateRegistryView() = default;

    // Creates and shows the modeless dialog.
    virtual void show() = 0;
    // Destroys the dialog's window when it exists.
    virtual void hide() = 0;
    // Shows the setting being written.
    virtual void showText(const String& text) = 0;
    // Pumps pending messages; once the user has cancelled, sets the last error to
    // ERROR_CANCELLED and answers true (ERROR_SHUTDOWN_IN_PROGRESS once the session is
    // ending).
    virtual bool pollCancel() = 0;
    // The wait cursor, one level more or less; both leave the last error as it was.
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;

    // While it lives, the view (when there is one) shows the wait cursor.
    class Waiting {
    public:
        explicit Waiting(UpdateRegistryView* view) : view_(view)
        {
            if (view_)
                view_->beginWaitCursor();
        }
        ~Waiting()
        {
            if (view_)
                view_->endWaitCursor();
        }
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;

    private:
        UpdateRegistryView* view_;
    };
};
