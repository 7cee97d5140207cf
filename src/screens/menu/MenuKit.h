#pragma once
// What the dish menu screens share: words of the word table, the dish pictures and descriptions
// in the picture folder (with the package's demo and no-picture pictures), the sold-out list,
// the unsent quantity of a dish on the current desk, the screen announcement and the renumbering
// of parent positions after lines left the desk.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/NSDishClass.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

class NSCaipClass;
class NSDeskClass;

namespace menu {

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

// Gives every line of the list its parent position again: a group head and a line outside a
// group their own position, a group item the position of the head before it (kept when none).
void renumberParents(NSDishList& lines);
// Whether the line is an item of a group (group flag without set flag).
inline bool isGroupItem(const NSDishClass& line) { return line.m_bisExp && !line.m_bisSet; }
// Whether the line heads a group (set flag and group flag).
inline bool isGroupHead(const NSDishClass& line) { return line.m_bisExp && line.m_bisSet; }

// The file name under which a downloaded picture is cached: the address after its last "/", with
// any query or fragment dropped; none when that leaves "", "." or "..".
std::optional<std::string> cachedPictureName(const std::string& address);
// The folder of downloaded pictures ("<temporary>/pic"), made when missing.
std::string pictureCacheFolder();

}  // namespace menu
