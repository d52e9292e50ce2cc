#pragma once
// What "&System Info..." reports: the platform and the library versions, plus what the
// sound layer knows (SoundFont, audio driver, MIDI ports) through a provider the main
// window installs once sound is set up, so this shell code needs no sound headers.

#include <QList>
#include <QString>

#include <functional>

struct SystemInfoItem {
    QString strName;
    QString strValue;
};

using SoundInfoProvider = std::function<QList<SystemInfoItem>()>;

// Replaces the provider; returns the previous one. An empty provider means none.
SoundInfoProvider SetSoundInfoProvider(SoundInfoProvider provider);

// The program, operating system, Qt, FluidSynth and RtMidi versions, then the
// provider's items (or one line saying that sound has reported nothing).
QList<SystemInfoItem> CollectSystemInfo();

// The same as "name: value" lines, for the clipboard and bug reports.
QString SystemInfoText(const QList<SystemInfoItem>& items);
