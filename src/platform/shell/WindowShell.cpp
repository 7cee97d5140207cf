#include "platform/shell/WindowShell.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <SDL.h>
#include <cairo.h>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Sound.h"
#include "platform/render/Png.h"
#include "platform/render/Renderer.h"
#include "platform/media/MoviePlayer.h"
#include "platform/render/UiHooks.h"
#include "platform/shell/SdlSoundPlayer.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"

namespace shell {

namespace {
constexpr double kFrameSeconds = 1.0 / 60;
// A spinning wait mark changes twelve times a second; alone, it needs no more frames than that.
constexpr double kSpinFrameSeconds = 1.0 / 12;
}  // namespace

WindowShell::WindowShell() : WindowShell(Options{}) {}

WindowShell::WindowShell(Options options) : options_(std::move(options)) {
    render::installUiHooks();
    // Videos play for real in the window (the headless shell keeps the stand-in).
    media::MoviePlayer::setFrameSourceOpener(media::libavOpener());
    window_ = std::make_shared<ui::Window>(ui::Rect{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight});
    // The desktop's keyboard is a tablet's hardware keyboard: no keyboard slides over the screen.
    window_->setHardwareKeyboard(true);
}

WindowShell::~WindowShell() {
    ui::Window::setDisplayNowHandler(nullptr);
    if (wakeEvent_) platform::RunLoop::main().setWakeHandler(nullptr);
    if (delegate_) delegate_->willTerminate();
    // The screens go with the window (the focus after them), while the sound and the decoder
    // they may use are still there; then the decoder (videos are stand-ins again) and the sound,
    // whose audio device runs SDL's audio thread: it is joined here, not left running into the
    // program's exit.
    window_.reset();
    media::MoviePlayer::setFrameSourceOpener(nullptr);
    if (dynamic_cast<SdlSoundPlayer*>(&platform::soundPlayer())) platform::setSoundPlayer(nullptr);
    if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (textInput_) SDL_StopTextInput();
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (sdlWindow_) SDL_DestroyWindow(sdlWindow_);
    // SDL itself stays initialised until the process ends, which follows at once: quitting it
    // unloads the libraries it loaded (X11, D-Bus) and leaves their process-wide caches without a
    // name, so the leak checker could no longer tell them from ours.
}

bool WindowShell::open(std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + SDL_GetError();
        return false;
    };
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return fail("SDL");
    // Work posted from another thread wakes the loop through SDL's queue, where it sleeps.
    if (!wakeEvent_) {
        const Uint32 type = SDL_RegisterEvents(1);
        if (type != static_cast<Uint32>(-1)) {
            wakeEvent_ = type;
            platform::RunLoop::main().setWakeHandler([type, pending = wakePending_] {
                if (pending->exchange(true)) return;  // one wake event in the queue is enough
                SDL_Event e{};
                e.type = type;
                SDL_PushEvent(&e);
            });
        }
    }
    if (options_.sound) {
        // A machine without sound still runs the program; the sounds are then not heard.
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) platform::setSoundPlayer(std::make_shared<SdlSoundPlayer>());
    }

    // The portrait screen scaled down until it fits the desktop's usable area.
    double scale = options_.maxScale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0)
        scale = std::min({scale, usable.w / ui::Window::kScreenWidth, usable.h / ui::Window::kScreenHeight});
    scale = std::max(scale, 0.25);
    const int w = static_cast<int>(std::lround(ui::Window::kScreenWidth * scale));
    const int h = static_cast<int>(std::lround(ui::Window::kScreenHeight * scale));
    sdlWindow_ = SDL_CreateWindow(options_.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                  SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!sdlWindow_) return fail("window");
    // No flags: SDL takes the best renderer there is, or the one SDL_RENDER_DRIVER names.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
    renderer_ = SDL_CreateRenderer(sdlWindow_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(sdlWindow_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return fail("renderer");
    updateLayout();
    return true;
}

void WindowShell::updateLayout() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    outputW_ = std::max(1, w);
    outputH_ = std::max(1, h);
    scale_ = std::min(outputW_ / ui::Window::kScreenWidth, outputH_ / ui::Window::kScreenHeight);
    offsetX_ = std::floor((outputW_ - ui::Window::kScreenWidth * scale_) / 2);
    offsetY_ = std::floor((outputH_ - ui::Window::kScreenHeight * scale_) / 2);
    forceFrame_ = true;
}

