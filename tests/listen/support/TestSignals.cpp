#include "TestSignals.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace listening::testing {

Samples PluckedTone(int rate, double hz, double seconds, double amplitude)
{
    const auto count = static_cast<std::size_t>(seconds * rate);
    Samples out(count, 0.0f);
    const double attack = 0.002 * rate;
    double norm = 0.0;
    for (int k = 1; k <= 12; ++k)
        norm += 1.0 / k;
    for (int k = 1; k <= 12; ++k) {
        const double f = hz * k;
        if (f >= 0.45 * rate)
            break;
        const double gain = amplitude / k / norm * 1.6;
        const double decay = 1.2 + 0.5 * k; // per second
        const double phase = 0.3 * k;
        for (std::size_t i = 0; i < count; ++i) {
            const double t = double(i) / rate;
            const double env = std::min(1.0, i / attack) * std::exp(-decay * t);
            out[i] += static_cast<float>(gain * env * std::sin(2.0 * std::numbers::pi * f * t + phase));
        }
    }
    return out;
}

Samples Silence(int rate, double seconds)
{
    return Samples(static_cast<std::size_t>(seconds * rate), 0.0f);
}

Samples WhiteNoise(std::size_t count, double level, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<float> normal(0.0f, static_cast<float>(level));
    Samples out(count);
    for (float& x : out)
        x = normal(random);
    return out;
}

Samples PinkNoise(std::size_t count, double level, std::uint32_t seed)
{
    const Samples white = WhiteNoise(count, 1.0, seed);
    Samples out(count);
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double w = white[i];
        b0 = 0.99886 * b0 + w * 0.0555179;
        b1 = 0.99332 * b1 + w * 0.0750759;
        b2 = 0.96900 * b2 + w * 0.1538520;
        b3 = 0.86650 * b3 + w * 0.3104856;
        b4 = 0.55000 * b4 + w * 0.5329522;
        b5 = -0.7616 * b5 - w * 0.0168980;
        out[i] = static_cast<float>(b0 + b1 + b2 + b3 + b4 + b5 + b6 + w * 0.5362);
        b6 = w * 0.115926;
    }
    const double now = Rms(out);
    for (float& x : out)
        x = static_cast<float>(x * level / now);
    return out;
}

Samples Hum(int rate, double seconds, double baseHz, double level)
{
    const auto count = static_cast<std::size_t>(seconds * rate);
    Samples out(count, 0.0f);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        double v = 0.0;
        for (int k = 1; k <= 8; ++k)
            v += (k % 2 ? 1.0 : 0.5) / k * std::sin(2.0 * std::numbers::pi * baseHz * k * t + k);
        v *= 1.0 + 0.1 * std::sin(2.0 * std::numbers::pi * 0.3 * t); // wavers about 1 dB
        out[i] = static_cast<float>(v);
    }
    const double now = Rms(out);
    for (float& x : out)
        x = static_cast<float>(x * level / now);
    return out;
}

double Rms(const Samples& samples, std::size_t from, std::size_t count)
{
    const std::size_t end = std::min(samples.size(), count == SIZE_MAX ? samples.size() : from + count);
    double sum = 0.0;
    for (std::size_t i = from; i < end; ++i)
        sum += double(samples[i]) * samples[i];
    return end > from ? std::sqrt(sum / double(end - from)) : 0.0;
}

namespace {

float CubicAt(const Samples& in, double position)
{
    const auto i = static_cast<std::ptrdiff_t>(std::floor(position));
    const double t = position - double(i);
    const auto at = [&](std::ptrdiff_t k) {
        return k >= 0 && k < std::ptrdiff_t(in.size()) ? double(in[std::size_t(k)]) : 0.0;
    };
    const double p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    return static_cast<float>(
        p1 + 0.5 * t * (p2 - p0 + t * (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3 + t * (3.0 * (p1 - p2) + p3 - p0))));
}

} // namespace

void Append(Samples& a, const Samples& b)
{
    a.insert(a.end(), b.begin(), b.end());
}

