#include "listen/RtAudioInput.h"

#include <RtAudio.h>
#include <alsa/asoundlib.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace listening {

namespace {

// RtAudio's error callback carries no user data: the one open input registers here.
std::mutex currentMutex;
RtAudioInput* currentInput = nullptr;

void neverStartJackServer()
{
    ::setenv("JACK_NO_START_SERVER", "1", 1);
}

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// ALSA prints a screenful to stderr for every card it cannot find while RtAudio probes
// (on a machine without sound hardware, every time); what matters reaches the user
// through our own status texts.
class QuietAlsa {
public:
    QuietAlsa() { snd_lib_error_set_handler(&ignoreAlsaMessage); }
    ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;
};

QString systemName(RtAudio::Api api)
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

int chooseRate(const QList<int>& offered, int wanted)
{
    QList<int> usable;
    for (int rate : offered)
        if (isSupportedRate(rate))
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
    neverStartJackServer();
}

RtAudioInput::~RtAudioInput()
{
    close();
}

QList<RtAudioInput::Candidate> RtAudioInput::candidates()
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
                device.name = systemName(api) + QStringLiteral(": ") + QString::fromStdString(info.name);
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

QList<InputDevice> RtAudioInput::devices()
{
    QList<InputDevice> list;
    for (const Candidate& candidate : candidates())
        list.append(candidate.device);
    return list;
}

InputStatus RtAudioInput::setStatus(InputStatus status, const QString& detail)
{
    status_ = status;
    detail_ = detail;
    return status;
}

InputStatus RtAudioInput::open(const QString& name, int sampleRate)
{
    close();
    deviceName_ = name;
    const QList<Candidate> all = candidates();
    if (all.isEmpty())
        return setStatus(InputStatus::NoDevice);
    auto chosen = std::find_if(all.begin(), all.end(), [&](const Candidate& c) {
        return name.isEmpty() ? c.device.isDefault : c.device.name == name;
    });
    if (chosen == all.end() && name.isEmpty())
        chosen = all.begin(); // no system marks a default: take the first input
    if (chosen == all.end())
        return setStatus(InputStatus::DeviceMissing);
    deviceName_ = chosen->device.name;

    const int rate = chooseRate(chosen->device.sampleRates, sampleRate);
    if (rate == 0)
        return setStatus(InputStatus::RateUnsupported);

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
                           &RtAudioInput::onAudio, this, &options,
                           [](RtAudioError::Type type, const std::string& text) { onError(type, text); });
        channels_ = static_cast<int>(parameters.nChannels);
        bufferFrames_ = static_cast<int>(frames);
        sampleRate_ = static_cast<int>(audio_->getStreamSampleRate());
    } catch (const RtAudioError& error) {
        const QString text = QString::fromStdString(error.getMessage());
        audio_.reset();
        return setStatus(InputStatus::OpenFailed, text);
    }
    if (!isSupportedRate(sampleRate_)) {
        close();
        return setStatus(InputStatus::RateUnsupported);
    }
    return setStatus(InputStatus::Open);
}

InputStatus RtAudioInput::start()
{
    if (!audio_ || !audio_->isStreamOpen())
        return status_ == InputStatus::Open ? setStatus(InputStatus::Vanished) : status_;
    if (status_ == InputStatus::Running)
        return status_;
    resetDelivery();
    try {
        audio_->startStream();
    } catch (const RtAudioError& error) {
        return setStatus(InputStatus::OpenFailed, QString::fromStdString(error.getMessage()));
    }
    return setStatus(InputStatus::Running);
}

void RtAudioInput::stop()
{
    if (!audio_)
        return;
    try {
        if (audio_->isStreamOpen() && audio_->isStreamRunning())
            audio_->abortStream();
    } catch (const RtAudioError&) {
        // The stream is gone already; nothing to stop.
    }
    if (status_ == InputStatus::Running)
        status_ = InputStatus::Open;
}

void RtAudioInput::close()
{
    if (audio_) {
        stop();
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

InputStatus RtAudioInput::status() const
{
    if (broken_.load(std::memory_order_acquire) && (status_ == InputStatus::Open || status_ == InputStatus::Running))
        return InputStatus::Vanished;
    return status_;
}

QString RtAudioInput::errorText() const
{
    const InputStatus current = status();
    QString text = inputStatusText(current, deviceName_);
    QString detail = detail_;
    if (current == InputStatus::Vanished) {
        const std::lock_guard lock(brokenTextMutex_);
        detail = brokenText_;
    }
    if (!detail.isEmpty() && current != InputStatus::Open && current != InputStatus::Running)
        text += QLatin1Char(' ') + QCoreApplication::translate("AudioInput", "(%1)").arg(detail);
    return text;
}

int RtAudioInput::onAudio(void*, void* input, unsigned int frames, double, unsigned int status, void* self)
{
    auto* me = static_cast<RtAudioInput*>(self);
    if (status & RTAUDIO_INPUT_OVERFLOW)
        me->noteOverrun();
    if (input)
        me->deliver(static_cast<const float*>(input), frames, me->channels_);
    return 0;
}

void RtAudioInput::onError(int type, const std::string& text)
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