ui::Point WindowShell::pixelOf(ui::Point p) const {
    return {offsetX_ + p.x * scale_, offsetY_ + p.y * scale_};
}

ui::Point WindowShell::pointOf(double px, double py) const {
    return {(px - offsetX_) / scale_, (py - offsetY_) / scale_};
}

bool WindowShell::launch(ui::ApplicationDelegate& delegate) {
    delegate_ = &delegate;
    // A wait indicator shown just before a blocking exchange must reach the screen first.
    // That frame stays up while the main thread blocks: it shows what is fading in or moving as
    // it will stand.
    ui::Window::setDisplayNowHandler([this](ui::Window& window) {
        if (&window != window_.get() || !renderer_) return;
        ui::Animation::setDrawingEndStates(true);
        drawFrame();
        ui::Animation::setDrawingEndStates(false);
    });
    bool ok = false;
    runWork([&] {
        ok = delegate.didFinishLaunching(*window_);
        window_->makeKeyAndVisible();
        ui::Application::shared().didBecomeActive(&delegate);
    });
    return ok;
}

int WindowShell::fingerOf(std::int64_t sdlFinger) {
    auto it = fingers_.find(sdlFinger);
    if (it != fingers_.end()) return it->second;
    return fingers_[sdlFinger] = nextFinger_++;
}

namespace {

// What a person does at the window: the events that come while the main thread is held are dropped.
bool isInput(Uint32 type) {
    switch (type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTEDITING:
    case SDL_TEXTINPUT:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
    case SDL_FINGERMOTION: return true;
    default: return false;
    }
}

// What a sweep of SDL's queue took out that touches in progress care about.
struct DroppedInput {
    explicit DroppedInput(Uint32 since) : since(since) {}
    Uint32 since;
    bool mouseUp = false;
    std::vector<SDL_FingerID> fingersUp;
};

// The key a screen may take (Responder::keyPressed) that a key of the keyboard stands for, if any.
std::optional<std::string> screenKeyOf(SDL_Keycode key) {
    if (key >= SDLK_0 && key <= SDLK_9) return std::string(1, static_cast<char>('0' + (key - SDLK_0)));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return std::string(1, static_cast<char>('1' + (key - SDLK_KP_1)));
    switch (key) {
    case SDLK_KP_0: return "0";
    case SDLK_PERIOD:
    case SDLK_KP_PERIOD: return ".";
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return ui::Window::kKeyReturn;
    case SDLK_BACKSPACE: return ui::Window::kKeyBackspace;
    case SDLK_ESCAPE: return ui::Window::kKeyEscape;
    default: return std::nullopt;
    }
}

}  // namespace

void WindowShell::runWork(const std::function<void()>& work) {
    const std::uint64_t holds = window_->holdCount();
    const Uint32 began = SDL_GetTicks();
    work();
    if (window_->holdCount() != holds) dropInputSince(began);
}

void WindowShell::dropInputSince(std::uint32_t since) {
    // What the desktop sent while the thread was held comes into SDL's queue now; what it sends
    // from here on is kept. Events are stamped when they enter the queue.
    SDL_PumpEvents();
    DroppedInput dropped(since);
    SDL_FilterEvents(
        [](void* data, SDL_Event* e) -> int {
            auto& d = *static_cast<DroppedInput*>(data);
            if (!isInput(e->type) || !SDL_TICKS_PASSED(e->common.timestamp, d.since)) return 1;
            if (e->type == SDL_MOUSEBUTTONUP && e->button.which != SDL_TOUCH_MOUSEID && e->button.button == SDL_BUTTON_LEFT)
                d.mouseUp = true;
            if (e->type == SDL_FINGERUP) d.fingersUp.push_back(e->tfinger.fingerId);
            return 0;
        },
        &dropped);
    // A finger put down before the hold and lifted during it: the touch is cancelled, so the view
    // it began on neither fires nor goes on following the pointer.
    if (dropped.mouseUp && mouseDown_) {
        mouseDown_ = false;
        window_->touchCancelled(0);
    }
    for (SDL_FingerID id : dropped.fingersUp) {
        auto it = fingers_.find(id);
        if (it == fingers_.end()) continue;
        window_->touchCancelled(it->second);
        fingers_.erase(it);
    }
}