// GUS patch layout: a 129-byte file header, a 63-byte instrument header, a 47-byte
// layer header, then per sample a 96-byte header and its data. Little-endian.
std::vector<GusSample> ReadGusPatch(const QString& path, QString* error)
{
    const auto Fail = [&](const QString& why) {
        if (error)
            *error = why;
        return std::vector<GusSample>{};
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(file.errorString());
    const QByteArray bytes = file.readAll();
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 239 || (!bytes.startsWith("GF1PATCH110") && !bytes.startsWith("GF1PATCH100")))
        return Fail(QStringLiteral("not a GUS patch"));
    const int samples = d[129 + 63 + 6];
    std::vector<GusSample> out;
    qsizetype at = 129 + 63 + 47;
    for (int s = 0; s < samples; ++s) {
        if (at + 96 > size)
            return Fail(QStringLiteral("patch ends inside a sample header"));
        const uchar* h = d + at;
        GusSample sample;
        sample.name = QString::fromLatin1(reinterpret_cast<const char*>(h), int(qstrnlen(reinterpret_cast<const char*>(h), 7)));
        const quint32 bytesOfWave = qFromLittleEndian<quint32>(h + 8);
        quint32 loopStart = qFromLittleEndian<quint32>(h + 12);
        quint32 loopEnd = qFromLittleEndian<quint32>(h + 16);
        sample.rate = qFromLittleEndian<quint16>(h + 20);
        sample.lowHz = qFromLittleEndian<quint32>(h + 22) / 1000.0;
        sample.highHz = qFromLittleEndian<quint32>(h + 26) / 1000.0;
        sample.rootHz = qFromLittleEndian<quint32>(h + 30) / 1000.0;
        const uchar modes = h[55];
        const bool sixteen = modes & 0x01;
        const bool isUnsigned = modes & 0x02;
        sample.looping = modes & 0x04;
        at += 96;
        if (at + qsizetype(bytesOfWave) > size || sample.rate == 0 || sample.rootHz <= 0.0)
            return Fail(QStringLiteral("damaged sample %1").arg(s));
        const std::size_t count = sixteen ? bytesOfWave / 2 : bytesOfWave;
        sample.data.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            float v;
            if (sixteen) {
                const quint16 raw = qFromLittleEndian<quint16>(d + at + 2 * i);
                v = isUnsigned ? (float(raw) - 32768.0f) / 32768.0f : float(qint16(raw)) / 32768.0f;
            } else {
                const quint8 raw = d[at + qsizetype(i)];
                v = isUnsigned ? (float(raw) - 128.0f) / 128.0f : float(qint8(raw)) / 128.0f;
            }
            sample.data[i] = v;
        }
        if (sixteen) {
            loopStart /= 2;
            loopEnd /= 2;
        }
        sample.loopStart = std::min<std::size_t>(loopStart, count);
        sample.loopEnd = std::min<std::size_t>(loopEnd, count);
        if (sample.loopEnd <= sample.loopStart + 1)
            sample.looping = false;
        at += bytesOfWave;
        out.push_back(std::move(sample));
    }
    return out;
}

Samples PlayGusSample(const GusSample& sample, double hz, int rate, double seconds)
{
    const double step = hz / sample.rootHz * double(sample.rate) / rate;
    const auto count = static_cast<std::size_t>(seconds * rate);
    Samples out(count, 0.0f);
    double position = 0.0;
    const double loopLength = double(sample.loopEnd) - double(sample.loopStart);
    for (std::size_t i = 0; i < count; ++i) {
        if (sample.looping && position >= double(sample.loopEnd))
            position -= loopLength;
        if (position >= double(sample.data.size()) - 1)
            break;
        out[i] = CubicAt(sample.data, position);
        position += step;
    }
    const auto fade = std::min<std::size_t>(count, static_cast<std::size_t>(0.03 * rate));
    for (std::size_t i = 0; i < fade; ++i)
        out[count - fade + i] *= float(fade - i) / float(fade);
    return out;
}

QString DefaultSoundFont()
{
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"})
        if (QFileInfo::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return {};
}

} // namespace listening::testing
