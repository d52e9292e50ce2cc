#include "listen/RtAudioInput.h"

#include <RtAudio.h>
#include <alsa/asoundlib.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace listening {

namespace {

// RtAudio's error callback carries no user data: the one open input registers here.
std::mutex currentMutex;
RtAudioInput* currentInput = nullptr;

void NeverStartJackServer()
{
    ::setenv("JACK_NO_START_SERVER", "1", 1);
}

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// When a JACK server shuts down under a running stream, RtAudio closes the stream itself
// on a thread of its own. Stopping, closing or destroying it at the same time frees it
// twice, so such a stream is left to RtAudio here and destroyed only once RtAudio has
// closed it (never, when it has not by the time the program ends).
class LeftToJack {
public:
    static LeftToJack& Instance()
    {
        static LeftToJack instance;
        return instance;
    }
    void Add(std::unique_ptr<RtAudio> audio)
    {
        Reap();
        left_.push_back({std::move(audio), {}});
    }
    // Destroys the streams RtAudio closed, a moment after it was seen done with them.
    void Reap()
    {
        const auto now = std::chrono::steady_clock::now();
        std::erase_if(left_, [now](Left& left) {
            if (left.audio->isStreamOpen())
                return false;
            if (left.closedAt == std::chrono::steady_clock::time_point{})
                left.closedAt = now;
            return now - left.closedAt > std::chrono::milliseconds(200);
        });
    }
    ~LeftToJack()
    {
        for (Left& left : left_)
            if (left.audio->isStreamOpen())
                static_cast<void>(left.audio.release());
    }

private:
    struct Left {
        std::unique_ptr<RtAudio> audio;
        std::chrono::steady_clock::time_point closedAt;
    };
    std::vector<Left> left_;
};

// The server stops calling a stream that it has dropped; a live one calls every few
// milliseconds.
constexpr auto jackSilence = std::chrono::milliseconds(100);

// ALSA prints a screenful to stderr for every card it cannot find while RtAudio probes
// (on a machine without sound hardware, every time); what matters reaches the user
// through our own status texts.
class QuietAlsa {
public:
    QuietAlsa() { snd_lib_error_set_handler(&IgnoreAlsaMessage); }
    ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;
};

QString SystemName(RtAudio::Api api)
{
    switch (api) {
    case RtAudio::LINUX_PULSE:
        return QStringLiteral("PulseAudio");
    case RtAudio::LINUX_ALSA:
        return QStringLiteral("ALSA");
    case RtAudio::UNIX_JACK:
        return QStringLiteral("JACK");
    default:
        return QString::fromStdString(RtAudio::getApiDisplayName(api));
    }
}

// Desktop sound servers first: their default input is the one the user picked.
const RtAudio::Api searchOrder[] = {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA, RtAudio::UNIX_JACK};

int ChooseRate(const QList<int>& offered, int wanted)
{
    QList<int> usable;
    for (int rate : offered)
        if (IsSupportedRate(rate))
            usable.append(rate);
    if (usable.isEmpty())
        return 0;
    if (wanted <= 0)
        wanted = 48000;
    return *std::min_element(usable.begin(), usable.end(),
                             [wanted](int a, int b) { return std::abs(a - wanted) < std::abs(b - wanted); });
}

} // namespace

struct RtAudioInput::Candidate {
    RtAudio::Api api;
    unsigned int index;
    InputDevice device;
};

RtAudioInput::RtAudioInput()
{
    NeverStartJackServer();
}

RtAudioInput::~RtAudioInput()
{
    Close();
}

QList<RtAudioInput::Candidate> RtAudioInput::Candidates()
{
    std::vector<RtAudio::Api> compiled;
    RtAudio::getCompiledApi(compiled);
    const QuietAlsa quiet;
    QList<Candidate> found;
    for (RtAudio::Api api : searchOrder) {
        if (std::find(compiled.begin(), compiled.end(), api) == compiled.end())
            continue;
        try {
            RtAudio probe(api);
            probe.showWarnings(false);
            const unsigned int count = probe.getDeviceCount();
            for (unsigned int i = 0; i < count; ++i) {
                const RtAudio::DeviceInfo info = probe.getDeviceInfo(i);
                if (!info.probed || info.inputChannels == 0)
                    continue;
                InputDevice device;
                device.name = SystemName(api) + QStringLiteral(": ") + QString::fromStdString(info.name);
                device.channels = static_cast<int>(info.inputChannels);
                for (unsigned int rate : info.sampleRates)
                    device.sampleRates.append(static_cast<int>(rate));
                device.isDefault = info.isDefaultInput;
                found.append({api, i, device});
            }
        } catch (const RtAudioError&) {
            // This sound system is not there; the others may be.
        }
    }
    return found;
}

QList<InputDevice> RtAudioInput::Devices()
{
    QList<InputDevice> list;
    for (const Candidate& candidate : Candidates())
        list.append(candidate.device);
    return list;
}

InputStatus RtAudioInput::SetStatus(InputStatus status, const QString& detail)
{
    status_ = status;
    detail_ = detail;
    return status;
}

