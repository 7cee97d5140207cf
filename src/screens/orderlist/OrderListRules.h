#pragma once
// The rules the order list applies to a desk's lines, apart from any screen: which lines are
// unsent, how line groups take their head positions, which lines a send marks, and what a return
// line and the return lines of its add-ons carry.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/NSServer.h"

class NSDeskClass;
class NSDishClass;
class NSKouwClass;

namespace orderlist {

// The line codes every list of order lines shows: the package picture of a serving mode, and the
// word-table key of a line state's text; none for the values without one.
const char* servingModePicture(int mode);
const char* stateWord(int state);

// The unsent lines a send takes. A row of -1 or less: the chosen unsent lines, a chosen head
// taking its following items along, or every unsent line when none is chosen. A row: that line,
// when it is unsent and chosen.
std::vector<std::shared_ptr<NSDishClass>> linesToSend(const NSDeskClass& desk, int row);

// The price the menu asks for a line's dish in the line's unit, as a line ordered afresh takes
// it: the unit's own price among the dish's further units, a portion's share of the price of a
// dish sold by the portion, else the dish's price. None when the menu lacks the dish.
std::optional<std::string> menuPrice(const NSDishClass& line);

// The add-on lines of a plain line: add-ons without the set flag sharing its group position.
std::vector<std::shared_ptr<NSDishClass>> addOnChildren(const NSDeskClass& desk, const NSDishClass& line);

// The return line of an add-on whose line returns `returned` (negative) of `ordered`: the same
// share of the add-on; a line ordered 0 takes its add-on back whole. The add-on keeps its line
// number unless it has none, then it takes `nextNumber()`.
std::shared_ptr<NSDishClass> addOnReturnLine(const NSDishClass& addOn, float returned, float ordered,
                                             const std::function<std::string()>& nextNumber);

// The options of a web-menu line grouped by their group title, as the web service reads them:
// "G?A^?B^2#H?C^1.5".
std::string materialText(const NSDishClass& line, const std::vector<std::shared_ptr<NSKouwClass>>& options);

}  // namespace orderlist
