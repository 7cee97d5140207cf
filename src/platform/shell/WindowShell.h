#pragma once
// The program in a desktop window (SDL2): the 768 x 1024 point screen scaled to fit the desktop,
// the mouse and touch screen as touches, the keyboard (a hardware keyboard: nothing slides over
// the screen; Tab and Shift-Tab go from field to field) and input method as typed text for the
// first responder, WAV sounds through SDL audio, and a new frame drawn whenever the view tree
// changed, something on it moves, or a movement just ended. Idle, the loop sleeps until the next
// event, timer or posted work. Mouse, touch and keyboard input that comes while the main thread is
// held in a blocking exchange (the wait mark up) is dropped, not replayed once the exchange ends.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/render/Bitmap.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace shell {

class WindowShell {
public:
    struct Options {
        std::string title = "Kovra";
        // The largest scale of points to pixels; the window shrinks below it to fit the desktop.
        double maxScale = 1.0;
        bool sound = true;
    };

    explicit WindowShell(Options options);
    WindowShell();
    ~WindowShell();
    WindowShell(const WindowShell&) = delete;
    WindowShell& operator=(const WindowShell&) = delete;

    // Opens SDL, the window and its renderer. Answers false (and the reason in `error`) when
    // there is no display.
    bool open(std::string* error = nullptr);
    ui::Window& window() { return *window_; }

    bool launch(ui::ApplicationDelegate& delegate);
    // One pass: the waiting events, one turn of the main run loop (waiting at most `maxWait`
    // seconds for something to do), and a frame when one is due. False once the window closed.
    bool pump(double maxWait);
    // open, launch, pump until the window closes, then tell the delegate the program ends.
    int run(ui::ApplicationDelegate& delegate);
    void requestQuit() { quit_ = true; }

    // Where a point of the screen is in the window's pixels, and back.
    ui::Point pixelOf(ui::Point point) const;
    ui::Point pointOf(double pixelX, double pixelY) const;
    double scale() const { return scale_; }
    // Draws a frame now, even if nothing changed.
    void drawFrame();
    std::uint64_t framesDrawn() const { return frames_; }
    // What the window shows: the last frame drawn, read back from the renderer.
    render::Bitmap readFrame() const;
    bool saveFrame(const std::string& path) const;

    // Handles one SDL event as the window would (tests push their own).
    void handleEvent(const SDL_Event& event);

private:
    // Runs the program's work (an event, a turn of the run loop, the launch); when the main thread
    // was held in it (ui::Window::holdCount), drops the input that came since it began.
    void runWork(const std::function<void()>& work);
    void dropInputSince(std::uint32_t sdlTicks);
    void dispatch(const SDL_Event& event);
    void updateLayout();
    void compose() const;
    void updateTextInput();
    // Seconds until a spinning wait mark needs its next frame, or negative when none spins.
    double nextSpinFrameIn() const;
    bool frameDue() const;
    int fingerOf(std::int64_t sdlFinger);

    Options options_;
    std::shared_ptr<ui::Window> window_;
    ui::ApplicationDelegate* delegate_ = nullptr;
    SDL_Window* sdlWindow_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureW_ = 0, textureH_ = 0;
    double scale_ = 1.0;
    double offsetX_ = 0, offsetY_ = 0;
    int outputW_ = 0, outputH_ = 0;
    bool quit_ = false;
    bool mouseDown_ = false;
    bool textInput_ = false;
    bool forceFrame_ = true;
    // Whether the last frame caught an animation on its way, and when it was drawn.
    bool drawnMoving_ = false;
    double drawnAt_ = -1e9;
    std::uint64_t drawnChange_ = 0;
    // The SDL event type that wakes the loop for posted work, and whether one is queued.
    std::uint32_t wakeEvent_ = 0;
    std::shared_ptr<std::atomic<bool>> wakePending_ = std::make_shared<std::atomic<bool>>(false);
    std::uint64_t frames_ = 0;
    std::map<std::int64_t, int> fingers_;
    int nextFinger_ = 1;
};

}  // namespace shell
