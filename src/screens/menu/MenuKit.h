#pragma once
// What the dish menu screens share: words of the word table, the dish pictures and descriptions
// in the picture folder (with the package's demo and no-picture pictures), the sold-out list,
// the unsent quantity of a dish on the current desk, the screen announcement and the renumbering
// of parent positions after lines left the desk.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Control.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Image.h"
#include "platform/ui/ViewController.h"

class NSCaipClass;
class NSDeskClass;
class ScreenRoot;

namespace menu {

// The rectangle a screen lays itself out in: the root's, or the window below the status bar.
ui::Rect screenRect(const ScreenRoot* root);

// A closure for a control that calls the screen's operation while the screen lives: a control
// never keeps its screen alive.
template <class T, class... A>
auto action(T& screen, void (T::*op)(A...)) {
    std::weak_ptr<ui::ViewController> weak = screen.weak_from_this();
    return [weak, op](A... args) {
        if (auto s = std::static_pointer_cast<T>(weak.lock())) ((*s).*op)(args...);
    };
}

// A control's action that hands its tag (a tile index, a row) to the screen's operation.
template <class T>
ui::Control::Action tagAction(T& screen, void (T::*op)(int)) {
    auto call = action(screen, op);
    return [call](ui::Control& sender) { call(sender.tag()); };
}

// Opens a named animation block whose end goes to the screen's animationFinish (while it lives);
// the caller makes its changes and commits.
template <class T>
void beginAnimation(T& screen, const std::string& name, double duration) {
    std::weak_ptr<ui::ViewController> weak = screen.weak_from_this();
    ui::Animation::begin(name);
    ui::Animation::setDuration(duration);
    ui::Animation::setDidStop([weak](const std::optional<std::string>& n, bool finished, void*) {
        if (auto s = std::static_pointer_cast<T>(weak.lock())) s->animationFinish(n, finished);
    });
}

// A custom dish outside waiter mode is refused with the alert "selectcaip11" (delegate the
// screen): YES when refused.
bool refuseCustomDish(const NSCaipClass& dish, ui::AlertViewDelegate* delegate);

// A word of the word table ("" when it has none).
std::string word(const std::string& key);
// A word used as a format, filled through the safe formatter; `fallback` when the table has no
// text for the key (a mark still shows something).
std::string wordFormat(const std::string& key, const std::vector<platform::FormatArg>& args,
                       const std::string& fallback = "");
// The alert-or-message rule with the word texts "tishi", `key` and "onok".
void refuse(const std::string& key);

// The dish picture of the picture folder, "<id><suffix>" ("T.BMP" thumbnail, ".BMP" large),
// deciphered and decoded; none when the file is missing or damaged. `exists` tells the two apart.
std::shared_ptr<ui::Image> folderPicture(const std::string& id, const std::string& suffix, bool* exists = nullptr);
// Whether the dish belongs to the built-in demo menu (its third name carries "测试^").
bool isDemoDish(const NSCaipClass& dish);
// The integer value of a dish id ("000007" -> 7; 0 when it does not start with digits).
long long idNumber(const std::string& id);
// The description file "<id>M.TXT" of the picture folder as UTF-8 text; none when it is missing,
// "" when it does not decode.
std::optional<std::string> folderDescription(const std::string& id);

// The sold-out rows of the dish: the remaining quantity of each row naming it, in list order.
std::vector<std::string> soldOutStates(const std::string& id);
// The price text with the sold-out mark ("yigq1") or remaining-quantity mark ("yigq3") of one
// state, added once: a text already marked is left alone.
std::string markedPrice(const std::string& price, const std::string& state);

// The sum of the quantities of the current desk's unsent lines of the dish, and whether any.
float unsentQuantity(const std::string& id, bool* any = nullptr);
// The screen announcement with the current desk's id.
void announce(const std::string& key, const std::string& param);

// Whether the line is an item of a group (group flag without set flag).
inline bool isGroupItem(const NSDishClass& line) { return line.m_bisExp && !line.m_bisSet; }
// Whether the line heads a group (set flag and group flag).
inline bool isGroupHead(const NSDishClass& line) { return line.m_bisExp && line.m_bisSet; }

// The picture address of a web-menu dish that has no "<id><suffix>" of its own in the picture
// folder; "" for every other dish (the restaurant's own menu keeps to its picture folder).
std::string webPictureAddress(const NSCaipClass& dish, const std::string& suffix);
// The file of a picture address in the picture cache (the bytes as downloaded), when it is there.
std::optional<std::string> cachedWebPicture(const std::string& address);

}  // namespace menu
