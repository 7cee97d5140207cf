#pragma once
// What the three line editors (the order-line editor, the set-meal chooser and the dish order
// form) share: reading a cooking method's surcharge entry, the cooking-method tree of a line and
// its surcharge, a tap on a method, the taste marks and free text of a line, and opening and
// closing the pads and pickers they lay over themselves.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/ViewController.h"

class NSATreeClass;
class NSCaipDBClass;
class NSDishClass;
class NSNumDlg;
class NSSelectDlg;
class ScreenRoot;
class UINumViewController;
class UISelectViewController;

namespace ui {
class ScrollView;
class View;
}

namespace lineedit {

// The rows of a tree that every column the editors read holds, the root included: a tree from
// elsewhere may have a column shorter than its length.
int rowsOf(const NSATreeClass& tree);

// A surcharge-list entry "price;flag". With a ";" at its second character or later the text
// before the first ";" is the price part and the text after it the flag; otherwise (no ";", or
// ";" first) the whole entry is both.
struct Surcharge {
    std::string pricePart;
    std::string flag;
    bool split = false;
    double price() const;  // 0 when the price part does not begin with a number
};
Surcharge readSurcharge(const std::string& entry);

// The title of a method button: the name and the price, "name 5元" with the currency word when
// `spacedWithCurrency` (the order-line editor), else "name5"; an entry that does not split is
// shown whole after the name.
std::string methodTitle(const std::string& name, const std::string& entry, const std::string& currency,
                        bool spacedWithCurrency);

// A new flat tree of the line's cooking methods: the method list and the surcharge list walked
// together, stopping where either runs out (so methods beyond the last surcharge entry are not
// offered); an empty id adds no row but uses up its entry. Code id, name, state the entry, mark
// 1 when the line's taste list holds the id (else -1), quantity text (m_str1) empty.
std::shared_ptr<NSATreeClass> cookingMethodTree(const NSDishClass& line);

// The cooking-method surcharge of the marked rows: a method named exactly like a menu dish costs
// that dish's price x its quantity x the line's quantity when the line is an add-on or in no
// line group (it will become a line of its own), else its entry's price x its quantity.
float methodSurcharge(const NSDishClass& line, const NSATreeClass& methods, const NSCaipDBClass* db);

// A tap on method row `row`: a marked row is unmarked; otherwise by the entry's flag, "1" marks
// it with quantity "1", "0" asks for a quantity (the answer is true, the row stays unmarked) and
// any other flag marks it as it is. A dish that allows one method only unmarks every other row.
bool tapMethod(NSATreeClass& methods, int row, bool severalAllowed);
// The quantity pad's answer for a method: above 0 marks the row with the text as typed (true);
// anything else is refused (false) and nothing changes.
bool setMethodQuantity(NSATreeClass& methods, int row, const std::string& typed);

// Marks the taste tree's rows from the line: 1 where the line's taste list holds the code, else
// -1.
void markTastesFrom(const NSDishClass& line, NSATreeClass& tastes);
// The taste and method ids of a tree's marked (1) rows are added to the line, the others taken
// off.
void takeMarks(NSDishClass& line, const NSATreeClass& tree);
// Replaces the line's free-text requirement with `text` (split at ","), which also becomes the
// menu's last free-text requirement.
void replaceFreeText(NSDishClass& line, NSCaipDBClass* db, const std::string& text);

// A quantity or amount as the pads and keypads show it ("%g").
std::string numberText(double value);

// The view of a dialog screen: the whole screen rectangle (the default screen without a root),
// shaded so that what lies beneath recedes.
std::shared_ptr<ui::View> shadedScreen(const ScreenRoot* root);

// The root's screen rectangle, where the pads and pickers lay themselves out; none without a root.
std::optional<ui::Rect> screenRect(const ScreenRoot* root);

// A pad or picker laid over `parent`: placed at `frame` when given, transparent, then faded in
// over 0.3 s.
void fadeInDialog(ui::View& parent, ui::View& dialog, const std::optional<ui::Rect>& frame);
// Fades the dialog out over 0.3 s under `name`; at the end it leaves its superview and `done`
// runs (the owner lets go of the dialog there).
void fadeOutDialog(ui::View& dialog, const std::string& name, std::function<void()> done);

// Hides the scroll view's items that lie wholly out of sight and shows the others: a dish may
// offer hundreds of methods, and only the few in sight need drawing (or can take a finger).
void showOnlyInSight(ui::ScrollView& strip);

// A number pad for `owner` faded in over `over`: preset text, tag, title, sign key, and whether
// it asks for a whole number (its keys are laid out for that); at `frame` when given, else where
// the pad places itself.
std::shared_ptr<UINumViewController> openPad(NSNumDlg* owner, ui::View& over, int tag, const std::string& preset,
                                             const std::string& title, bool sign,
                                             const std::optional<ui::Rect>& frame, bool whole = false);
// A tree picker for `owner` over the tree, faded in over `over` with its title.
std::shared_ptr<UISelectViewController> openPicker(NSSelectDlg* owner, ui::View& over, std::shared_ptr<NSATreeClass> tree,
                                                   int tag, bool multi, const std::string& writeText,
                                                   const std::string& title, const std::optional<ui::Rect>& frame);
// Fades out the pad or picker the owner holds in `slot` under `name`; the owner lets go of it
// when the fade ends (unless the owner has gone by then).
template <class Owner, class Dialog>
void closeDialog(Owner& owner, std::shared_ptr<Dialog> Owner::*slot, const std::string& name) {
    if (!(owner.*slot)) return;
    std::weak_ptr<ui::ViewController> weak = owner.weak_from_this();
    fadeOutDialog(*(owner.*slot)->view(), name, [weak, slot] {
        if (auto self = std::static_pointer_cast<Owner>(weak.lock())) ((*self).*slot).reset();
    });
}

// The alert-or-message rule with the word table's title and button.
void report(const std::string& text);
// A text of the word table ("" when missing), and a format of it through the safe formatter.
std::string word(const std::string& key);
std::string wordFormat(const std::string& key, const std::vector<std::string>& args);

}  // namespace lineedit
