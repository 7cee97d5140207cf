#pragma once
// What the headless driver and tests use to work a screen as a person would: a text dump of the
// view tree, finding a control by its title or tag, and taps, drags, picker turns and typing that
// go through the window's real hit-testing (a covered, hidden or disabled control is an error, not
// a tap).

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class Window;

// One line per view, two spaces of indent per level:
//   Button frame=(10,20,100,40) tag=3 title="OK" [hidden] [disabled] [alpha=0.5]
// Frames are in the superview's coordinates; numbers print without trailing zeros. Titles are
// quoted as a script quotes them (\" \\ \n \t \r, other control characters as \xHH), so a script
// written from the dump names the very same text. A control, or a view holding others, that
// refuses touches is marked [no-touch]. A picker's
// rows follow it, one line each, as "Row 0/2 title="大厅" [selected]" (component/row).
std::string dumpTree(const View& root);
// The text a person reads on the view: a button's current title, a label's text, a text field's
// text (else its placeholder), a cell's text label, a search bar's text, an alert's title; where
// the view shows none, its accessibility label (a key drawn on a picture).
std::string titleOf(const View& view);

// Visible views (no hidden ancestor, alpha above 0.01) in front-to-back order of drawing: a view
// in front comes first.
std::vector<View*> findViewsWithTitle(View& root, std::string_view title);
std::vector<View*> findViewsWithTag(View& root, int tag);
// The same, less the views that lie wholly outside the screen (scrolled away or clipped off).
std::vector<View*> onScreenWithTitle(Window& window, std::string_view title);
std::vector<View*> onScreenWithTag(Window& window, int tag);

struct TapResult {
    bool ok = false;
    std::string error;     // why the tap failed
    View* hit = nullptr;   // the view that the tap reached
};

// A tap at a point of the window (window coordinates).
TapResult tapAt(Window& window, Point p);
// A tap on the centre of the part of `target` that lies on screen. Fails when the target is not
// in the window, not visible, is a disabled control, or a view drawn over it takes the touch
// there. A view that takes no touches of its own (a label, the picture of a key) is tapped where
// it is: the control or view holding it, or whatever lies beneath it, gets the touch; a view that
// does take touches but that hit-testing passes over (its panel refuses them) fails.
TapResult tapView(Window& window, View& target);
// Taps the front-most visible view titled `title` (or with `tag`); a label on a control or cell
// stands for that control or cell.
TapResult tapTitle(Window& window, std::string_view title);
TapResult tapTag(Window& window, int tag);
// A drag from `from` to `to` in `steps` moves (window coordinates).
void drag(Window& window, Point from, Point to, int steps = 5);
// A finger put down at `from` (window coordinates) or on `target` (where a tap would land), moved
// by `by` in moves of at most 10 points spread over `seconds` of the main run loop's manual clock
// (timers and animation ends due on the way fire between the moves), then lifted.
TapResult dragBy(Window& window, Point from, Point by, double seconds);
TapResult dragViewBy(Window& window, View& target, Point by, double seconds);
// Turns the front-most visible picker that has a row titled `title` to that row with drags of
// its wheel, as a finger would; fails when no picker has such a row or the wheel cannot be turned
// there.
TapResult pickRow(Window& window, std::string_view title);
// Types into the first responder; false when no text editor has the focus.
bool typeText(Window& window, std::string_view text);

}  // namespace ui
