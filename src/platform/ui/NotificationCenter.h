#pragma once
// Named notifications on the main thread: observers of a name (optionally of one sender) are
// called in the order they registered. An observer removed during a post is not called later
// in that post.

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

struct Notification {
    std::string name;
    const void* object = nullptr;
    std::map<std::string, std::any> userInfo;
};

class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;
    using Token = std::uint64_t;

    static NotificationCenter& defaultCenter();

    // `object` null = from any sender.
    Token addObserver(std::string name, const void* object, Observer observer);
    void removeObserver(Token token);
    void post(const std::string& name, const void* object = nullptr,
              std::map<std::string, std::any> userInfo = {});
    // Drops every observer (tests).
    void reset();

private:
    struct Entry {
        Token token;
        std::string name;
        const void* object;
        Observer observer;
    };
    std::vector<Entry> entries_;
    Token next_ = 1;
};

// Keyboard notifications posted by the window; the user info key "UIKeyboardFrameEndUserInfoKey"
// holds the keyboard's ui::Rect in window coordinates.
inline constexpr const char* KeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* KeyboardDidShowNotification = "UIKeyboardDidShowNotification";
inline constexpr const char* KeyboardWillHideNotification = "UIKeyboardWillHideNotification";
inline constexpr const char* KeyboardDidHideNotification = "UIKeyboardDidHideNotification";
inline constexpr const char* KeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
// Application state notifications posted by the shell through ui::Application.
inline constexpr const char* ApplicationWillEnterForegroundNotification = "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* ApplicationDidBecomeActiveNotification = "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* ApplicationWillResignActiveNotification = "UIApplicationWillResignActiveNotification";
inline constexpr const char* ApplicationDidEnterBackgroundNotification = "UIApplicationDidEnterBackgroundNotification";

}  // namespace ui
