// Error maps: for a one-operand function, the larger of the two parts'
// errors in ulps at every point of a square grid, for the library and for
// std::complex, as gnuplot data.
#include "report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace acc {

namespace {

// What a map shows at one point: log10 of the larger part error in ulps,
// clamped to [-1, 16]; a non-finite result where MPC's value is finite (or
// the other way round) is plotted as kNonFinite, above the colour range of
// the errors.
constexpr double kNonFinite = 17.0;

double map_value(const Score& s, bool real_result) {
    double worst = 0.0;
    for (int p = 0; p < (real_result ? 1 : 2); ++p) {
        switch (s.part[p].outcome) {
        case Outcome::scored:
            worst = std::max(worst, s.part[p].ulps);
            break;
        case Outcome::agree:
            break;
        case Outcome::lib_nonfinite:
        case Outcome::ref_nonfinite:
            return kNonFinite;
        }
    }
    return std::min(16.0, std::max(-1.0, std::log10(std::max(worst, 0.1))));
}

std::string file_name(const std::string& function) {
    std::string s;
    for (char c : function) s += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return s;
}

}  // namespace

int run_maps(const std::vector<Function>& catalogue, const Options& opt) {
    for (const std::string& name : opt.map_functions) {
        const Function* f = find_function(catalogue, name);
        const std::string path = opt.maps_dir + "/map_" + file_name(name) + ".dat";
        std::FILE* out = std::fopen(path.c_str(), "w");
        if (!out) {
            std::fprintf(stderr, "zu_accuracy: cannot write %s\n", path.c_str());
            return 1;
        }
        std::fprintf(stderr, "zu_accuracy: map of %s, %d x %d\n", name.c_str(), opt.grid, opt.grid);
        std::fprintf(out, "# %s: x y log10(ulps) for the library, then for std::complex; %g = non-finite\n",
                     name.c_str(), kNonFinite);
        Reference ref;
        Scorer scorer;
        long counts[2][3] = {{0, 0, 0}, {0, 0, 0}};  // <= 1 ulp, <= 2^20 ulps (as log10 <= 6.02), worse
        // Cell centres: the grid never lands exactly on an axis.
        const double step = 2.0 * opt.span / opt.grid;
        for (int j = 0; j < opt.grid; ++j) {
            const double y = -opt.span + (j + 0.5) * step;
            for (int i = 0; i < opt.grid; ++i) {
                const double x = -opt.span + (i + 0.5) * step;
                Sample s;
                s.a = x;
                s.b = y;
                ref.compute(*f, s);
                const DComplex z = f->zu(s);
                const std::complex<double> c = f->peer(s);
                const double v[2] = {map_value(scorer.score(ref, z.re, z.im, false), false),
                                     map_value(scorer.score(ref, c.real(), c.imag(), false), false)};
                for (int k = 0; k < 2; ++k) ++counts[k][v[k] <= 0.0 ? 0 : v[k] <= 6.02 ? 1 : 2];
                std::fprintf(out, "%.6g %.6g %.3f %.3f\n", x, y, v[0], v[1]);
            }
            std::fputc('\n', out);
        }
        std::fclose(out);
        const double total = static_cast<double>(opt.grid) * opt.grid;
        std::fprintf(stderr, "zu_accuracy:   zu  <=1 ulp %.1f%%, <=2^20 %.1f%%, worse %.1f%%\n",
                     100 * counts[0][0] / total, 100 * counts[0][1] / total, 100 * counts[0][2] / total);
        std::fprintf(stderr, "zu_accuracy:   std <=1 ulp %.1f%%, <=2^20 %.1f%%, worse %.1f%%\n",
                     100 * counts[1][0] / total, 100 * counts[1][1] / total, 100 * counts[1][2] / total);
    }
    return 0;
}

}  // namespace acc
