#include "platform/ui/NotificationCenter.h"

#include <algorithm>

namespace ui {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter c;
    return c;
}

NotificationCenter::Token NotificationCenter::addObserver(std::string name, const void* object, Observer observer) {
    Token t = next_++;
    entries_.push_back({t, std::move(name), object, std::move(observer)});
    return t;
}

void NotificationCenter::removeObserver(Token token) {
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::post(const std::string& name, const void* object, std::map<std::string, std::any> userInfo) {
    Notification n{name, object, std::move(userInfo)};
    // Observers may add or remove observers while they run: walk the tokens that were there when
    // the post began and skip those removed since.
    std::vector<Token> tokens;
    for (auto& e : entries_)
        if (e.name == name && (!e.object || e.object == object)) tokens.push_back(e.token);
    for (Token t : tokens) {
        auto it = std::find_if(entries_.begin(), entries_.end(), [t](const Entry& e) { return e.token == t; });
        if (it == entries_.end()) continue;
        Observer obs = it->observer;
        obs(n);
    }
}

void NotificationCenter::reset() { entries_.clear(); }

}  // namespace ui