void WindowShell::handleEvent(const SDL_Event& e) {
    runWork([&] { dispatch(e); });
}

void WindowShell::dispatch(const SDL_Event& e) {
    // Mouse positions are in window coordinates, which differ from the renderer's pixels on a
    // high-density display.
    auto windowToPoint = [this](double x, double y) {
        int ww = 1, wh = 1;
        SDL_GetWindowSize(sdlWindow_, &ww, &wh);
        return pointOf(x * outputW_ / std::max(1, ww), y * outputH_ / std::max(1, wh));
    };
    if (wakeEvent_ && e.type == wakeEvent_) {
        wakePending_->store(false);
        return;
    }
    switch (e.type) {
    case SDL_QUIT: quit_ = true; break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_RESIZED)
            updateLayout();
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) forceFrame_ = true;
        // The desktop's focus and minimising stand for the device's active and background states.
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ui::Application::shared().willResignActive(delegate_);
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) ui::Application::shared().didBecomeActive(delegate_);
        if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) ui::Application::shared().didEnterBackground();
        if (e.window.event == SDL_WINDOWEVENT_RESTORED) ui::Application::shared().willEnterForeground();
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) break;
        mouseDown_ = true;
        window_->touchBegan(0, windowToPoint(e.button.x, e.button.y));
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which == SDL_TOUCH_MOUSEID || !mouseDown_) break;
        window_->touchMoved(0, windowToPoint(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT || !mouseDown_) break;
        mouseDown_ = false;
        window_->touchEnded(0, windowToPoint(e.button.x, e.button.y));
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
        // Finger positions are fractions of the window.
        const ui::Point p = pointOf(e.tfinger.x * outputW_, e.tfinger.y * outputH_);
        const int finger = fingerOf(e.tfinger.fingerId);
        if (e.type == SDL_FINGERDOWN) window_->touchBegan(finger, p);
        if (e.type == SDL_FINGERMOTION) window_->touchMoved(finger, p);
        if (e.type == SDL_FINGERUP) {
            window_->touchEnded(finger, p);
            fingers_.erase(e.tfinger.fingerId);
        }
        break;
    }
    case SDL_TEXTINPUT:
        window_->setMarkedText("");
        window_->insertText(e.text.text);
        break;
    case SDL_TEXTEDITING:
        // The input method's composition (pinyin before it becomes characters).
        window_->setMarkedText(e.edit.text);
        break;
    case SDL_KEYDOWN:
        // With no field to type into, a key goes to what is on screen (a pad's digits, an alert's answer).
        if (!window_->textInput()) {
            if (auto key = screenKeyOf(e.key.keysym.sym)) {
                window_->pressKey(*key);
                break;
            }
        }
        if (e.key.keysym.sym == SDLK_BACKSPACE) window_->deleteBackward();
        if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) window_->pressReturn();
        if (e.key.keysym.sym == SDLK_TAB) window_->focusNextField((e.key.keysym.mod & KMOD_SHIFT) != 0);
        break;
    default: break;
    }
}

