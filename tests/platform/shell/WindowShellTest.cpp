// The real window path: an X server of its own (Xvfb), the SDL window, events through SDL's
// queue, frames read back from the renderer, and a sound through SDL audio.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestScreen.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Sound.h"
#include "platform/render/Bitmap.h"
#include "platform/render/Renderer.h"
#include "platform/shell/WindowShell.h"
#include "platform/ui/NotificationCenter.h"
#include "support/EventWait.h"
#include "support/TempHome.h"

extern char** environ;

namespace {

// An X server of the test's own. Tests run in parallel, each with its server: the server chooses
// a free display itself and reports its number on a pipe once it accepts connections
// (-displayfd), so no two tests can take one display.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        // The write end goes to the server alone, as descriptor 3 (4 when it is 3 already: moved
        // onto itself it would stay closed on exec).
        const int report = fds[1] == 3 ? 4 : 3;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], report);
        const std::string fd = std::to_string(report);
        const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x1100x24", "-nolisten", "tcp", nullptr};
        pid_t pid = 0;
        const bool spawned = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The number and a newline, or nothing when the server gave up. The minute is reached only
        // by a server that hangs.
        std::string number;
        pollfd in{fds[0], POLLIN, 0};
        while (spawned && poll(&in, 1, 60 * 1000) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        if (!number.empty()) {
            pid_ = pid;
            display_ = ":" + number;
        } else if (spawned) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    ~Xvfb() {
        if (pid_) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = 0;
    std::string display_;
};

// A short mono 16-bit WAV.
std::string wav() {
    auto le32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto le16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string samples(800, '\0');
    for (std::size_t i = 0; i < samples.size(); i += 2) samples[i + 1] = (i / 2) % 20 < 10 ? 0x20 : -0x20;
    return "RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) +
           le32(16000) + le16(2) + le16(16) + "data" + le32(samples.size()) + samples;
}

class WindowShellTest : public testsupport::TempHomeTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
        setenv("DISPLAY", x.display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // The software renderer draws into the window's own framebuffer. Left to SDL, it would show
        // it through an OpenGL texture, and the GL driver's threads would run on into the exit.
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    // Opens the window on the test screen and draws its first frame.
    static void start(shell::WindowShell& shell, shelltest::TestDelegate& app) {
        std::string error;
        ASSERT_TRUE(shell.open(&error)) << error;
        ASSERT_TRUE(shell.launch(app));
        shell.pump(0);
    }
    Xvfb x;
};

void push(SDL_Event e) {
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// The left mouse button goes down (or up) at a point of the screen.
void mouseButton(shell::WindowShell& shell, Uint32 type, ui::Point p) {
    const ui::Point px = shell.pixelOf(p);
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = static_cast<int>(px.x);
    e.button.y = static_cast<int>(px.y);
    push(e);
}

void click(shell::WindowShell& shell, ui::Point p) {
    mouseButton(shell, SDL_MOUSEBUTTONDOWN, p);
    mouseButton(shell, SDL_MOUSEBUTTONUP, p);
}

// An input method composes `composed`, then commits `committed`.
void compose(const char* composed, const char* committed) {
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    SDL_strlcpy(e.edit.text, composed, sizeof e.edit.text);
    push(e);
    e = SDL_Event{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, committed, sizeof e.text.text);
    push(e);
}

void pressKey(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    push(e);
}

void pressReturn() { pressKey(SDLK_RETURN); }

// Pixels whose colour differs by more than a rounding's worth in some channel.
int differingPixels(const render::Bitmap& a, const render::Bitmap& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            if (std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF)) > 2) {
                ++differing;
                break;
            }
    return differing;
}

TEST(WindowShellXvfbTest, ServersStartedTogetherTakeDisplaysOfTheirOwn) {
    std::optional<Xvfb> first, second;
    std::thread other([&second] { second.emplace(); });
    first.emplace();
    other.join();
    ASSERT_FALSE(first->display().empty());
    ASSERT_FALSE(second->display().empty());
    EXPECT_NE(first->display(), second->display());
}

