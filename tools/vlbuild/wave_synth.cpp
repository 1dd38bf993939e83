#include "wave_synth.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vl::build {

static double noteFrequency(const QString &word, const SourcePlace &place)
{
    static const QRegularExpression name(QStringLiteral("^([A-Ga-g])([#b]?)(\\d)$"));
    const auto m = name.match(word);
    if (m.hasMatch()) {
        static const int semitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G relative to C
        int n = semitone[m.captured(1).toUpper()[0].unicode() - 'A'];
        if (m.captured(2) == QLatin1String("#"))
            ++n;
        else if (m.captured(2) == QLatin1String("b"))
            --n;
        const int midi = 12 * (m.captured(3).toInt() + 1) + n;
        return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    }
    bool ok = false;
    const double hz = word.toDouble(&ok);
    if (!ok || hz < 50 || hz > 8000)
        throw BuildError(place, QStringLiteral("nota inválida '%1' (use C5, F#4, Bb5, '-' ou de 50 a 8000 Hz)").arg(word));
    return hz;
}

ToneSpec parseToneSpec(const QString &spec, const SourcePlace &place)
{
    ToneSpec tone;
    QStringList words = spec.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (!words.isEmpty() && !words[0].contains(QLatin1Char('/'))) {
        const QString t = words.takeFirst().toLower();
        if (t == QLatin1String("soft"))
            tone.timbre = ToneSpec::Soft;
        else if (t == QLatin1String("bell"))
            tone.timbre = ToneSpec::Bell;
        else if (t == QLatin1String("pluck"))
            tone.timbre = ToneSpec::Pluck;
        else
            throw BuildError(place, QStringLiteral("timbre desconhecido '%1' (válidos: soft, bell, pluck)").arg(t));
    }
    if (words.isEmpty())
        throw BuildError(place, QStringLiteral("som sem notas: escreva 'tone NOTA/ms ...'"));
    int total = 0;
    for (const QString &w : words) {
        const QStringList parts = w.split(QLatin1Char('/'));
        bool ok = false;
        const int ms = parts.size() == 2 ? parts[1].toInt(&ok) : 0;
        if (!ok || ms < 10 || ms > 1000)
            throw BuildError(place, QStringLiteral("nota '%1': escreva NOTA/ms com 10 a 1000 ms").arg(w));
        ToneNote note;
        note.milliseconds = ms;
        note.frequency = parts[0] == QLatin1String("-") ? 0 : noteFrequency(parts[0], place);
        tone.notes.append(note);
        total += ms;
    }
    if (total > maxToneMilliseconds)
        throw BuildError(place, QStringLiteral("som longo demais: %1 ms (máximo %2)").arg(total).arg(maxToneMilliseconds));
    return tone;
}

QByteArray synthesizeWave(const ToneSpec &spec)
{
    // Each note rings a little past its slot (a release tail); the notes are mixed.
    const double tail = spec.timbre == ToneSpec::Soft ? 0.03 : 0.12;
    double total = 0;
    for (const ToneNote &n : spec.notes)
        total += n.milliseconds / 1000.0;
    const int length = int(std::ceil((total + tail) * waveSampleRate));
    std::vector<double> mix(size_t(length), 0.0);

    double start = 0;
    for (const ToneNote &n : spec.notes) {
        const double duration = n.milliseconds / 1000.0;
        if (n.frequency > 0) {
            const int first = int(start * waveSampleRate);
            const int count = int((duration + tail) * waveSampleRate);
            for (int i = 0; i < count && first + i < length; ++i) {
                const double t = double(i) / waveSampleRate;
                const double w = 2 * std::numbers::pi * n.frequency * t;
                double v = 0, env = 0;
                const double attack = std::min(1.0, t / 0.004);
                switch (spec.timbre) {
                case ToneSpec::Soft:
                    v = std::sin(w) + 0.25 * std::sin(2 * w) + 0.08 * std::sin(3 * w);
                    env = attack * (t < duration ? 1.0 - 0.3 * t / duration : 0.7 * std::max(0.0, 1 - (t - duration) / tail));
                    break;
                case ToneSpec::Bell:
                    v = std::sin(w) + 0.45 * std::sin(2.76 * w) * std::exp(-t * 18) + 0.2 * std::sin(5.4 * w) * std::exp(-t * 30);
                    env = attack * std::exp(-t * 9 / std::max(0.08, duration + tail));
                    break;
                case ToneSpec::Pluck:
                    v = std::sin(w) + 0.5 * std::sin(2 * w) * std::exp(-t * 25) + 0.25 * std::sin(3 * w) * std::exp(-t * 40);
                    env = attack * std::exp(-t * 14);
                    break;
                }
                // Fade the very end of the tail to avoid a click.
                const double remaining = (count - i) / double(waveSampleRate);
                env *= std::min(1.0, remaining / 0.005);
                mix[size_t(first + i)] += v * env;
            }
        }
        start += duration;
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0 ? 0.45 / peak : 0;
    QList<qint16> samples;
    samples.reserve(length);
    for (double v : mix)
        samples.append(qint16(std::lround(std::clamp(v * gain, -1.0, 1.0) * 32767)));
    return waveFile(samples, waveSampleRate);
}

QByteArray waveFile(const QList<qint16> &samples, int sampleRate)
{
    QByteArray out;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    const quint32 dataBytes = quint32(samples.size()) * 2;
    out.append("RIFF", 4);
    u32(36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(quint32(sampleRate));
    u32(quint32(sampleRate) * 2);
    u16(2);
    u16(16);
    out.append("data", 4);
    u32(dataBytes);
    for (qint16 s : samples)
        u16(quint16(s));
    return out;
}

}  // namespace vl::build
