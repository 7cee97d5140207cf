#pragma once
// The root of the view tree: the 768 x 1024 point portrait screen with its 20 point status bar.
// It holds the root view controller, dispatches the shell's touches through hit-testing, keeps
// the first responder and the keyboard, hands typed text to it, and counts changes so the shell
// knows when to draw a new frame.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class ViewController;
class TextInput;

class Window : public View {
public:
    static constexpr double kScreenWidth = 768;
    static constexpr double kScreenHeight = 1024;
    static constexpr double kStatusBarHeight = 20;
    static constexpr double kKeyboardHeight = 264;

    Window();
    explicit Window(const Rect& frame);
    ~Window() override;
    const char* className() const override { return "Window"; }

    // The screen less the status bar: (0, 20, 768, 1004) for the full screen.
    Rect applicationFrame() const;

    // Installs the controller's view as the window's content (framed to the application frame)
    // and tells it that it appears.
    void setRootViewController(std::shared_ptr<ViewController> controller);
    const std::shared_ptr<ViewController>& rootViewController() const { return root_; }
    void makeKeyAndVisible();
    bool isKeyWindow() const;
    // The window made key last, or null.
    static Window* keyWindow();

    // --- Drawing -------------------------------------------------------------------------------
    // Grows whenever something visible changed. The shell draws when it differs from the value
    // it drew last, or while Animation::anyRunning().
    std::uint64_t changeCount() const { return changes_; }
    void noteChange() { ++changes_; }
    // Draws a frame now, before the caller blocks the main thread (a wait indicator shown just
    // before a synchronous exchange must reach the screen). The shell installs the drawing;
    // without a shell it does nothing.
    void displayNow();
    static void setDisplayNowHandler(std::function<void(Window&)> handler);
    // How many times displayNow said the main thread is about to block. A shell compares it
    // around the work it hands the program: input that came in the meantime came while the
    // screen was held, and is dropped (taps at a terminal that seemed stuck are not replayed on
    // whatever screen follows).
    std::uint64_t holdCount() const { return holds_; }

    // --- Touches from the shell (window coordinates) --------------------------------------------
    // `finger` tells simultaneous touches apart (the mouse is finger 0). A touch goes to the view
    // hit when it began; moves and the end go to the same view. Answers the view hit (null when
    // nothing took the touch). A second touch-down near the last tap within 0.35 s counts as a
    // further tap (Touch::tapCount).
    View* touchBegan(int finger, Point p);
    void touchMoved(int finger, Point p);
    void touchEnded(int finger, Point p);
    void touchCancelled(int finger);
    // A whole tap at `p`: down and up at the same place. Answers the view hit.
    View* tap(Point p);
    // Touches in progress (for tests).
    std::size_t activeTouchCount() const { return touches_.size(); }

    // --- First responder and keyboard -----------------------------------------------------------
    View* firstResponder() const { return firstResponder_.get(); }
    // The keyboard is in use while a text editor is first responder.
    bool isKeyboardVisible() const { return keyboardVisible_; }
    // Where the keyboard covers the screen (bottom 264 points), or an empty rectangle (also with
    // a hardware keyboard).
    Rect keyboardFrame() const;
    // The tablet types on a keyboard drawn over the bottom of the screen, announced through the
    // keyboard notifications (the default). With a hardware keyboard (a desktop window) nothing
    // is covered and nothing announced.
    void setHardwareKeyboard(bool hardware) { hardwareKeyboard_ = hardware; }
    bool hasHardwareKeyboard() const { return hardwareKeyboard_; }
    // For screens that move a field above the on-screen keyboard: whether one will cover the
    // screen `view` is on (a view outside any window counts as on the tablet's own keyboard).
    static bool keyboardCoversScreen(const View& view);
    // The Tab key: the focus goes to the next (or previous) text field of what is on screen, in
    // reading order, skipping fields that are covered, hidden or disabled; after the last comes
    // the first. Answers false when no field took the focus.
    bool focusNextField(bool backwards = false);

    // The keys of a hardware keyboard that are no characters, as Responder::keyPressed names them.
    static constexpr const char* kKeyReturn = "\r";
    static constexpr const char* kKeyBackspace = "\b";
    static constexpr const char* kKeyEscape = "\x1b";
    // A key pressed while no text editor has the focus goes to what a finger could reach (shown,
    // and hit at its centre), the frontmost first: a view, then its controller, may take it
    // (Responder::keyPressed). False when none took it.
    bool pressKey(const std::string& key);

    // --- Text input from the shell -------------------------------------------------------------
    // Each answers false when no text editor is first responder.
    bool insertText(std::string_view utf8);
    bool deleteBackward();
    bool pressReturn();
    bool setMarkedText(std::string text);
    TextInput* textInput() const;

    // For views that become or give up the first responder (they call the delegate in between):
    // the slot itself, without keyboard notices; then updateKeyboard() posts the keyboard's
    // show or hide when its visibility changed.
    bool setFirstResponder(View* view);
    void resignFirstResponderFor(View* view);
    void updateKeyboard();

private:
    // The shown views that `wanted` accepts and that a finger reaches (hit at their centre), in
    // drawing order: the frontmost last.
    std::vector<View*> reachableViews(const std::function<bool(View&)>& wanted);

    std::shared_ptr<ViewController> root_;
    std::shared_ptr<View> firstResponder_;
    bool keyboardVisible_ = false;
    bool hardwareKeyboard_ = false;
    int keyboardHold_ = 0;
    std::uint64_t changes_ = 1;
    std::uint64_t holds_ = 0;
    std::map<int, std::shared_ptr<Touch>> touches_;
    std::optional<Point> lastTapPoint_;
    double lastTapTime_ = -1e9;
    int lastTapCount_ = 0;
};

}  // namespace ui
