#pragma once
// The narrow row of one order line that the reservation dialog and the online order detail show:
// number (or "--" for an item of a line group), serving-mode picture, name with its tastes,
// quantity, price and the line state's word, in bold 14 points on a clear background; red for a
// voided line, grey otherwise.

#include <memory>

namespace ui {
class TableViewCell;
}
class NSDishClass;

namespace kit {

// A new cell for the line at `row` (counted from 0), `height` points high; the serving-mode
// picture stands `pictureY` points from the top.
std::shared_ptr<ui::TableViewCell> dishLineCell(const NSDishClass& line, int row, double height, double pictureY);

}  // namespace kit