void WindowShell::updateTextInput() {
    const bool want = window_->isKeyboardVisible();
    if (want == textInput_) return;
    textInput_ = want;
    if (want) {
        // The input method's candidate window goes next to the field being edited.
        if (ui::View* field = window_->firstResponder()) {
            const ui::Rect r = field->convertRectTo(field->bounds(), nullptr);
            const ui::Point a = pixelOf(r.origin), b = pixelOf({r.maxX(), r.maxY()});
            SDL_Rect rect{int(a.x), int(a.y), int(b.x - a.x), int(b.y - a.y)};
            SDL_SetTextInputRect(&rect);
        }
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

double WindowShell::nextSpinFrameIn() const {
    if (ui::ActivityIndicatorView::spinningCount() <= 0) return -1;
    return std::max(0.0, drawnAt_ + kSpinFrameSeconds - platform::RunLoop::main().now());
}

bool WindowShell::frameDue() const {
    // A frame drawn during an animation shows it on its way: one more frame once it stopped
    // shows where it ended (the end of a page curl changes nothing else in the tree).
    return forceFrame_ || window_->changeCount() != drawnChange_ || drawnMoving_ || ui::Animation::anyRunning() ||
           nextSpinFrameIn() == 0;
}

void WindowShell::drawFrame() {
    if (!renderer_) return;
    const int w = std::max(1, static_cast<int>(std::lround(ui::Window::kScreenWidth * scale_)));
    const int h = std::max(1, static_cast<int>(std::lround(ui::Window::kScreenHeight * scale_)));
    if (!texture_ || w != textureW_ || h != textureH_) {
        if (texture_) SDL_DestroyTexture(texture_);
        // ARGB8888 is cairo's ARGB32 in the machine's byte order.
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        textureW_ = w;
        textureH_ = h;
    }
    drawnChange_ = window_->changeCount();
    drawnMoving_ = ui::Animation::anyRunning();
    drawnAt_ = platform::RunLoop::main().now();
    forceFrame_ = false;
    cairo_surface_t* surface = render::drawWindow(*window_, scale_);
    if (texture_ && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        SDL_UpdateTexture(texture_, nullptr, cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface));
        compose();
        SDL_RenderPresent(renderer_);
        ++frames_;
    }
    cairo_surface_destroy(surface);
}

void WindowShell::compose() const {
    SDL_SetRenderDrawColor(renderer_, 24, 24, 24, 255);
    SDL_RenderClear(renderer_);
    if (!texture_) return;
    SDL_Rect dst{static_cast<int>(offsetX_), static_cast<int>(offsetY_), textureW_, textureH_};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
}

bool WindowShell::pump(double maxWait) {
    auto& loop = platform::RunLoop::main();
    // Asleep in SDL's queue until an event, the next timer (however far), the next frame while
    // something moves, or work posted from another thread (which pushes a wake event).
    double wait = std::max(0.0, maxWait);
    if (frameDue()) wait = std::min(wait, kFrameSeconds);
    if (const double spin = nextSpinFrameIn(); spin >= 0) wait = std::min(wait, spin);
    const double due = loop.nextDueIn();
    if (due >= 0) wait = std::min(wait, due);
    if (loop.hasPosted()) wait = 0;
    // Without a wake event, posted work is picked up within this time.
    if (!wakeEvent_) wait = std::min(wait, 0.05);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(std::max(0.0, wait) * 1000))) {
        handleEvent(e);
        while (SDL_PollEvent(&e)) handleEvent(e);
    }
    runWork([&loop] { loop.runOnce(); });
    updateTextInput();
    // A long synchronisation keeps the desktop's screen saver away, as it keeps the tablet awake.
    const bool awake = ui::Application::shared().isIdleTimerDisabled();
    if (awake && SDL_IsScreenSaverEnabled()) SDL_DisableScreenSaver();
    if (!awake && !SDL_IsScreenSaverEnabled()) SDL_EnableScreenSaver();
    if (frameDue()) drawFrame();
    return !quit_;
}

int WindowShell::run(ui::ApplicationDelegate& delegate) {
    if (!sdlWindow_) {
        std::string error;
        if (!open(&error)) {
            SDL_Log("kovra: cannot open the window: %s", error.c_str());
            return 1;
        }
    }
    launch(delegate);
    while (pump(1.0)) {
    }
    auto* d = delegate_;
    delegate_ = nullptr;
    if (d) d->willTerminate();
    return 0;
}

render::Bitmap WindowShell::readFrame() const {
    render::Bitmap b;
    if (!renderer_) return b;
    // Composed again and read before presenting: after a present the back buffer's content is
    // undefined.
    compose();
    b.width = outputW_;
    b.height = outputH_;
    b.pixels.resize(static_cast<std::size_t>(b.width) * b.height);
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, b.pixels.data(), b.width * 4) != 0)
        return render::Bitmap{};
    for (auto& p : b.pixels) p |= 0xFF000000u;
    return b;
}

bool WindowShell::saveFrame(const std::string& path) const {
    const render::Bitmap b = readFrame();
    return b.width > 0 && render::writePng(b, path);
}

}  // namespace shell
