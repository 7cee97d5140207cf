#pragma once
// Video playback. With a decoder installed (the window shell installs Debian's libav*), the
// player decodes the file on a worker thread and shows its pictures in its views in time. Without
// one (tests, the headless shell) it stands in: its view shows the file's name on a dark screen,
// and playback "ends" after a stand-in length (the shell or a test may change it). It posts the playback-finished notice when a video ends by
// itself or its file cannot be played, and the exit-full-screen notice when the user leaves full
// screen with its Done button. Stopping in code posts nothing.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"
#include "platform/media/FrameSource.h"

namespace media {

inline constexpr const char* PlaybackDidFinishNotification = "MPMoviePlayerPlaybackDidFinishNotification";
inline constexpr const char* DidExitFullscreenNotification = "MPMoviePlayerDidExitFullscreenNotification";
// User info of the finished notice: why it ended.
inline constexpr const char* PlaybackDidFinishReasonKey = "MPMoviePlayerPlaybackDidFinishReasonUserInfoKey";
enum class FinishReason { PlaybackEnded = 0, PlaybackError = 1, UserExited = 2 };

class MoviePlayer : public std::enable_shared_from_this<MoviePlayer> {
public:
    enum class ScalingMode { None, AspectFit, AspectFill, Fill };
    enum class State { Stopped, Playing, Paused };

    // `path` is the video file.
    static std::shared_ptr<MoviePlayer> create(std::string path);
    ~MoviePlayer();

    const std::string& contentPath() const { return path_; }
    // The view that shows the video where the screen places it.
    const std::shared_ptr<ui::View>& view() const { return view_; }
    ScalingMode scalingMode() const { return scaling_; }
    void setScalingMode(ScalingMode m) { scaling_ = m; }

    // Starts (or resumes); a missing or unreadable file ends at once with the error reason.
    void play();
    void pause();
    void stop();
    State state() const { return state_; }

    // Full screen covers the key window with the player's own screen and a Done button.
    bool isFullscreen() const { return fullscreenView_ != nullptr; }
    void setFullscreen(bool fullscreen, bool animated);
    // The full-screen cover while shown (tests tap its Done button).
    const std::shared_ptr<ui::View>& fullscreenView() const { return fullscreenView_; }

    // The decoder that opens video files (none: the stand-in plays). Main thread, before playing.
    static void setFrameSourceOpener(FrameSourceOpener opener);
    static bool hasDecoder();
    // The picture shown last by a decoding player (none before the first).
    const std::shared_ptr<ui::Image>& currentFrame() const { return frame_; }

    // How long a stand-in video plays; 10 s unless changed.
    static void setStandInDuration(double seconds);
    static double standInDuration();

private:
    explicit MoviePlayer(std::string path);
    void finish(FinishReason reason);
    void leaveFullscreen(bool tellObservers);
    void cancelEnd();
    // The decoding player: the worker that reads pictures in time, and its end.
    void playDecoded();
    void stopWorker();
    void showFrame(const std::shared_ptr<ui::Image>& frame);

    // What the worker and the main thread share: the stop request and its wake-up.
    struct Run {
        std::atomic<bool> stop{false};
        std::mutex mutex;
        std::condition_variable wake;
        std::atomic<double> position{0};  // the time of the last picture shown
    };

    std::string path_;
    std::shared_ptr<FrameSource> source_;
    std::shared_ptr<Run> run_;
    std::thread worker_;
    double position_ = 0;  // where a paused video goes on
    std::shared_ptr<ui::Image> frame_;
    std::shared_ptr<ui::View> view_;
    std::shared_ptr<ui::View> fullscreenView_;
    ScalingMode scaling_ = ScalingMode::AspectFit;
    State state_ = State::Stopped;
    double remaining_ = 0;
    double startedAt_ = 0;
    unsigned long long endTask_ = 0;
};

}  // namespace media
