#include "listen/Listener.h"

#include <QCoreApplication>

namespace listening {

namespace {

constexpr auto pollInterval = std::chrono::milliseconds(10);
constexpr auto levelInterval = std::chrono::milliseconds(50);
constexpr auto clipHold = std::chrono::seconds(1);
constexpr double silentSeconds = 3.0;
// A stream that delivers nothing this long has gone, whatever the back end says.
constexpr auto stallTimeout = std::chrono::milliseconds(750);
// Sound from the speaker reaches the input this much later than the program plays it.
constexpr auto echoMargin = std::chrono::milliseconds(30);

} // namespace

QString inputWarningText(InputWarning warning)
{
    switch (warning) {
    case InputWarning::None:
        return {};
    case InputWarning::Clipping:
        return QCoreApplication::translate("Listener", "The input is too loud and clips: turn its gain down.");
    case InputWarning::Silent:
        return QCoreApplication::translate("Listener",
                                           "The input is silent: check that the microphone is connected and not muted.");
    }
    return {};
}

Listener::Listener(std::unique_ptr<AudioInput> input, QObject* parent) : QObject(parent), input_(std::move(input))
{
    timer_.setInterval(pollInterval);
    connect(&timer_, &QTimer::timeout, this, &Listener::poll);
}

Listener::~Listener()
{
    stop();
}

qint64 Listener::steadyMs(Clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

bool Listener::start(const QString& deviceName, int sampleRate, ListenOptions options)
{
    stop();
    options_ = options;
    if (input_->open(deviceName, sampleRate) != InputStatus::Open)
        return false;
    notes_ = std::make_unique<NoteListener>(input_->sampleRate(), options_);
    if (input_->start() != InputStatus::Running) {
        input_->close();
        notes_.reset();
        return false;
    }
    anchorFrame_ = 0;
    anchorTime_ = Clock::now();
    lastLevel_ = anchorTime_;
    lastClip_ = {};
    warning_ = InputWarning::None;
    if (pendingMute_ > anchorTime_)
        muteUntil(pendingMute_);
    timer_.start();
    return true;
}

void Listener::stop()
{
    timer_.stop();
    input_->stop();
    input_->close();
    notes_.reset();
    drained_.clear();
    setWarning(InputWarning::None);
}

void Listener::setThresholdDb(double db)
{
    options_.thresholdDb = db;
    if (notes_)
        notes_->setThresholdDb(db);
}

Listener::Clock::time_point Listener::timeOfFrame(std::int64_t frame) const
{
    const double seconds = static_cast<double>(frame - anchorFrame_) / input_->sampleRate();
    return anchorTime_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void Listener::muteUntil(Clock::time_point end)
{
    pendingMute_ = std::max(pendingMute_, end);
    if (!notes_)
        return;
    const Clock::time_point heard = end + echoMargin
        + std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(input_->bufferFrames()) / input_->sampleRate()));
    const double seconds = std::chrono::duration<double>(heard - anchorTime_).count();
    notes_->muteUntil(anchorFrame_ + notes_->framesOf(seconds));
}

void Listener::fail(InputStatus status)
{
    const QString text = inputStatusText(status, input_->deviceName());
    timer_.stop();
    input_->stop();
    input_->close();
    notes_.reset();
    setWarning(InputWarning::None);
    emit listeningStopped(status, text);
}

void Listener::setWarning(InputWarning warning)
{
    if (warning == warning_)
        return;
    warning_ = warning;
    emit warningChanged(warning, inputWarningText(warning));
}

void Listener::poll()
{
    if (!notes_)
        return;
    const Clock::time_point now = Clock::now();
    const InputStatus status = input_->status();
    if (status != InputStatus::Running) {
        fail(status == InputStatus::Open ? InputStatus::Vanished : status);
        return;
    }
    if (now - input_->lastDelivery() > stallTimeout) {
        fail(InputStatus::Vanished);
        return;
    }

    anchorFrame_ = input_->framesDelivered();
    anchorTime_ = input_->lastDelivery();
    drained_.clear();
    input_->samples().popAll(drained_);
    played_.clear();
    notes_->process(drained_, played_);
    for (const PlayedNote& note : played_)
        emit notePlayed(note.midi, steadyMs(timeOfFrame(note.onsetFrame)));

    if (now - lastLevel_ >= levelInterval) {
        lastLevel_ = now;
        const LevelReading level = notes_->takeLevel();
        if (level.clipped)
            lastClip_ = now;
        emit levelChanged(level.rmsDb, level.peakDb);
    }
    if (lastClip_ != Clock::time_point{} && now - lastClip_ < clipHold)
        setWarning(InputWarning::Clipping);
    else if (notes_->secondsOf(notes_->framesSinceSound()) >= silentSeconds)
        setWarning(InputWarning::Silent);
    else
        setWarning(InputWarning::None);
}

} // namespace listening
