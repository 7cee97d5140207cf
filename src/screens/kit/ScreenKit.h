#pragma once
// The small layout helpers every screen is built from, so that all screens share one look: one
// palette, one font in four sizes, touch targets of at least 44 points, package pictures that may
// be missing without harm.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/View.h"

namespace kit {

// ---- Palette ---------------------------------------------------------------------------------
inline constexpr ui::Color kPaper = ui::Color::rgb(246, 242, 234);      // screen background
inline constexpr ui::Color kPanel = ui::Color::rgb(255, 255, 255);      // dialogs, cells
inline constexpr ui::Color kBar = ui::Color::rgb(58, 46, 40);           // title bars
inline constexpr ui::Color kInk = ui::Color::rgb(40, 34, 30);           // body text
inline constexpr ui::Color kMuted = ui::Color::rgb(100, 92, 84);        // secondary text, on quiet faces too
inline constexpr ui::Color kOnDark = ui::Color::rgb(255, 255, 255);     // text on bars and accents
inline constexpr ui::Color kAccent = ui::Color::rgb(196, 84, 44);       // primary buttons
inline constexpr ui::Color kAccentInk = ui::Color::rgb(170, 70, 36);    // accent-coloured text on light faces
inline constexpr ui::Color kQuiet = ui::Color::rgb(226, 218, 206);      // secondary buttons
inline constexpr ui::Color kLine = ui::Color::rgb(214, 204, 190);       // separators, borders
inline constexpr ui::Color kShade = ui::Color::rgb(20, 16, 14, 0.45);   // behind a dialog

// ---- Text sizes ------------------------------------------------------------------------------
ui::Font titleFont();   // screen and dialog titles
ui::Font bodyFont();    // rows, buttons, fields
ui::Font smallFont();   // notes, secondary columns
ui::Font bigFont();     // the few large figures (totals, the pad's display)

// The least size of anything a finger must hit.
inline constexpr double kTouch = 44;
// The height of a title bar.
inline constexpr double kBarHeight = 60;

// ---- Views -----------------------------------------------------------------------------------
// A full screen of the palette's background at `frame` (placed at its origin by the root).
std::shared_ptr<ui::View> screenView(const ui::Rect& frame);
// A label at `frame` in the given font and colour.
std::shared_ptr<ui::Label> label(ui::View& parent, const ui::Rect& frame, const std::string& text,
                                 const ui::Font& font = bodyFont(),
                                 ui::TextAlignment alignment = ui::TextAlignment::Left,
                                 ui::Color color = kInk);
enum class ButtonKind { Primary, Secondary, OnBar };
// A labelled button calling `action` when a touch ends inside it. Its frame is grown to the least
// touch size around the same centre when smaller.
std::shared_ptr<ui::Button> button(ui::View& parent, const ui::Rect& frame, const std::string& title,
                                   std::function<void()> action,
                                   ButtonKind kind = ButtonKind::Secondary);
// A picture of the package, or null when it is missing.
std::shared_ptr<ui::Image> picture(const std::string& name);
// The package picture "<interface type>-<number>.png" of the current interface type.
std::string interfacePicture(int number);
// An image view showing the package picture when it exists (an empty view otherwise).
std::shared_ptr<ui::ImageView> pictureView(ui::View& parent, const ui::Rect& frame,
                                           const std::string& name);

// A title bar across the top of `parent` with a centred title and, when `back` is set, a back
// button at its left titled `backTitle`.
struct TitleBar {
    std::shared_ptr<ui::View> bar;
    std::shared_ptr<ui::Label> title;
    std::shared_ptr<ui::Button> back;
};
TitleBar titleBar(ui::View& parent, double width, const std::string& title,
                  std::function<void()> back = nullptr, const std::string& backTitle = "返回");

// A grid of key buttons filling `area` row by row, `columns` wide; each key calls `pressed` with
// its title. Answers the buttons in key order.
std::vector<std::shared_ptr<ui::Button>> keypad(ui::View& parent, const ui::Rect& area, int columns,
                                                const std::vector<std::string>& keys,
                                                std::function<void(const std::string& key)> pressed);

// A table cell with fixed columns; the labels get the tags 1, 2, ... in column order, so a cell
// can be refilled with setColumnTexts.
struct Column {
    double x = 0;
    double width = 0;
    ui::TextAlignment alignment = ui::TextAlignment::Left;
};
std::shared_ptr<ui::TableViewCell> columnCell(const std::string& reuseIdentifier,
                                              const std::vector<Column>& columns, double height);
void setColumnTexts(ui::TableViewCell& cell, const std::vector<std::string>& texts);

}  // namespace kit
