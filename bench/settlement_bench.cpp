#include "CalcSettlement.h"
#include "LargeLossNotice.h"
#include "TextToInt.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

void BM_TextToInt(benchmark::State &state)
{
    const std::string text = "  -2147483648";
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToInt(text));
}
BENCHMARK(BM_TextToInt);

// Seven field texts held in an array, as a window would hold them.
class ArrayFields : public SettlementFields
{
public:
    std::array<std::string, 7> inputs = {"45000", "35000", "15000", "5000", "300", "500", "1000"};
    std::array<std::string, 2> outputs;

    std::string ReadText(InputField field) override
    {
        return inputs[static_cast<std::size_t>(field)];
    }
    void WriteText(OutputField field, const std::string &text) override
    {
        outputs[static_cast<std::size_t>(field)] = text;
    }
};

void BM_CalcSettlement(benchmark::State &state)
{
    ArrayFields fields;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CalcSettlement(fields));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalcSettlement);

void BM_ComposeLargeLossNotice(benchmark::State &state)
{
    const Zeny payment = state.range(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeLargeLossNotice(payment));
}
BENCHMARK(BM_ComposeLargeLossNotice)->Arg(4284967)->Arg(123456);

} // namespace

BENCHMARK_MAIN();
