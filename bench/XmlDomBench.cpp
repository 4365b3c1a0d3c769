// Loading an element with many attributes through the XML document against
// pugixml parsing the same bytes alone (the parser the document is built on).
// Linear loading keeps the time per attribute flat from 4,000 to 40,000
// attributes: "x4000" is the time against the 4,000-attribute run of the same
// benchmark (10 when linear), "xPugixml" against pugixml at the same size.
#include "BenchPaired.h"
#include "platform/runtime/XmlDom.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <utility>

namespace {

QByteArray SettingsWithAttributes(int count)
{
    QByteArray xml = "<Conf_Settings><lastproj><projectname";
    for (int i = 0; i < count; ++i)
        xml += " a" + QByteArray::number(i) + "=\"value " + QByteArray::number(i) + "\"";
    return xml + ">P1</projectname></lastproj></Conf_Settings>";
}

// Seconds per iteration of each finished run, by benchmark and size.
std::map<std::pair<std::string, int64_t>, double>& Timings()
{
    static std::map<std::pair<std::string, int64_t>, double> timings;
    return timings;
}

template <typename Load> void Run(benchmark::State& state, const std::string& name, Load load)
{
    const benchpaired::KeepFreedHeap keep;
    const QByteArray data = SettingsWithAttributes(int(state.range(0)));
    const auto start = std::chrono::steady_clock::now();
    bool loaded = true;
    for (auto _ : state)
        loaded = load(data) && loaded;
    if (!loaded)
        state.SkipWithError("the bytes did not load");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double perIteration = seconds / double(std::max<benchmark::IterationCount>(1, state.iterations()));
    Timings()[{ name, state.range(0) }] = perIteration;
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * data.size());
    const auto base = Timings().find({ name, 4000 });
    if (state.range(0) != 4000 && base != Timings().end())
        state.counters["x4000"] = perIteration / base->second;
    const auto peer = Timings().find({ "pugixml", state.range(0) });
    if (name != "pugixml" && peer != Timings().end())
        state.counters["xPugixml"] = perIteration / peer->second;
}

void BM_PugixmlParse(benchmark::State& state)
{
    // The options the document parses with.
    constexpr unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi
        | pugi::parse_doctype | pugi::parse_ws_pcdata_single | pugi::parse_fragment;
    pugi::xml_document doc;
    Run(state, "pugixml", [&](const QByteArray& data) {
        return bool(doc.load_buffer(data.constData(), size_t(data.size()), options, pugi::encoding_utf8));
    });
}

void BM_TXmlDocumentLoad(benchmark::State& state)
{
    TXmlDocument doc;
    Run(state, "TXmlDocument", [&](const QByteArray& data) { return doc.LoadFromBytes(data); });
}

} // namespace

BENCHMARK(BM_PugixmlParse)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TXmlDocumentLoad)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);
