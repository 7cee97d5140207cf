#pragma once
// Where a set-meal item committed by the order-line editor goes: the set-meal line being composed
// on the set-meal screen (its item lines) and the screen's list of the items' menu dishes, kept
// at the same positions. Reached only through what the screen offers, so a screen that offers
// neither takes no item.

#include <memory>
#include <type_traits>

#include "model/NSCaipClass.h"
#include "model/NSDishClass.h"

// The set-meal screen as the editor reaches it: the line it composes and its adder, which keeps
// the item lines and the item dishes in step. The set-meal screen implements it and the editor
// finds it in the root's set-meal slot, so the editor never includes the menu's screens.
class SetMealTarget {
public:
    virtual ~SetMealTarget() = default;
    virtual const std::shared_ptr<NSDishClass>& m_dish() const = 0;
    virtual void addItem(const std::shared_ptr<NSDishClass>& line, const std::shared_ptr<NSCaipClass>& dish) = 0;
};

namespace lineedit {

// The set-meal line the screen composes, or null.
template <class Screen>
std::shared_ptr<NSDishClass> setMealLine(Screen& screen) {
    if constexpr (requires { screen.m_dish(); })
        return screen.m_dish();
    else
        return nullptr;
}

// Appends the item's dish to the screen's dish list when the screen keeps one.
template <class Screen>
void appendSetMealDish(Screen& screen, const std::shared_ptr<NSCaipClass>& dish) {
    if constexpr (requires { screen.m_ExCaips().push_back(dish); })
        screen.m_ExCaips().push_back(dish);
    else if constexpr (requires { screen.m_ExCaips.push_back(dish); })
        screen.m_ExCaips.push_back(dish);
}

// Adds a committed item to the set meal being composed: through the screen's own adder when it
// has one (which keeps its two lists in step even for a dish the menu lacks), else by appending
// the line to the set-meal line and the dish to the screen's dish list. False without a set-meal
// line to take it.
template <class Screen>
bool addSetMealItem(Screen& screen, const std::shared_ptr<NSDishClass>& line, const std::shared_ptr<NSCaipClass>& dish) {
    auto setMeal = setMealLine(screen);
    if (!setMeal || !line) return false;
    if constexpr (requires { screen.addItem(line, dish); }) {
        screen.addItem(line, dish);
    } else {
        setMeal->m_ExDishs.push_back(line);
        appendSetMealDish(screen, dish);
    }
    return true;
}

}  // namespace lineedit
