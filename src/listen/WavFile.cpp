#include "listen/WavFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace listening {

namespace {

struct Format {
    quint16 tag = 0;        // 1 PCM, 3 IEEE float, 0xFFFE extensible
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
};

float SampleAt(const uchar* p, const Format& format)
{
    switch (format.bits) {
    case 16:
        return static_cast<float>(qFromLittleEndian<qint16>(p)) / 32768.0f;
    case 24: {
        const qint32 v = static_cast<qint32>(static_cast<quint32>(p[0]) << 8 | static_cast<quint32>(p[1]) << 16
                                             | static_cast<quint32>(p[2]) << 24);
        return static_cast<float>(v) / 2147483648.0f;
    }
    case 32:
        if (format.tag == 3) {
            const quint32 bits = qFromLittleEndian<quint32>(p);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return static_cast<float>(qFromLittleEndian<qint32>(p)) / 2147483648.0f;
    default:
        return 0.0f;
    }
}

MonoSound Failed(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return {};
}

} // namespace

MonoSound ReadWav(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(error, file.errorString());
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return Failed(error, QStringLiteral("not a RIFF/WAVE file"));

    Format format;
    qsizetype offset = 12;
    while (offset + 8 <= bytes.size()) {
        const uchar* chunk = data + offset;
        const quint32 size = qFromLittleEndian<quint32>(chunk + 4);
        const qsizetype body = offset + 8;
        const qsizetype available = std::min<qsizetype>(size, bytes.size() - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            format.tag = qFromLittleEndian<quint16>(chunk + 8);
            format.channels = qFromLittleEndian<quint16>(chunk + 10);
            format.rate = qFromLittleEndian<quint32>(chunk + 12);
            format.bits = qFromLittleEndian<quint16>(chunk + 22);
            if (format.tag == 0xFFFE && available >= 26)
                format.tag = qFromLittleEndian<quint16>(chunk + 32); // the sub-format's first field
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            const bool known = (format.tag == 1 && (format.bits == 16 || format.bits == 24 || format.bits == 32))
                || (format.tag == 3 && format.bits == 32);
            if (!known || format.channels == 0 || format.rate == 0)
                return Failed(error, QStringLiteral("unsupported WAV sample format"));
            const qsizetype frameBytes = qsizetype(format.bits / 8) * format.channels;
            const qsizetype frames = available / frameBytes;
            MonoSound sound;
            sound.sampleRate = static_cast<int>(format.rate);
            sound.samples.resize(static_cast<std::size_t>(frames));
            for (qsizetype f = 0; f < frames; ++f) {
                float sum = 0.0f;
                for (int c = 0; c < format.channels; ++c)
                    sum += SampleAt(data + body + f * frameBytes + c * (format.bits / 8), format);
                sound.samples[static_cast<std::size_t>(f)] = sum / static_cast<float>(format.channels);
            }
            return sound;
        }
        offset = body + size + (size & 1);
    }
    return Failed(error, QStringLiteral("no sample data in the WAV file"));
}

bool WriteWav(const QString& path, const MonoSound& sound)
{
    const auto frames = static_cast<quint32>(sound.samples.size());
    QByteArray bytes(44 + 2 * static_cast<qsizetype>(frames), '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    std::memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(36 + 2 * frames, p + 4);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(1, p + 20);
    qToLittleEndian<quint16>(1, p + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(sound.sampleRate), p + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(sound.sampleRate) * 2, p + 28);
    qToLittleEndian<quint16>(2, p + 32);
    qToLittleEndian<quint16>(16, p + 34);
    std::memcpy(p + 36, "data", 4);
    qToLittleEndian<quint32>(2 * frames, p + 40);
    for (quint32 i = 0; i < frames; ++i) {
        const float clamped = std::clamp(sound.samples[i], -1.0f, 1.0f);
        qToLittleEndian<qint16>(static_cast<qint16>(std::lrint(clamped * 32767.0f)), p + 44 + 2 * i);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace listening
