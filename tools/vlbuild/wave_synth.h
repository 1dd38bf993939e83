#pragma once
// Short event sounds from a note list, written as RIFF WAVE (PCM, mono, 16 bits, 22050 Hz).
//
//   tone [soft|bell|pluck] NOTE/ms NOTE/ms ...
//
// NOTE is a pitch name with octave (C5, F#4, Bb5), a frequency in hertz (440), or "-" for a rest.
#include "build_error.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vl::build {

struct ToneNote {
    double frequency = 0;  // 0 = rest
    int milliseconds = 0;
};

struct ToneSpec {
    enum Timbre { Soft, Bell, Pluck };
    Timbre timbre = Soft;
    QList<ToneNote> notes;
};

constexpr int waveSampleRate = 22050;
constexpr int maxToneMilliseconds = 2000;

// `spec` is the text after the word "tone".
ToneSpec parseToneSpec(const QString &spec, const SourcePlace &place);
QByteArray synthesizeWave(const ToneSpec &spec);
// A RIFF WAVE image of 16-bit mono samples.
QByteArray waveFile(const QList<qint16> &samples, int sampleRate);

}  // namespace vl::build
