#include "platform/media/MoviePlayer.h"

#include <chrono>

#include "platform/foundation/FileSystem.h"
#include "platform/ui/ImageView.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/Window.h"

namespace media {

namespace {

double gStandInDuration = 10.0;

FrameSourceOpener& opener() {
    static FrameSourceOpener o;
    return o;
}

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
        picture_ = std::make_shared<ui::ImageView>();
        picture_->setContentMode(ui::ContentMode::ScaleAspectFit);
        addSubview(picture_);
    }
    const char* className() const override { return "MoviePlayerView"; }
    void setFrame(const ui::Rect& frame) override {
        ui::View::setFrame(frame);
        label_->setFrame({0, 0, frame.width(), frame.height()});
        picture_->setFrame({0, 0, frame.width(), frame.height()});
    }
    // A decoded picture replaces the file's name.
    void show(const std::shared_ptr<ui::Image>& frame) {
        picture_->setImage(frame);
        label_->setHidden(frame != nullptr);
        setNeedsDisplay();
    }

private:
    std::shared_ptr<ui::Label> label_;
    std::shared_ptr<ui::ImageView> picture_;
};

}  // namespace

std::shared_ptr<MoviePlayer> MoviePlayer::create(std::string path) {
    return std::shared_ptr<MoviePlayer>(new MoviePlayer(std::move(path)));
}

MoviePlayer::MoviePlayer(std::string path) : path_(std::move(path)) {
    view_ = std::make_shared<MovieView>(path_);
}

MoviePlayer::~MoviePlayer() {
    stopWorker();
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

void MoviePlayer::setFrameSourceOpener(FrameSourceOpener o) { opener() = std::move(o); }

bool MoviePlayer::hasDecoder() { return static_cast<bool>(opener()); }

void MoviePlayer::play() {
    if (state_ == State::Playing) return;
    if (opener()) {
        playDecoded();
        return;
    }
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
    if (source_) {
        stopWorker();
        state_ = State::Paused;
        return;
    }
    remaining_ = std::max(0.0, remaining_ - (platform::RunLoop::main().now() - startedAt_));
    state_ = State::Paused;
    cancelEnd();
}

void MoviePlayer::stop() {
    stopWorker();
    source_.reset();
    position_ = 0;
    state_ = State::Stopped;
    cancelEnd();
    leaveFullscreen(false);
}

void MoviePlayer::finish(FinishReason reason) {
    endTask_ = 0;
    stopWorker();
    source_.reset();
    position_ = 0;
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
    auto cover = std::make_shared<MovieView>(path_);
    cover->setFrame(f);
    if (frame_) cover->show(frame_);
    fullscreenView_ = cover;
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

void MoviePlayer::playDecoded() {
    auto& loop = platform::RunLoop::main();
    std::weak_ptr<MoviePlayer> self = weak_from_this();
    if (!source_) source_ = std::shared_ptr<FrameSource>(opener()(path_));
    if (!source_) {
        state_ = State::Stopped;
        cancelEnd();
        endTask_ = loop.schedule(0, [self] {
            if (auto p = self.lock()) p->finish(FinishReason::PlaybackError);
        });
        return;
    }
    state_ = State::Playing;
    auto run = std::make_shared<Run>();
    run_ = run;
    worker_ = std::thread([run, source = source_, self, from = position_] {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now() - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(from));
        while (!run->stop) {
            auto frame = source->next();
            if (!frame) {
                if (!run->stop)
                    platform::RunLoop::main().post([self] {
                        if (auto p = self.lock()) p->finish(FinishReason::PlaybackEnded);
                    });
                return;
            }
            if (frame->time < from) continue;  // a resumed video skips what it showed
            const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(frame->time));
            {
                std::unique_lock<std::mutex> lock(run->mutex);
                if (run->wake.wait_until(lock, due, [&] { return run->stop.load(); })) return;
            }
            run->position = frame->time;
            auto image = std::make_shared<ui::Image>(frame->width, frame->height, std::move(frame->rgba));
            platform::RunLoop::main().post([self, image] {
                if (auto p = self.lock()) p->showFrame(image);
            });
        }
    });
}

void MoviePlayer::stopWorker() {
    if (!run_) return;
    {
        std::lock_guard<std::mutex> lock(run_->mutex);
        run_->stop = true;
    }
    run_->wake.notify_all();
    if (worker_.joinable()) worker_.join();
    position_ = run_->position;
    run_.reset();
}

void MoviePlayer::showFrame(const std::shared_ptr<ui::Image>& frame) {
    if (state_ != State::Playing) return;
    frame_ = frame;
    if (auto* v = dynamic_cast<MovieView*>(view_.get())) v->show(frame);
    if (auto* v = dynamic_cast<MovieView*>(fullscreenView_.get())) v->show(frame);
}

}  // namespace media
