// libFuzzer target for the note reader on arbitrary sample bytes. The request's times, ring and
// gain come from the input too, NaN and infinities included. Besides sanitizer reports it checks
// that copies never overlap: no mix value exceeds one faded sample at the request's gain.
#include "sound/NoteReader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr double FullScale = 32768.0;

double anyDouble(FuzzedDataProvider &input)
{
    const auto bits = input.ConsumeIntegral<uint64_t>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Outside the sanitizers and coverage, and calling nothing (which would be instrumented), so that
// it vectorises: it runs over the whole mix on every input. NaN counts as beyond.
__attribute__((no_sanitize("address", "undefined", "coverage"))) int
countBeyond(const double *mix, int count, double bound)
{
    int beyond = 0;
    for (int i = 0; i < count; ++i)
        beyond += !(__builtin_fabs(mix[i]) <= bound);
    return beyond;
}

NoteRequest requestFrom(FuzzedDataProvider &input)
{
    NoteRequest request;
    request.copyCount = input.ConsumeIntegralInRange(-1, NoteRequest::MaxCopies + 1);
    for (double &start : request.startTimes)
        start =
            input.ConsumeBool() ? anyDouble(input) : input.ConsumeFloatingPointInRange(0.0, 9.0);
    request.ringFraction =
        input.ConsumeBool() ? anyDouble(input) : input.ConsumeFloatingPointInRange(0.0, 2.0);
    request.gain = input.ConsumeFloatingPointInRange(-4.0, 4.0);
    return request;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::vector<double> mix(NoteBank::BufferSize);
    FuzzedDataProvider input(data, size);
    const NoteRequest request = requestFrom(input);
    // An exact copy on the heap, so that a read past the sample's end is reported.
    const std::vector<uint8_t> sample = input.ConsumeRemainingBytes<uint8_t>();
    std::memset(mix.data(), 0, mix.size() * sizeof(double));

    const int end = mixNote(request, sample.data(), qint64(sample.size()), mix.data());
    const double bound = FullScale * std::fabs(request.gain);
    const int beyond = countBeyond(mix.data(), NoteBank::BufferSize, bound);
    if (beyond > 0) {
        std::fprintf(stderr, "%d mix values beyond %g (end %d)\n", beyond, bound, end);
        std::abort();
    }
    if (end < -1 || (end == -1 && sample.size() >= 44)) {
        std::fprintf(stderr, "end %d for %zu bytes\n", end, sample.size());
        std::abort();
    }
    return 0;
}
