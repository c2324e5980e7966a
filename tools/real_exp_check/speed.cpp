#include "real/portable.h"
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>
#include <string>
#include <algorithm>
namespace P = zu::real::portable;
static std::vector<double> xs, ys;
template <class F> double run(F f) {
    double best = 1e30;
    for (int rep = 0; rep < 15; ++rep) {
        auto t0 = std::chrono::steady_clock::now();
        double acc = 0;
        for (size_t i = 0; i < xs.size(); ++i) acc += f(xs[i], ys[i]);
        auto t1 = std::chrono::steady_clock::now();
        volatile double sink = acc; (void)sink;
        best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / xs.size());
    }
    return best;
}
int main(int argc, char** argv) {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(0, 1);
    const int n = 4096;
    auto fill = [&](double a, double b, double c, double d) { xs.resize(n); ys.resize(n); for (int i = 0; i < n; ++i) { xs[i] = a + (b - a) * u(rng); ys[i] = c + (d - c) * u(rng);} };
    fill(-700, 700, 0, 0);
    double g = run([](double x, double) { return std::exp(x); }), o = run([](double x, double) { return P::exp(x); });
    printf("exp   glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
    fill(1e-3, 1e6, 0, 0);
    g = run([](double x, double) { return std::log(x); }); o = run([](double x, double) { return P::log(x); });
    printf("log   glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
    fill(0.01, 100, -20, 20);
    g = run([](double x, double y) { return std::pow(x, y); }); o = run([](double x, double y) { return P::pow(x, y); });
    printf("pow   glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
    fill(-20, 20, 0, 0);
    g = run([](double x, double) { return std::cosh(x); }); o = run([](double x, double) { return P::cosh(x); });
    printf("cosh  glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
    g = run([](double x, double) { return std::sinh(x); }); o = run([](double x, double) { return P::sinh(x); });
    printf("sinh  glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
    fill(-1, 1, 0, 0);
    g = run([](double x, double) { return std::sinh(x); }); o = run([](double x, double) { return P::sinh(x); });
    printf("sinh1 glibc %.2f ns  ours %.2f ns  ratio %.2f\n", g, o, o / g);
}
