// Spot files with their "VLhot" block, and the synthesised event sounds.
#include "vlbuild/hot_spots.h"
#include "vlbuild/speech_synth.h"
#include "vlbuild/wave_synth.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace vl::build;

namespace {

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

}  // namespace

TEST(HotSpots, ParsesShapesAndTexts)
{
    const auto spots = parseSpots(QStringLiteral("a.spots"), QStringLiteral("# comentário\n"
                                                                          "rect SEM 10 20 30 40 | Semáforo\n"
                                                                          "ellipse ~N1 0 0 5 5 | nota|segunda linha\n"
                                                                          "poly FAI 1,2 3,4 5,6\n"));
    ASSERT_EQ(spots.size(), 3);
    EXPECT_EQ(spots[0].shape, HotSpot::Rectangle);
    EXPECT_EQ(spots[0].points, (QList<QPoint>{{10, 20}, {30, 40}}));
    EXPECT_EQ(spots[1].text, QStringLiteral("nota|segunda linha"));
    EXPECT_EQ(spots[2].shape, HotSpot::Polygon);
    EXPECT_EQ(spots[2].points.size(), 3);
    EXPECT_TRUE(spots[2].text.isEmpty());
}

TEST(HotSpots, RejectsBadLines)
{
    for (const char *text : {"rect ABCDEF 0 0 1 1\n", "rect A 0 0 1\n", "rect A 5 5 1 1\n", "poly A 1,2 3,4\n",
                             "poly A 1;2 3,4 5,6\n", "circle A 0 0 1 1\n", "rect A 0 0 70000 1\n", "rect A\n", "# nada\n"}) {
        EXPECT_THROW(parseSpots(QStringLiteral("a.spots"), QString::fromLatin1(text)), BuildError) << text;
    }
}

TEST(HotSpots, BlockFollowsThePictureAndEndsWithItsOffset)
{
    const QByteArray picture("PICTUREDATA");
    const auto spots = parseSpots(QStringLiteral("a.spots"),
                                  QStringLiteral("rect SEM 10 20 300 40000 | Sé\npoly P 1,2 3,4 5,6\n"));
    const QByteArray b = appendSpotBlock(picture, QStringLiteral("WMF"), spots);
    ASSERT_TRUE(b.startsWith(picture));
    const quint32 start = u32(b, b.size() - 4);
    EXPECT_EQ(start, quint32(picture.size()));
    qsizetype p = start;
    EXPECT_EQ(b.mid(p, 5), QByteArray("VLhot"));
    EXPECT_EQ(b.mid(p + 5, 5), QByteArray("wmf\0\0", 5));
    p += 10;
    EXPECT_EQ(u16(b, p), 2);
    p += 2;
    EXPECT_EQ(u16(b, p), 1);  // rectangle
    EXPECT_EQ(b.mid(p + 2, 5), QByteArray("SEM\0\0", 5));
    EXPECT_EQ(u16(b, p + 7), 2);  // text length in code page 1252
    EXPECT_EQ(b.mid(p + 9, 2), QByteArray("S\xE9"));
    p += 11;
    EXPECT_EQ(u16(b, p), 10);
    EXPECT_EQ(u16(b, p + 2), 20);
    EXPECT_EQ(u16(b, p + 4), 300);
    EXPECT_EQ(u16(b, p + 6), 40000);  // unsigned 16-bit
    p += 8;
    EXPECT_EQ(u16(b, p), 0);  // polygon
    EXPECT_EQ(u16(b, p + 7), 0);  // no text
    EXPECT_EQ(u16(b, p + 9), 3);  // point count
    p += 11 + 12;
    EXPECT_EQ(p, b.size() - 4);
}

TEST(WaveSynth, ParsesNotesRestsAndFrequencies)
{
    const ToneSpec t = parseToneSpec(QStringLiteral("bell A4/100 -/50 C5/60 880/40"), {});
    EXPECT_EQ(t.timbre, ToneSpec::Bell);
    ASSERT_EQ(t.notes.size(), 4);
    EXPECT_DOUBLE_EQ(t.notes[0].frequency, 440.0);
    EXPECT_EQ(t.notes[1].frequency, 0);
    EXPECT_NEAR(t.notes[2].frequency, 523.25, 0.01);
    EXPECT_DOUBLE_EQ(t.notes[3].frequency, 880.0);
    EXPECT_NEAR(parseToneSpec(QStringLiteral("F#4/20 Bb4/20"), {}).notes[1].frequency, 466.16, 0.01);
    for (const char *bad : {"", "soft", "organ C5/50", "C5", "C5/5", "H5/50", "C5/900 C5/900 C5/900", "20/50"})
        EXPECT_THROW(parseToneSpec(QString::fromLatin1(bad), {}), BuildError) << bad;
}

TEST(WaveSynth, WritesAPlayableRiffWave)
{
    const QByteArray w = synthesizeWave(parseToneSpec(QStringLiteral("soft C5/100 E5/100"), {}));
    ASSERT_GT(w.size(), 44);
    EXPECT_EQ(w.left(4), QByteArray("RIFF"));
    EXPECT_EQ(u32(w, 4), quint32(w.size() - 8));
    EXPECT_EQ(w.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(u16(w, 20), 1);  // PCM
    EXPECT_EQ(u16(w, 22), 1);  // mono
    EXPECT_EQ(u32(w, 24), quint32(waveSampleRate));
    EXPECT_EQ(u16(w, 34), 16);
    EXPECT_EQ(w.mid(36, 4), QByteArray("data"));
    const quint32 bytes = u32(w, 40);
    EXPECT_EQ(bytes + 44, quint32(w.size()));
    // 200 ms of notes plus the release tail.
    const double seconds = bytes / 2.0 / waveSampleRate;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 0.3);
    // Audible but never clipped, and silent at both ends (no clicks).
    int peak = 0;
    for (qsizetype i = 44; i < w.size(); i += 2)
        peak = std::max(peak, std::abs(int(qint16(u16(w, i)))));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32000);
    EXPECT_LT(std::abs(int(qint16(u16(w, 44)))), 500);
    EXPECT_LT(std::abs(int(qint16(u16(w, w.size() - 2)))), 500);
}

TEST(WaveSynth, DifferentSpecsGiveDifferentSounds)
{
    const QByteArray a = synthesizeWave(parseToneSpec(QStringLiteral("soft C5/100"), {}));
    const QByteArray b = synthesizeWave(parseToneSpec(QStringLiteral("soft G5/100"), {}));
    const QByteArray c = synthesizeWave(parseToneSpec(QStringLiteral("pluck C5/100"), {}));
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
}

TEST(SpeechSynth, ReadsPortugueseTextAsWave)
{
    const QByteArray a = vl::build::synthesizeSpeech(QStringLiteral("Parada obrigatória"));
    ASSERT_GT(a.size(), 44);
    EXPECT_EQ(a.left(4), QByteArray("RIFF"));
    EXPECT_EQ(a.mid(8, 4), QByteArray("WAVE"));
    const double seconds = u32(a, 40) / 2.0 / u32(a, 24);
    EXPECT_GT(seconds, 0.4);
    EXPECT_LT(seconds, 4.0);
    EXPECT_NE(a, vl::build::synthesizeSpeech(QStringLiteral("Dê a preferência")));
}
