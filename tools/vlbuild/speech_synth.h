#pragma once
// Recorded readings of short texts (the SPEECH fields), synthesised with espeak-ng's Brazilian
// Portuguese voice and stored as RIFF WAVE.
#include <QByteArray>
#include <QString>

namespace vl::build {

// Throws std::runtime_error (Portuguese text) when the synthesiser or its voice is unavailable.
QByteArray synthesizeSpeech(const QString &text);

}  // namespace vl::build
