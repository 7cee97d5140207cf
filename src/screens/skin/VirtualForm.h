#pragma once
// One screen of the skinned full-screen menu: a background picture of the skins folder, image
// buttons that carry action texts, and on a category form dish slots that page through one
// category. The welcome screen keeps the forms, shows one as its current form and hands it its
// presses and releases; the form draws itself into the welcome screen's view.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"

namespace ui {
class ImageView;
}  // namespace ui

class NSCaipClass;
class NSCplbTreeClass;
class UIWelcomeViewController;
class VirtualButton;
class VirtualCaipShow;

class VirtualForm : public std::enable_shared_from_this<VirtualForm> {
public:
    // The ordered-dish mark: its package picture and size.
    static constexpr const char* kMarkPicture = "1-25.png";
    static constexpr double kMarkSize = 40;

    VirtualForm() = default;
    ~VirtualForm();
    VirtualForm(const VirtualForm&) = delete;
    VirtualForm& operator=(const VirtualForm&) = delete;

    std::vector<std::shared_ptr<VirtualButton>> virtualButtons;
    std::string imageView;  // background picture file in the skins folder
    // Flying thumbnails still on screen, told apart by their tags.
    std::vector<std::shared_ptr<ui::ImageView>> bufferImageVS;
    std::int32_t bufferImageInt = 0;
    std::string formName;
    // The welcome screen of the last switch made by this form, whose touches come back when the
    // curl ends. Held weakly: the screen owns its forms, and a curl that ends after the screen
    // went must not reach it.
    std::weak_ptr<UIWelcomeViewController> welcomeController;
    bool noState = false;  // category form
    std::vector<std::shared_ptr<VirtualCaipShow>> virtualCaipShows;
    std::shared_ptr<NSCplbTreeClass> useCplbTree;
    std::int32_t pagenum = 0;
    std::int32_t pagenumsize = 0;

    void addButton(std::shared_ptr<VirtualButton> button);
    void addCaipShow(std::shared_ptr<VirtualCaipShow> slot);

    // Draws the form on a welcome screen (a category form starts on page 0) and takes it off.
    void showForm(UIWelcomeViewController& screen);
    void unShowForm(UIWelcomeViewController& screen);

    // Move the page without checks; showVirtualCaips brings it back in range.
    void virtualNextPage() { ++pagenum; }
    void virtualLastPage() { --pagenum; }
    void overPageNum() { pagenum = pagenumsize - 1; }
    // Shows page `pagenum` in the slots; NO when not a category form or the page was out of range.
    bool showVirtualCaips();

    void onButtonDown(ui::Point point, UIWelcomeViewController& screen);
    void onButtonUp(ui::Point point, UIWelcomeViewController& screen);
    void onFunc(VirtualButton& button, UIWelcomeViewController& screen);
    // Switches the screen to `target` with a page curl (up when forward).
    void goForm(std::shared_ptr<VirtualForm> target, bool forward, UIWelcomeViewController& screen);
    // Lays the ordered-dish marks on RunF buttons and slots whose dish has an unsent line.
    void flashCaip(UIWelcomeViewController& screen);
    void animationFinish(const std::optional<std::string>& name, bool finished, void* context);
    // The one-tap order toggle of a RunF button, with a thumbnail flying between the button and
    // the form's CheckList button.
    bool quickSel(const std::shared_ptr<NSCaipClass>& dish, VirtualButton& button, UIWelcomeViewController& screen);

    // The number of the form ("Form3" -> 3).
    int number() const;
    // Pages through a category: a form without slots or category behaves as a plain form.
    bool isCategoryForm() const;

private:
    void flyThumbnail(const NSCaipClass& dish, const VirtualButton& button, UIWelcomeViewController& screen,
                      bool adding);
};
