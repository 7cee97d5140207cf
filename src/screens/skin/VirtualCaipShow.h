#pragma once
// One dish place of a category form: a picture button, a name label, a price label and a
// quick-select button, each at a rectangle of the screen-layout file. The form fills its slots
// with one page of its category's dishes; a tap opens the dish detail view or runs the one-tap
// order toggle (orderToggle below).

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Geometry.h"

namespace ui {
class Button;
class Label;
class View;
class Image;
}  // namespace ui

class NSCaipClass;
class VirtualForm;

class VirtualCaipShow : public std::enable_shared_from_this<VirtualCaipShow> {
public:
    VirtualCaipShow() = default;
    ~VirtualCaipShow();
    VirtualCaipShow(const VirtualCaipShow&) = delete;
    VirtualCaipShow& operator=(const VirtualCaipShow&) = delete;

    std::shared_ptr<ui::Button> caipImage;
    std::shared_ptr<ui::Label> caipName;
    std::shared_ptr<ui::Label> caipPrice;
    std::shared_ptr<ui::Button> caipQuickSel;
    ui::Rect locationS;  // quick-select button
    ui::Rect locationI;  // picture button
    ui::Rect locationN;  // name label
    ui::Rect locationP;  // price label
    // The picture opens the dish detail view (else it runs the toggle too).
    bool isShowBig = true;
    // The dish shown; the menu database owns it and outlives the slot.
    std::shared_ptr<NSCaipClass> nowcaip;
    std::string quickSelSkinPath;
    // The owning form; it holds the slot, so a plain pointer does.
    VirtualForm* supForm = nullptr;
    std::shared_ptr<ui::View> quickCaipView;

    // Creates the parts that are missing and have a rectangle, in `view`.
    void createAndShow(ui::View& view);
    // Takes mark and parts off the screen and drops them.
    void destroy();
    void showCaip(const std::shared_ptr<NSCaipClass>& dish);
    void clean();

    // The quick-select action: the toggle, then the owning form refreshes its marks.
    void selCaip();
    // The toggle on the dish shown; YES when a line was added or restored.
    bool selCaipOK();
    // Opens the dish detail view of the dish shown.
    void showBigCaip();
};

// The thumbnail of a dish: the deciphered picture file "<id>T.BMP" of the picture folder, or for
// a demo dish without one the package picture "0<id>t.bmp"; none when neither exists.
std::shared_ptr<ui::Image> dishThumbnail(const NSCaipClass& dish, bool demoFallback);

// The one-tap order toggle on the current desk: the dish's first unsent line goes to the rubbish
// bin (with its group), or a line of the dish comes back from the bin, or a new line of quantity
// 1 is added. `beforeChange(adding)` runs just before a removal (false) or before the restore and
// add steps (true), for the flying thumbnail. YES when a line was added or restored.
bool orderToggle(const std::shared_ptr<NSCaipClass>& dish, const std::function<void(bool adding)>& beforeChange);
