#include "platform/media/MoviePlayer.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/Window.h"

namespace media {

namespace {

double gStandInDuration = 10.0;

// The dark screen with the file's name that stands in for the picture; the name follows the
// view's size.
class MovieView : public ui::View {
public:
    explicit MovieView(const std::string& path) {
        setBackgroundColor(ui::Color::white(0.08));
        setClipsToBounds(true);
        label_ = std::make_shared<ui::Label>();
        label_->setText("▶ " + platform::fs::lastComponent(path));
        label_->setTextColor(ui::Color::white(0.85));
        label_->setTextAlignment(ui::TextAlignment::Center);
        label_->setFont(ui::Font::systemFont(15));
        addSubview(label_);
    }
    const char* className() const override { return "MoviePlayerView"; }
    void setFrame(const ui::Rect& frame) override {
        ui::View::setFrame(frame);
        label_->setFrame({0, 0, frame.width(), frame.height()});
    }

private:
    std::shared_ptr<ui::Label> label_;
};

}  // namespace

std::shared_ptr<MoviePlayer> MoviePlayer::create(std::string path) {
    return std::shared_ptr<MoviePlayer>(new MoviePlayer(std::move(path)));
}

MoviePlayer::MoviePlayer(std::string path) : path_(std::move(path)) {
    view_ = std::make_shared<MovieView>(path_);
}

MoviePlayer::~MoviePlayer() {
    cancelEnd();
    if (fullscreenView_) fullscreenView_->removeFromSuperview();
}

void MoviePlayer::setStandInDuration(double seconds) {
    gStandInDuration = seconds > 0 ? seconds : 0;
}

double MoviePlayer::standInDuration() {
    return gStandInDuration;
}

void MoviePlayer::cancelEnd() {
    if (endTask_) platform::RunLoop::main().cancel(endTask_);
    endTask_ = 0;
}

void MoviePlayer::play() {
    if (state_ == State::Playing) return;
    auto& loop = platform::RunLoop::main();
    std::weak_ptr<MoviePlayer> self = weak_from_this();
    if (!platform::fs::exists(path_) || platform::fs::isFolder(path_)) {
        state_ = State::Stopped;
        cancelEnd();
        endTask_ = loop.schedule(0, [self] {
            if (auto p = self.lock()) p->finish(FinishReason::PlaybackError);
        });
        return;
    }
    if (state_ == State::Stopped) remaining_ = gStandInDuration;
    state_ = State::Playing;
    startedAt_ = loop.now();
    cancelEnd();
    endTask_ = loop.schedule(remaining_, [self] {
        if (auto p = self.lock()) p->finish(FinishReason::PlaybackEnded);
    });
}

void MoviePlayer::pause() {
    if (state_ != State::Playing) return;
    remaining_ = std::max(0.0, remaining_ - (platform::RunLoop::main().now() - startedAt_));
    state_ = State::Paused;
    cancelEnd();
}

void MoviePlayer::stop() {
    state_ = State::Stopped;
    cancelEnd();
    leaveFullscreen(false);
}

void MoviePlayer::finish(FinishReason reason) {
    endTask_ = 0;
    state_ = State::Stopped;
    // Observers usually let go of the player here.
    auto keep = shared_from_this();
    ui::NotificationCenter::defaultCenter().post(PlaybackDidFinishNotification, this,
                                                 {{PlaybackDidFinishReasonKey, static_cast<int>(reason)}});
}

void MoviePlayer::setFullscreen(bool fullscreen, bool) {
    if (fullscreen == isFullscreen()) return;
    if (!fullscreen) {
        leaveFullscreen(false);
        return;
    }
    ui::Window* window = ui::Window::keyWindow();
    if (!window) return;
    const ui::Rect f = window->bounds();
    fullscreenView_ = std::make_shared<MovieView>(path_);
    fullscreenView_->setFrame(f);
    auto done = std::make_shared<ui::Button>(ui::Button::Type::RoundedRect, ui::Rect{f.width() - 90, 30, 70, 34});
    done->setTitle("Done");
    std::weak_ptr<MoviePlayer> self = weak_from_this();
    done->addTarget(ui::ControlEvent::TouchUpInside, [self](ui::Control&) {
        if (auto p = self.lock()) p->leaveFullscreen(true);
    });
    fullscreenView_->addSubview(done);
    window->addSubview(fullscreenView_);
}

void MoviePlayer::leaveFullscreen(bool tellObservers) {
    if (!fullscreenView_) return;
    fullscreenView_->removeFromSuperview();
    fullscreenView_.reset();
    if (tellObservers) {
        auto keep = shared_from_this();
        ui::NotificationCenter::defaultCenter().post(DidExitFullscreenNotification, this);
    }
}

}  // namespace media
