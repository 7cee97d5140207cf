// The real window path: an X server of its own (Xvfb), the SDL window, events through SDL's
// queue, frames read back from the renderer, and a sound through SDL audio.

#include <csignal>
#include <cstdlib>
#include <string>

#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestScreen.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Sound.h"
#include "platform/render/Bitmap.h"
#include "platform/shell/WindowShell.h"
#include "support/TempHome.h"

extern char** environ;

namespace {

// An X server on the first free display from :90; tests run in parallel, so a display another
// test took in the meantime makes the server exit and the next number is tried.
class Xvfb {
public:
    Xvfb() {
        for (int n = 90; n < 190 && display_.empty(); ++n) {
            if (platform::fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            const std::string name = ":" + std::to_string(n);
            const char* argv[] = {"Xvfb", name.c_str(), "-screen", "0", "1024x1100x24", "-nolisten", "tcp", nullptr};
            pid_t pid = 0;
            if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return;
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            // The server is ready when its socket exists; it gives up at once on a taken display.
            for (int i = 0; i < 200; ++i) {
                int status = 0;
                if (waitpid(pid, &status, WNOHANG) == pid) {
                    pid = 0;
                    break;
                }
                if (platform::fs::exists(socket)) {
                    pid_ = pid;
                    display_ = name;
                    break;
                }
                usleep(50 * 1000);
            }
            if (pid && !pid_) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
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
    Xvfb x;
};

void push(SDL_Event e) {
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void click(shell::WindowShell& shell, ui::Point p) {
    const ui::Point px = shell.pixelOf(p);
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = static_cast<int>(px.x);
    e.button.y = static_cast<int>(px.y);
    push(e);
    e.type = SDL_MOUSEBUTTONUP;
    push(e);
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

void pressReturn() {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RETURN;
    push(e);
}

TEST_F(WindowShellTest, TapsTypesAndDrawsThroughTheRealWindow) {
    shelltest::TestDelegate app;
    shell::WindowShell shell;
    std::string error;
    ASSERT_TRUE(shell.open(&error)) << error;
    ASSERT_TRUE(shell.launch(app));
    shell.pump(0);
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

}  // namespace
