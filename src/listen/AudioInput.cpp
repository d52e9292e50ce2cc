#include "listen/AudioInput.h"

#include <QCoreApplication>

namespace listening {

QString InputStatusText(InputStatus status, const QString& deviceName)
{
    const auto tr = [](const char* text) { return QCoreApplication::translate("AudioInput", text); };
    const QString name = deviceName.isEmpty() ? tr("the default input") : deviceName;
    switch (status) {
    case InputStatus::Closed:
        return tr("Not listening.");
    case InputStatus::Open:
        return tr("The input %1 is open.").arg(name);
    case InputStatus::Running:
        return tr("Listening on %1.").arg(name);
    case InputStatus::NoDevice:
        return tr("No audio input was found. Connect a microphone or an audio interface, then try again.");
    case InputStatus::DeviceMissing:
        return tr("The input %1 is not available. Choose another input in the options.").arg(name);
    case InputStatus::OpenFailed:
        return tr("The input %1 could not be opened: it may be in use by another program.").arg(name);
    case InputStatus::RateUnsupported:
        return tr("The input %1 runs at a sample rate that cannot be used.").arg(name);
    case InputStatus::Vanished:
        return tr("The input %1 stopped delivering sound (was it unplugged?). Listening is off.").arg(name);
    }
    return {};
}

} // namespace listening
