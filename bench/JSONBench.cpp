// Parsing a 1,000-unit list text and rendering a 1,000-light list, with
// JSONItem and with nlohmann::json on the same texts. The heap is set up as
// the program sets it up, for both.

#include "HeapTuning.h"
#include "JSONItem.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace {

constexpr int UnitCount = 1000;
const char* const ModelId = "VEZEZERIZ001";
const char* const SoftwareVersion = "00000001";
const char* const LightType = "Dimmable light";
const char* const Alert = "none";

std::string unitName(int unit)
{
    return "Living Room/Lamp " + std::to_string(unit);
}

// The text the unit list script returns: one record per unit.
const std::string& unitListText()
{
    static const std::string text = [] {
        std::string result = "[";
        for (int unit = 0; unit < UnitCount; ++unit) {
            if (unit > 0)
                result += ",";
            result += R"({"name":")" + unitName(unit) + R"(","ID":")" + std::to_string(10000 + unit)
                + R"(","dimmable":"true","value":"60"})";
        }
        return result + "]";
    }();
    return text;
}

JSONItem buildLightList()
{
    JSONItem list;
    for (int unit = 0; unit < UnitCount; ++unit) {
        auto state = std::make_shared<JSONItem>();
        state->Value("on", JSONValue(true));
        state->Value("bri", JSONValue(std::int64_t(153)));
        state->Value("reachable", JSONValue(true));
        state->Value("alert", JSONValue(Alert));
        auto light = std::make_shared<JSONItem>();
        light->Value("name", JSONValue(unitName(unit)));
        light->Value("modelid", JSONValue(ModelId));
        light->Value("swversion", JSONValue(SoftwareVersion));
        light->Value("type", JSONValue(LightType));
        light->Value("state", JSONValue(std::move(state)));
        list.Value(std::to_string(unit), JSONValue(std::move(light)));
    }
    return list;
}

nlohmann::json buildNlohmannLightList()
{
    nlohmann::json list = nlohmann::json::object();
    for (int unit = 0; unit < UnitCount; ++unit) {
        nlohmann::json light = {
            {"name", unitName(unit)},
            {"modelid", ModelId},
            {"swversion", SoftwareVersion},
            {"type", LightType},
            {"state", {{"on", true}, {"bri", std::int64_t(153)}, {"reachable", true}, {"alert", Alert}}},
        };
        list[std::to_string(unit)] = std::move(light);
    }
    return list;
}

void ParseUnitList_JSONItem(benchmark::State& state)
{
    const std::string& text = unitListText();
    for (auto _ : state) {
        JSONItem units(text);
        benchmark::DoNotOptimize(units.Count());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void ParseUnitList_nlohmann(benchmark::State& state)
{
    const std::string& text = unitListText();
    for (auto _ : state) {
        nlohmann::json units = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(units.size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void RenderLightList_JSONItem(benchmark::State& state)
{
    const JSONItem list = buildLightList();
    for (auto _ : state) {
        std::string text = list.ToString();
        benchmark::DoNotOptimize(text.data());
    }
}

void RenderLightList_nlohmann(benchmark::State& state)
{
    const nlohmann::json list = buildNlohmannLightList();
    for (auto _ : state) {
        std::string text = list.dump();
        benchmark::DoNotOptimize(text.data());
    }
}

void BuildLightList_JSONItem(benchmark::State& state)
{
    for (auto _ : state) {
        JSONItem list = buildLightList();
        benchmark::DoNotOptimize(list.Count());
    }
}

void BuildLightList_nlohmann(benchmark::State& state)
{
    for (auto _ : state) {
        nlohmann::json list = buildNlohmannLightList();
        benchmark::DoNotOptimize(list.size());
    }
}

} // namespace

BENCHMARK(ParseUnitList_JSONItem);
BENCHMARK(ParseUnitList_nlohmann);
BENCHMARK(RenderLightList_JSONItem);
BENCHMARK(RenderLightList_nlohmann);
BENCHMARK(BuildLightList_JSONItem);
BENCHMARK(BuildLightList_nlohmann);

int main(int argc, char** argv)
{
    HeapTuning::keepFreedMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
