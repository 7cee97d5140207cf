#pragma once
// The demo skin: a main form with the action-text buttons and one dish-slot form per category,
// drawn in the terminal's palette. The back-office simulator serves it through its skin list, so
// a skin update in the settings dresses the terminal in it.

#include <string>
#include <vector>

namespace skingen {

struct Category {
    std::string id;
    std::string name;
};

struct SkinFile {
    std::string name;   // upper case, as the skins folder keeps it
    std::string bytes;
};

// Screen size the layout is drawn for: the welcome screen's view.
inline constexpr int kWidth = 768;
inline constexpr int kHeight = 1004;
// Dish slots on a category form.
inline constexpr int kSlotColumns = 2;
inline constexpr int kSlotRows = 3;

// The layout text (plain XML) for up to three categories, a dish the main form's one-tap button
// toggles, and the video its buttons and screen saver play.
std::string layoutXml(const std::vector<Category>& categories, const std::string& featuredDishID,
                      const std::string& video);
// The layout as the skins folder stores it: Base64 of the text enciphered with the layout key.
std::string encipherLayout(const std::string& xml);
// INTERFACE.XML and every picture it names.
std::vector<SkinFile> demoSkin(const std::vector<Category>& categories, const std::string& featuredDishID,
                               const std::string& video);

}  // namespace skingen
