// zu_array_bench: the array functions against what a program would do
// without them. Three kinds of benchmark, each timing two columns on the same
// buffers in alternating order within every iteration, so that their ratio,
// taken within the iteration, is unaffected by the drift of a shared
// machine's speed:
//
//   cache/<op>    n = 1024: "base" is a plain loop calling the scalar exported
//                 function per element, "array" the array function; counter
//                 ratio = base / array (the speed-up).
//   cache_floor/<op>  n = 1024: "base" is the load-load-store loop below
//                 (as for memory/<op>) on the in-cache buffers; counter
//                 ratio = array / base.
//   memory/<op>   n = 2^24 (256 MiB per array): "base" is a plain loop that
//                 loads the same operand bytes and stores the same result
//                 bytes (the bandwidth floor), "array" the array function,
//                 taking turns chunk by chunk (run_memory); counter
//                 ratio = array / base.
//   special/<op>  n = 1024: "base" is the array function on ordinary
//                 operands, "array" the same with one element in eight having
//                 a zero, infinite or NaN part; counter ratio = array / base.
//
// Counters are medians over the iterations of one repetition, in ns per
// element; bench/array_report.py runs repetitions and prints the table of
// docs/PERFORMANCE.md. ZU_COMPLEX_ARRAY_TARGET picks the kernels as usual.
#include "zu_complex.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kCacheN = 1024;
constexpr std::size_t kMemoryN = std::size_t{1} << 24;
constexpr std::size_t kCachePasses = 32;  // passes per timing in cache: tens of microseconds

struct Buffers {
    std::vector<double> a, b, r;  // interleaved pairs; r has room for pairs
};

