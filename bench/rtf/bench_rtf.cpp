// Reading a 1 MB RTF topic text into a QTextDocument, and writing it back.
#include "common/rtf_reader.h"
#include "common/rtf_writer.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// Paragraphs as an editor writes them: formatting changes, escapes, Unicode, hidden text, links.
QByteArray generatedRtf(qsizetype size) {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1046{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fcharset0 Times New Roman;}}{\\colortbl ;\\red0\\green0\\blue255;\\red192\\green0\\blue0;}"
      "{\\*\\generator Bench;}\\viewkind4\\uc1\r\n";
  int n = 0;
  while (rtf.size() < size) {
    ++n;
    rtf += "\\pard\\sa120\\qj\\li" + QByteArray::number(n % 3 * 360) + "\\f0\\fs20 ";
    rtf += "{\\b Art. " + QByteArray::number(n) + ".} O condutor dever\\'e1 guardar dist\\'e2ncia de seguran\\'e7a "
           "lateral e frontal entre o seu e os demais ve\\'edculos, considerando-se, no momento, a velocidade "
           "e as condi\\'e7\\'f5es do local, da circula\\'e7\\'e3o, do ve\\'edculo e as condi\\'e7\\'f5es "
           "clim\\'e1ticas. {\\i Veja tamb\\'e9m} {\\v \\'ab" + QByteArray::number(n % 50) + "\\'bb}"
           "{\\field{\\*\\fldinst HYPERLINK \"vl:" + QByteArray::number(n % 50) + "\"}{\\fldrslt{\\ul\\cf1 "
           "~\\'ab2CONT0001\\'bb}}} e a \\cf2 multa\\cf0  de R$ 195,23 \\u8364? \\ldblquote grave\\rdblquote.\\par\r\n";
  }
  rtf += "}";
  return rtf;
}

void ensureApplication() {
  if (QCoreApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "bench_rtf";
  static char *argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

void ReadRtf1MB(benchmark::State &state) {
  ensureApplication();
  const QByteArray rtf = generatedRtf(1 << 20);
  for (auto _ : state) {
    QTextDocument document;
    vl::readRtf(rtf, &document);
    benchmark::DoNotOptimize(document.characterCount());
  }
  state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadRtf1MB)->Unit(benchmark::kMillisecond);

void WriteRtf1MB(benchmark::State &state) {
  ensureApplication();
  QTextDocument document;
  vl::readRtf(generatedRtf(1 << 20), &document);
  for (auto _ : state) benchmark::DoNotOptimize(vl::writeRtf(document).size());
}
BENCHMARK(WriteRtf1MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
