#include "speech_synth.h"

#include "wave_synth.h"

#include <espeak-ng/speak_lib.h>

#include <QList>
#include <stdexcept>

namespace vl::build {

namespace {

struct Synthesizer {
    int sampleRate = 0;

    Synthesizer()
    {
        sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        if (sampleRate <= 0)
            throw std::runtime_error("o sintetizador de voz espeak-ng não pôde ser iniciado");
        espeak_SetSynthCallback(&Synthesizer::collect);
        espeak_VOICE wanted{};
        wanted.languages = "pt-br";
        if (espeak_SetVoiceByProperties(&wanted) != EE_OK)
            throw std::runtime_error("o espeak-ng não tem a voz do português do Brasil (pt-br)");
        espeak_SetParameter(espeakRATE, 155, 0);
    }

    static int collect(short *samples, int count, espeak_EVENT *events)
    {
        auto *out = static_cast<QList<qint16> *>(events->user_data);
        if (samples && out)
            for (int i = 0; i < count; ++i)
                out->append(samples[i]);
        return 0;
    }
};

}  // namespace

QByteArray synthesizeSpeech(const QString &text)
{
    static Synthesizer synthesizer;
    QList<qint16> samples;
    const QByteArray utf8 = text.toUtf8();
    const espeak_ERROR result = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, &samples);
    espeak_Synchronize();
    if (result != EE_OK || samples.isEmpty())
        throw std::runtime_error("o espeak-ng não conseguiu ler o texto");
    return waveFile(samples, synthesizer.sampleRate);
}

}  // namespace vl::build
