#pragma once
// Every window of the program is a single instance: created (running its load
// handler once) on first use, kept while hidden, and created anew after it
// was unloaded.
#include <QPointer>

namespace tagwerk {

template <class Window> class WindowSingleton {
public:
    static Window& instance() {
        if (!window_)
            window_ = new Window;
        return *window_;
    }
    static bool exists() { return !window_.isNull(); }
    // Destroys the window; the next instance() creates it anew.
    static void unload() { delete window_.data(); }
    // For a window that unloads itself from one of its own handlers: it is
    // hidden and forgotten at once (the next instance() is a new window) and
    // deleted when control is back in the event loop.
    static void unloadLater() {
        Window* window = window_.data();
        window_ = nullptr;
        if (window) {
            window->hide();
            window->deleteLater();
        }
    }

private:
    static inline QPointer<Window> window_;
};

} // namespace tagwerk
