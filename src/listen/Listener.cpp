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

QString InputWarningText(InputWarning warning)
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
    connect(&timer_, &QTimer::timeout, this, &Listener::Poll);
}

Listener::~Listener()
{
    Stop();
}

qint64 Listener::SteadyMs(Clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

bool Listener::Start(const QString& deviceName, int sampleRate, ListenOptions options)
{
    Stop();
    options_ = options;
    if (input_->Open(deviceName, sampleRate) != InputStatus::Open)
        return false;
    notes_ = std::make_unique<NoteListener>(input_->SampleRate(), options_);
    if (input_->Start() != InputStatus::Running) {
        input_->Close();
        notes_.reset();
        return false;
    }
    anchorFrame_ = 0;
    anchorTime_ = Clock::now();
    lastLevel_ = anchorTime_;
    lastClip_ = {};
    warning_ = InputWarning::None;
    if (pendingMute_ > anchorTime_)
        MuteUntil(pendingMute_);
    timer_.start();
    return true;
}

void Listener::Stop()
{
    timer_.stop();
    input_->Stop();
    input_->Close();
    notes_.reset();
    drained_.clear();
    SetWarning(InputWarning::None);
}

void Listener::SetThresholdDb(double db)
{
    options_.thresholdDb = db;
    if (notes_)
        notes_->SetThresholdDb(db);
}

Listener::Clock::time_point Listener::TimeOfFrame(std::int64_t frame) const
{
    const double seconds = static_cast<double>(frame - anchorFrame_) / input_->SampleRate();
    return anchorTime_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void Listener::MuteUntil(Clock::time_point end)
{
    pendingMute_ = std::max(pendingMute_, end);
    if (!notes_)
        return;
    const Clock::time_point heard = end + echoMargin
        + std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(input_->BufferFrames()) / input_->SampleRate()));
    const double seconds = std::chrono::duration<double>(heard - anchorTime_).count();
    notes_->MuteUntil(anchorFrame_ + notes_->FramesOf(seconds));
}

void Listener::Fail(InputStatus status)
{
    const QString text = InputStatusText(status, input_->DeviceName());
    timer_.stop();
    input_->Stop();
    input_->Close();
    notes_.reset();
    SetWarning(InputWarning::None);
    emit listeningStopped(status, text);
}

void Listener::SetWarning(InputWarning warning)
{
    if (warning == warning_)
        return;
    warning_ = warning;
    emit warningChanged(warning, InputWarningText(warning));
}

void Listener::Poll()
{
    if (!notes_)
        return;
    const Clock::time_point now = Clock::now();
    const InputStatus status = input_->Status();
    if (status != InputStatus::Running) {
        Fail(status == InputStatus::Open ? InputStatus::Vanished : status);
        return;
    }
    if (now - input_->LastDelivery() > stallTimeout) {
        Fail(InputStatus::Vanished);
        return;
    }

    anchorFrame_ = input_->FramesDelivered();
    anchorTime_ = input_->LastDelivery();
    drained_.clear();
    input_->Samples().PopAll(drained_);
    played_.clear();
    notes_->Process(drained_, played_);
    for (const PlayedNote& note : played_)
        emit notePlayed(note.midi, SteadyMs(TimeOfFrame(note.onsetFrame)));

    if (now - lastLevel_ >= levelInterval) {
        lastLevel_ = now;
        const LevelReading level = notes_->TakeLevel();
        if (level.clipped)
            lastClip_ = now;
        emit levelChanged(level.rmsDb, level.peakDb);
    }
    if (lastClip_ != Clock::time_point{} && now - lastClip_ < clipHold)
        SetWarning(InputWarning::Clipping);
    else if (notes_->SecondsOf(notes_->FramesSinceSound()) >= silentSeconds)
        SetWarning(InputWarning::Silent);
    else
        SetWarning(InputWarning::None);
}

} // namespace listening