TEST_F(WindowShellTest, TapsTypesAndDrawsThroughTheRealWindow) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    ASSERT_GT(shell.framesDrawn(), 0u);
    const auto framesBefore = shell.framesDrawn();

    // The send button sits at (20, 40) of the screen's view, below the 20-point status bar.
    click(shell, {100, 20 + 65});
    shell.pump(0);
    EXPECT_EQ(app.screen->taps, 1);
    EXPECT_EQ(app.screen->count->text(), "已送 1");
    EXPECT_GT(shell.framesDrawn(), framesBefore);

    click(shell, {100, 20 + 135});
    shell.pump(0);
    ASSERT_TRUE(app.screen->field->isFirstResponder());
    EXPECT_TRUE(SDL_IsTextInputActive());
    compose("cai", "菜");
    pressReturn();
    shell.pump(0);
    EXPECT_EQ(app.screen->returned, std::vector<std::string>{"菜"});
    EXPECT_FALSE(SDL_IsTextInputActive());

    // On the number pad, the keyboard and the input method type digits only.
    app.screen->field->setText("");
    app.screen->field->setKeyboardType(ui::KeyboardType::NumberPad);
    click(shell, {100, 20 + 135});
    shell.pump(0);
    for (const char* typed : {"7", "a", "一", "8"}) compose("yi", typed);
    pressReturn();
    shell.pump(0);
    EXPECT_EQ(app.screen->returned, (std::vector<std::string>{"菜", "78"}));

    // What the window shows is the screen: the red button at its place.
    const render::Bitmap frame = shell.readFrame();
    ASSERT_GT(frame.width, 0);
    const ui::Point button = shell.pixelOf({30, 20 + 45});
    EXPECT_EQ(frame.at(int(button.x), int(button.y)) & 0xFFFFFFu, 0xC81E1Eu);
    const std::string png = home.path() + "/window.png";
    ASSERT_TRUE(shell.saveFrame(png));
    auto saved = render::decodeImageFile(png);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->width, frame.width);

    // Sounds go out through SDL audio; a file that is no WAV makes none.
    const std::string sound = home.writeFile("SEND.wav", wav());
    const std::string notSound = home.writeFile("BAD.wav", "not a sound");
    EXPECT_TRUE(platform::soundPlayer().play(sound));
    EXPECT_FALSE(platform::soundPlayer().play(notSound));
    EXPECT_FALSE(platform::soundPlayer().play(home.path() + "/missing.wav"));

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    EXPECT_FALSE(shell.pump(0));
}

TEST_F(WindowShellTest, ShowsThePageACurlEndedOnAsTheHeadlessScreenshotDoes) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    ASSERT_EQ(shell.scale(), 1.0) << "the screen fits the test display at its own size";

    platform::ManualClock& clock = *home.loop().manualClock();
    click(shell, {100, 20 + 722});  // 翻页
    shell.pump(0);
    clock.set(clock.now() + 0.2);
    shell.pump(0);  // a frame on the way: most of the page is curled away
    const auto during = shell.framesDrawn();
    clock.set(clock.now() + 0.15);
    shell.pump(0);
    EXPECT_EQ(app.screen->stopped, std::vector<std::string>{"page"});
    EXPECT_GT(shell.framesDrawn(), during) << "the curl's end draws the page it ended on";

    const std::string png = home.path() + "/headless.png";
    ASSERT_TRUE(render::saveScreenshot(shell.window(), png));
    const auto headless = render::decodeImageFile(png);
    ASSERT_TRUE(headless);
    const render::Bitmap shown = shell.readFrame();
    EXPECT_EQ(differingPixels(shown, *headless), 0);

    // Nothing moves and nothing changed: no more frames.
    const auto settled = shell.framesDrawn();
    shell.pump(0);
    shell.pump(0);
    EXPECT_EQ(shell.framesDrawn(), settled);
}

TEST_F(WindowShellTest, TheWaitMarkIsOnTheWindowWhileTheMainThreadBlocks) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    render::Bitmap during;
    app.screen->blocking = [&] { during = shell.readFrame(); };
    click(shell, {280, 20 + 722});  // 等待
    shell.pump(0);
    ASSERT_GT(during.width, 0) << "the button blocked";
    // The mark's corner, between its spokes: the plate it stands on, dark on the white screen.
    const ui::Point corner = shell.pixelOf({420 + 3, 20 + 250 + 3});
    const std::uint32_t pixel = during.at(int(corner.x), int(corner.y));
    for (int shift : {0, 8, 16}) EXPECT_LT((pixel >> shift) & 0xFF, 0x80u) << std::hex << pixel;
}

TEST_F(WindowShellTest, InputThatComesWhileAnExchangeHoldsTheScreenIsDropped) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    auto& screen = *app.screen;
    const ui::Point send{100, 20 + 65};
    // While the exchange holds the screen, the waiter clicks 送单 and presses a key of the pad.
    screen.blocking = [&] {
        click(shell, send);
        pressKey(SDLK_2);
    };
    click(shell, {280, 20 + 722});  // 等待
    shell.pump(0);
    shell.pump(0);
    EXPECT_EQ(screen.taps, 0);
    EXPECT_EQ(screen.amount->text(), "");

    // Once the exchange is over, the window answers again.
    screen.blocking = nullptr;
    click(shell, send);
    pressKey(SDLK_2);
    shell.pump(0);
    EXPECT_EQ(screen.taps, 1);
    EXPECT_EQ(screen.amount->text(), "2");

    // Pressed before a timer's exchange and let go during it: the press is cancelled, nothing
    // fires and no touch stays on.
    mouseButton(shell, SDL_MOUSEBUTTONDOWN, send);
    shell.pump(0);
    ASSERT_EQ(shell.window().activeTouchCount(), 1u);
    platform::RunLoop::main().post([&] {
        shell.window().displayNow();
        mouseButton(shell, SDL_MOUSEBUTTONUP, send);
    });
    shell.pump(0);
    shell.pump(0);
    EXPECT_EQ(screen.taps, 1);
    EXPECT_EQ(shell.window().activeTouchCount(), 0u);
}