// Ordinary operands: parts of moderate size, none zero. With `special`, one
// element in eight (at random positions) gets a zero, infinite or NaN part
// in a or in b.
Buffers make_buffers(std::size_t n, bool special, std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> part(0.25, 4.0);
    std::bernoulli_distribution negative(0.5);
    Buffers buf{std::vector<double>(2 * n), std::vector<double>(2 * n), std::vector<double>(2 * n, 1.0)};
    for (double* v : {buf.a.data(), buf.b.data()}) {
        for (std::size_t i = 0; i < 2 * n; ++i) v[i] = negative(g) ? -part(g) : part(g);
    }
    if (special) {
        const double values[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
        std::uniform_int_distribution<std::size_t> pick(0, 4 * 5 - 1);
        for (std::size_t k = 0; k < n; ++k) {
            if (g() % 8 != 0 || k == 0) continue;  // element 0 holds the factor of scale
            const std::size_t choice = pick(g);  // operand, part and value
            std::vector<double>& v = choice % 2 == 0 ? buf.a : buf.b;
            v[2 * k + (choice / 2) % 2] = values[choice / 4];
        }
    }
    return buf;
}

// f(buffers, first, n): elements first to first + n - 1.
using Fn = void (*)(Buffers&, std::size_t first, std::size_t n);

struct Operation {
    const char* name;
    Fn array;
    Fn loop;             // the scalar exported function, element by element
    std::size_t out;     // doubles per result element
    bool binary;         // reads b as an array
};

DComplex* as_complex(std::vector<double>& v) { return reinterpret_cast<DComplex*>(v.data()); }

// Loads and stores through 64-bit integers, so nothing but the memory
// traffic of the array function is left: both operand arrays (or one) read,
// the result written.
void floor_binary(Buffers& buf, std::size_t f, std::size_t n) {
    const std::uint64_t* __restrict a = reinterpret_cast<const std::uint64_t*>(buf.a.data() + 2 * f);
    const std::uint64_t* __restrict b = reinterpret_cast<const std::uint64_t*>(buf.b.data() + 2 * f);
    std::uint64_t* __restrict r = reinterpret_cast<std::uint64_t*>(buf.r.data() + 2 * f);
    for (std::size_t i = 0; i < 2 * n; ++i) r[i] = a[i] | b[i];
}
void floor_unary(Buffers& buf, std::size_t f, std::size_t n) {
    const std::uint64_t* __restrict a = reinterpret_cast<const std::uint64_t*>(buf.a.data() + 2 * f);
    std::uint64_t* __restrict r = reinterpret_cast<std::uint64_t*>(buf.r.data() + 2 * f);
    for (std::size_t i = 0; i < 2 * n; ++i) r[i] = a[i];
}
void floor_modulus(Buffers& buf, std::size_t f, std::size_t n) {
    const std::uint64_t* __restrict a = reinterpret_cast<const std::uint64_t*>(buf.a.data() + 2 * f);
    std::uint64_t* __restrict r = reinterpret_cast<std::uint64_t*>(buf.r.data() + f);
    for (std::size_t i = 0; i < n; ++i) r[i] = a[2 * i] | a[2 * i + 1];
}

using CArray2 = void (*)(double*, const double*, const double*, std::size_t);
using CArray1 = void (*)(double*, const double*, std::size_t);
using Op2 = DComplex (*)(const DComplex&, const DComplex&);
using Op1 = DComplex (*)(const DComplex&);
using Real1 = double (*)(const DComplex&);

// The array function on elements f to f + n - 1 (kOut doubles per result).
template <CArray2 fn>
void array2(Buffers& x, std::size_t f, std::size_t n) {
    fn(x.r.data() + 2 * f, x.a.data() + 2 * f, x.b.data() + 2 * f, n);
}
template <CArray1 fn, std::size_t kOut>
void array1(Buffers& x, std::size_t f, std::size_t n) {
    fn(x.r.data() + kOut * f, x.a.data() + 2 * f, n);
}

// The loop of scalar calls on the same elements, as DComplex values.
template <Op2 op>
void loop2(Buffers& x, std::size_t f, std::size_t n) {
    DComplex *r = as_complex(x.r) + f, *a = as_complex(x.a) + f, *b = as_complex(x.b) + f;
    for (std::size_t k = 0; k < n; ++k) r[k] = op(a[k], b[k]);
}
void loop_scale(Buffers& x, std::size_t f, std::size_t n) {
    DComplex *r = as_complex(x.r) + f, *a = as_complex(x.a) + f;
    const DComplex s = as_complex(x.b)[f];
    for (std::size_t k = 0; k < n; ++k) r[k] = a[k] * s;
}
template <Op1 op>
void loop1(Buffers& x, std::size_t f, std::size_t n) {
    DComplex *r = as_complex(x.r) + f, *a = as_complex(x.a) + f;
    for (std::size_t k = 0; k < n; ++k) r[k] = op(a[k]);
}
template <Real1 op>
void loop_real(Buffers& x, std::size_t f, std::size_t n) {
    const DComplex* a = as_complex(x.a) + f;
    for (std::size_t k = 0; k < n; ++k) x.r[f + k] = op(a[k]);
}

const Operation kOperations[] = {
    {"mul", array2<Vel_ComplexMultiplyArray>, loop2<operator*>, 2, true},
    {"div", array2<Vel_ComplexDivideArray>, loop2<operator/>, 2, true},
    {"add", array2<Vel_ComplexAddArray>, loop2<static_cast<Op2>(operator+)>, 2, true},
    {"sub", array2<Vel_ComplexSubtractArray>, loop2<static_cast<Op2>(operator-)>, 2, true},
    {"scale", array2<Vel_ComplexScaleArray>, loop_scale, 2, false},
    {"conj", array1<Vel_ComplexConjArray, 2>, loop1<conj>, 2, false},
    {"abs", array1<Vel_ComplexAbsArray, 1>, loop_real<abs>, 1, false},
    {"norm", array1<Vel_ComplexNormArray, 1>, loop_real<norm>, 1, false},
};

Fn floor_of(const Operation& op) {
    if (op.out == 1) return floor_modulus;
    return op.binary ? floor_binary : floor_unary;
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Times `base` and `array` once per iteration each, in alternating order,
// each `passes` times over n elements of its buffers.
void run_pair(benchmark::State& state, Fn base, Buffers& base_buf, Fn array, Buffers& array_buf, std::size_t n,
              std::size_t passes, bool base_over_array) {
    std::vector<double> base_ns, array_ns, ratio;
    auto time = [&](Fn f, Buffers& buf) {
        const auto t0 = std::chrono::steady_clock::now();
        for (std::size_t p = 0; p < passes; ++p) {
            f(buf, 0, n);
            benchmark::ClobberMemory();
        }
        const auto t1 = std::chrono::steady_clock::now();
        return std::chrono::duration<double, std::nano>(t1 - t0).count() / double(passes * n);
    };
    bool array_first = false;
    for (auto _ : state) {
        double t_base, t_array;
        if (array_first) {
            t_array = time(array, array_buf);
            t_base = time(base, base_buf);
        } else {
            t_base = time(base, base_buf);
            t_array = time(array, array_buf);
        }
        array_first = !array_first;
        base_ns.push_back(t_base);
        array_ns.push_back(t_array);
        ratio.push_back(base_over_array ? t_base / t_array : t_array / t_base);
    }
    state.counters["base_ns"] = median(base_ns);
    state.counters["array_ns"] = median(array_ns);
    state.counters["ratio"] = median(ratio);
    state.SetLabel(Vel_ComplexArrayTarget());
}

// From memory: the columns take turns chunk by chunk over the big buffers,
// the floor on the even chunks and the array function on the odd ones (the
// other way round in the next iteration), so both meet the same conditions
// of a shared memory bus, to within a fraction of a millisecond, and neither
// finds the other's data in a cache. The ratio of an iteration is the median
// of the ratios of neighbouring chunks.
void run_memory(benchmark::State& state, Fn floor, Fn array, Buffers& buf) {
    constexpr std::size_t kChunk = std::size_t{1} << 15;  // 512 KiB of each operand
    std::vector<double> floor_ns, array_ns, ratio;
    std::size_t parity = 0;
    auto time = [&](Fn f, std::size_t first) {
        const auto t0 = std::chrono::steady_clock::now();
        f(buf, first, kChunk);
        benchmark::ClobberMemory();
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
    };
    for (auto _ : state) {
        double t_floor = 0, t_array = 0;
        std::vector<double> pair_ratio;
        for (std::size_t c = 0; c + 1 < kMemoryN / kChunk; c += 2) {
            const std::size_t floor_at = (c + parity) * kChunk, array_at = (c + 1 - parity) * kChunk;
            double f, a;
            if (parity == 0) {
                f = time(floor, floor_at);
                a = time(array, array_at);
            } else {
                a = time(array, array_at);
                f = time(floor, floor_at);
            }
            t_floor += f;
            t_array += a;
            pair_ratio.push_back(a / f);
        }
        parity ^= 1;
        floor_ns.push_back(t_floor / double(kMemoryN / 2));
        array_ns.push_back(t_array / double(kMemoryN / 2));
        // The median over the neighbouring pairs: a burst of another
        // program's memory traffic spoils a few pairs, not the iteration.
        ratio.push_back(median(pair_ratio));
    }
    state.counters["base_ns"] = median(floor_ns);
    state.counters["array_ns"] = median(array_ns);
    state.counters["ratio"] = median(ratio);
    state.SetLabel(Vel_ComplexArrayTarget());
}

void register_all() {
    static Buffers cache = make_buffers(kCacheN, false, 1);
    static Buffers special = make_buffers(kCacheN, true, 2);
    for (const Operation& op : kOperations) {
        benchmark::RegisterBenchmark((std::string("cache/") + op.name).c_str(), [&op](benchmark::State& s) {
            run_pair(s, op.loop, cache, op.array, cache, kCacheN, kCachePasses, true);
        });
    }
    for (const Operation& op : kOperations) {
        benchmark::RegisterBenchmark((std::string("cache_floor/") + op.name).c_str(), [&op](benchmark::State& s) {
            run_pair(s, floor_of(op), cache, op.array, cache, kCacheN, kCachePasses, false);
        });
    }
    for (const Operation& op : kOperations) {
        benchmark::RegisterBenchmark((std::string("memory/") + op.name).c_str(), [&op](benchmark::State& s) {
            static Buffers memory = make_buffers(kMemoryN, false, 3);  // made on first use, shared
            run_memory(s, floor_of(op), op.array, memory);
        })->Iterations(15);
    }
    for (const Operation& op : kOperations) {
        benchmark::RegisterBenchmark((std::string("special/") + op.name).c_str(), [&op](benchmark::State& s) {
            run_pair(s, op.array, cache, op.array, special, kCacheN, kCachePasses, false);
        });
    }
}

}  // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::AddCustomContext("array kernels", Vel_ComplexArrayTarget());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
