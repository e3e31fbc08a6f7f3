// SPDX-License-Identifier: MIT
// Reading the label contents a server sends: every label kept once, in order. The cost must
// grow with the length of the list, not its square: the time per label of our reader at
// 1,000, 10,000 and 65,536 labels stays a fixed multiple of the peer's, QXmlStreamReader
// taking the same attributes without keeping them. Medians over repetitions.

#include "transmit/server_content.h"

#include "bench_support.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

using namespace orin;

namespace {

// `count` different Text labels, then each said once more.
QByteArray Labels(int count)
{
    QByteArray xml("<LabelContents>");
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < count; ++i)
            xml += "<Text label=\"見出し" + QByteArray::number(i) + "\"/>";
    }
    xml += "</LabelContents>";
    return xml;
}

void Ours(benchmark::State &state)
{
    const QByteArray xml = Labels(int(state.range(0)));
    for (auto _ : state) {
        CLabelContents contents;
        QString error;
        if (!ParseLabelContents(xml, &contents, &error))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(contents.texts.size());
    }
    state.counters["per_label_ns"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate
                                    | benchmark::Counter::kInvert);
}

// The peer: a plain pass of the same reader over the same text.
void Peer(benchmark::State &state)
{
    const QByteArray xml = Labels(int(state.range(0)));
    for (auto _ : state) {
        QXmlStreamReader reader(QString::fromUtf8(xml));
        qsizetype total = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement)
                total += reader.attributes().value(QLatin1String("label")).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["per_label_ns"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate
                                    | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(Ours)->Arg(1000)->Arg(10000)->Arg(65536)->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);
BENCHMARK(Peer)->Arg(1000)->Arg(10000)->Arg(65536)->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    // 5 repetitions unless --benchmark_repetitions asks for another number.
    orin::bench::InitializeBenchmarks(argc, argv, 5);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