TEST_F(WindowShellTest, SleepsUntilItsNextTimerAndWakesForWorkPostedFromAThread) {
    // The real clock: the loop must sleep in real time.
    auto loop = std::make_shared<platform::RunLoop>();
    platform::RunLoop::setMain(loop);
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    auto far = platform::Timer::schedule(*loop, 600, false, [](platform::Timer&) {});

    // A timer ten minutes away: a turn with nothing to do sleeps all the time it is allowed. A
    // desktop event may end a sleep early, so one of a few turns must sleep through; a busy
    // machine only makes a sleep longer, a loop that does not sleep never gets there.
    using Clock = std::chrono::steady_clock;
    bool slept = false;
    for (int turn = 0; turn < 8 && !slept; ++turn) {
        const auto start = Clock::now();
        shell.pump(0.25);
        slept = Clock::now() - start >= std::chrono::milliseconds(200);
    }
    EXPECT_TRUE(slept);

    // Work a worker thread posts ends the sleep: nothing else wakes a turn allowed 90 s, so only
    // a loop that the post does not wake takes a minute. The worker posts once this thread is
    // asleep: a turn blocks nowhere but in SDL's queue, so the loop has then looked for posted
    // work and found none, and only the wake can bring the work in.
    bool loaded = false;
    const long self = testsupport::threadId();
    std::thread worker([&loop, &loaded, self] {
        testsupport::waitUntilAsleep(self);
        loop->post([&loaded] { loaded = true; });
    });
    const auto start = Clock::now();
    while (!loaded) shell.pump(90);
    worker.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(60));
    far->invalidate();
}

TEST_F(WindowShellTest, TheDesktopKeyboardCoversNothingAndTabGoesFromFieldToField) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    ASSERT_NO_FATAL_FAILURE(start(shell, app));
    int notices = 0;
    auto& center = ui::NotificationCenter::defaultCenter();
    std::vector<ui::NotificationCenter::Token> tokens;
    for (const char* name : {ui::KeyboardWillShowNotification, ui::KeyboardDidShowNotification,
                             ui::KeyboardWillHideNotification, ui::KeyboardDidHideNotification})
        tokens.push_back(center.addObserver(name, nullptr, [&notices](const ui::Notification&) { ++notices; }));

    auto& screen = *app.screen;
    click(shell, {100, 20 + 135});
    shell.pump(0);
    ASSERT_TRUE(screen.field->isFirstResponder());
    EXPECT_TRUE(SDL_IsTextInputActive());
    EXPECT_TRUE(shell.window().keyboardFrame().isEmpty());

    // Reading order from the field: the note beside it; the field under the cover is skipped,
    // and after the last comes the first again. Shift-Tab goes back.
    struct Step { Uint16 mod; ui::TextField* expected; } steps[] = {
        {KMOD_NONE, screen.note.get()}, {KMOD_NONE, screen.field.get()},
        {KMOD_LSHIFT, screen.note.get()}, {KMOD_LSHIFT, screen.field.get()},
    };
    for (const Step& step : steps) {
        pressKey(SDLK_TAB, step.mod);
        shell.pump(0);
        EXPECT_TRUE(step.expected->isFirstResponder()) << "after Tab with modifiers " << step.mod;
    }
    pressKey(SDLK_TAB);
    compose("bei", "辣");
    shell.pump(0);
    EXPECT_EQ(screen.note->text(), "辣");
    EXPECT_EQ(screen.field->text(), "");
    EXPECT_EQ(screen.underCover->text(), "");

    screen.note->resignFirstResponder();
    shell.pump(0);
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_EQ(notices, 0) << "no keyboard slides over the screen, so none is announced";

    // No field has the focus: keys go to what is on the screen, the pad takes its digits.
    for (SDL_Keycode key : {SDLK_2, SDLK_KP_3, SDLK_9}) pressKey(key);
    shell.pump(0);
    EXPECT_EQ(screen.amount->text(), "23");
    for (auto token : tokens) center.removeObserver(token);
}

}  // namespace