InputStatus RtAudioInput::Open(const QString& name, int sampleRate)
{
    Close();
    LeftToJack::Instance().Reap();
    deviceName_ = name;
    const QList<Candidate> all = Candidates();
    if (all.isEmpty())
        return SetStatus(InputStatus::NoDevice);
    auto chosen = std::find_if(all.begin(), all.end(), [&](const Candidate& c) {
        return name.isEmpty() ? c.device.isDefault : c.device.name == name;
    });
    if (chosen == all.end() && name.isEmpty())
        chosen = all.begin(); // no system marks a default: take the first input
    if (chosen == all.end())
        return SetStatus(InputStatus::DeviceMissing);
    deviceName_ = chosen->device.name;

    const int rate = ChooseRate(chosen->device.sampleRates, sampleRate);
    if (rate == 0)
        return SetStatus(InputStatus::RateUnsupported);

    const QuietAlsa quiet;
    try {
        audio_ = std::make_unique<RtAudio>(chosen->api);
        audio_->showWarnings(false);
        RtAudio::StreamParameters parameters;
        parameters.deviceId = chosen->index;
        parameters.nChannels = static_cast<unsigned int>(std::min(chosen->device.channels, 2));
        RtAudio::StreamOptions options;
        options.streamName = JackClientName;
        options.flags = RTAUDIO_MINIMIZE_LATENCY;
        unsigned int frames = 256;
        {
            const std::lock_guard lock(currentMutex);
            currentInput = this;
        }
        audio_->openStream(nullptr, &parameters, RTAUDIO_FLOAT32, static_cast<unsigned int>(rate), &frames,
                           &RtAudioInput::OnAudio, this, &options,
                           [](RtAudioError::Type type, const std::string& text) { OnError(type, text); });
        channels_ = static_cast<int>(parameters.nChannels);
        bufferFrames_ = static_cast<int>(frames);
        sampleRate_ = static_cast<int>(audio_->getStreamSampleRate());
    } catch (const RtAudioError& error) {
        const QString text = QString::fromStdString(error.getMessage());
        audio_.reset();
        return SetStatus(InputStatus::OpenFailed, text);
    }
    if (!IsSupportedRate(sampleRate_)) {
        Close();
        return SetStatus(InputStatus::RateUnsupported);
    }
    return SetStatus(InputStatus::Open);
}

InputStatus RtAudioInput::Start()
{
    if (!audio_ || !audio_->isStreamOpen())
        return status_ == InputStatus::Open ? SetStatus(InputStatus::Vanished) : status_;
    if (status_ == InputStatus::Running)
        return status_;
    ResetDelivery();
    try {
        audio_->startStream();
    } catch (const RtAudioError& error) {
        return SetStatus(InputStatus::OpenFailed, QString::fromStdString(error.getMessage()));
    }
    return SetStatus(InputStatus::Running);
}

bool RtAudioInput::DroppedByJack() const
{
    return audio_ && audio_->getCurrentApi() == RtAudio::UNIX_JACK && status_ == InputStatus::Running
        && Clock::now() - LastDelivery() > jackSilence;
}

void RtAudioInput::Stop()
{
    if (!audio_)
        return;
    if (DroppedByJack()) {
        droppedByJack_ = true;
        status_ = InputStatus::Open;
        return;
    }
    try {
        if (audio_->isStreamOpen() && audio_->isStreamRunning())
            audio_->abortStream();
    } catch (const RtAudioError&) {
        // The stream is gone already; nothing to stop.
    }
    if (status_ == InputStatus::Running)
        status_ = InputStatus::Open;
}

void RtAudioInput::Close()
{
    if (DroppedByJack() || droppedByJack_)
        LeftToJack::Instance().Add(std::move(audio_));
    droppedByJack_ = false;
    if (audio_) {
        Stop();
        try {
            if (audio_->isStreamOpen())
                audio_->closeStream();
        } catch (const RtAudioError&) {
        }
        audio_.reset();
    }
    {
        const std::lock_guard lock(currentMutex);
        if (currentInput == this)
            currentInput = nullptr;
    }
    broken_.store(false);
    sampleRate_ = 0;
    bufferFrames_ = 0;
    channels_ = 0;
    if (status_ == InputStatus::Open || status_ == InputStatus::Running || status_ == InputStatus::Vanished)
        status_ = InputStatus::Closed;
}

InputStatus RtAudioInput::Status() const
{
    if (broken_.load(std::memory_order_acquire) && (status_ == InputStatus::Open || status_ == InputStatus::Running))
        return InputStatus::Vanished;
    return status_;
}

QString RtAudioInput::ErrorText() const
{
    const InputStatus current = Status();
    QString text = InputStatusText(current, deviceName_);
    QString detail = detail_;
    if (current == InputStatus::Vanished) {
        const std::lock_guard lock(brokenTextMutex_);
        detail = brokenText_;
    }
    if (!detail.isEmpty() && current != InputStatus::Open && current != InputStatus::Running)
        text += QLatin1Char(' ') + QCoreApplication::translate("AudioInput", "(%1)").arg(detail);
    return text;
}

int RtAudioInput::OnAudio(void*, void* input, unsigned int frames, double, unsigned int status, void* self)
{
    auto* me = static_cast<RtAudioInput*>(self);
    if (status & RTAUDIO_INPUT_OVERFLOW)
        me->NoteOverrun();
    if (input)
        me->Deliver(static_cast<const float*>(input), frames, me->channels_);
    return 0;
}

void RtAudioInput::OnError(int type, const std::string& text)
{
    if (type == RtAudioError::WARNING || type == RtAudioError::DEBUG_WARNING)
        return;
    const std::lock_guard lock(currentMutex);
    if (!currentInput)
        return;
    {
        const std::lock_guard textLock(currentInput->brokenTextMutex_);
        currentInput->brokenText_ = QString::fromStdString(text);
    }
    currentInput->broken_.store(true, std::memory_order_release);
}

} // namespace listening
