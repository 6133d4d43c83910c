// Drives modal dialogs from a test: a handler waits (polling the event loop)
// for the next modal dialog of a given type and acts on it, so the code under
// test can call exec() as it does for a user.
#pragma once

#include <QWidget>

#include <functional>

namespace nimbra::test {

class ModalDialogs {
public:
    // Runs `handler` on the next shown modal widget of type T (waiting at most
    // five seconds); the handler fills it and accepts or rejects it. A dialog
    // still open when the handler returns is closed.
    template <class T>
    static void whenShown(std::function<void(T*)> handler)
    {
        watch([handler](QWidget* widget) {
            T* dialog = qobject_cast<T*>(widget);
            if (dialog == nullptr) return false;
            handler(dialog);
            return true;
        });
    }

    // Answers the next file dialog with `path` and accepts it. The name is
    // typed into the dialog's own field: selectFile() leaves that field alone
    // while it has the focus, which depends on when the window got activated.
    static void answerFileDialog(const QString& path);

    // How many handlers gave up without their dialog; the modal widget shown
    // at that moment, if any, was closed so the test does not hang.
    static int missed();

private:
    static void watch(std::function<bool(QWidget*)> handleIfMatching);
};

}  // namespace nimbra::test
