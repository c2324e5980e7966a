// Sampling every function over its regions and writing the tables.
#include "report.h"

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

namespace acc {

std::string fmt_ulps(double u) {
    if (u < 0.0) return "–";
    if (u >= DBL_MAX) return ">1e308";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", u);
    return buf;
}

std::string fmt_rel(double r) {
    if (r < 0.0) return "–";
    if (std::isinf(r)) return "inf";
    if (r == 0.0) return "0";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1e", r);
    return buf;
}

// The shortest decimal text that reads back as the same double.
std::string shortest(double v) {
    char buf[40];
    for (int p = 1; p <= 17; ++p) {
        std::snprintf(buf, sizeof buf, "%.*g", p, v);
        if (std::strtod(buf, nullptr) == v || std::isnan(v)) break;
    }
    std::string s = buf;
    if (v == std::floor(v) && std::fabs(v) < 1e6 && s.find('e') != std::string::npos) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
        s = buf;
    }
    if (v == 0.0 && std::signbit(v)) s = "-0";
    return s;
}

namespace {

// The seed of one function and region: FNV-1a of the two names, so a
// region's samples do not depend on which other regions are measured.
std::uint64_t seed_of(const std::string& function, const std::string& region) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const std::string* s : {&function, &region}) {
        for (unsigned char c : *s) {
            h ^= c;
            h *= 0x100000001b3ULL;
        }
        h ^= 0xff;
        h *= 0x100000001b3ULL;
    }
    return h;
}

struct PartStats {
    std::vector<double> ulps;
    double max = -1.0;
    Sample worst;
    double worst_value = 0.0;
    double worst_ref = 0.0;
    long lib_nonfinite = 0;
    long ref_nonfinite = 0;

    double median() {
        if (ulps.empty()) return -1.0;
        const std::size_t mid = ulps.size() / 2;
        std::nth_element(ulps.begin(), ulps.begin() + static_cast<long>(mid), ulps.end());
        return ulps[mid];
    }
};

struct SideStats {
    PartStats part[2];
    double rel_max = -1.0;
    Sample rel_worst;
    long reports = 0;  // samples whose call made at least one report
};

struct RegionResult {
    const Function* f;
    const Region* region;
    long n;
    SideStats side[2];  // 0: the library, 1: std::complex
    double median[2][2];
};

void add(SideStats& st, const Score& sc, const Sample& s, const Reference& ref, const double value[2],
         bool real_result) {
    for (int p = 0; p < (real_result ? 1 : 2); ++p) {
        PartStats& ps = st.part[p];
        switch (sc.part[p].outcome) {
        case Outcome::scored:
            ps.ulps.push_back(sc.part[p].ulps);
            if (sc.part[p].ulps > ps.max) {
                ps.max = sc.part[p].ulps;
                ps.worst = s;
                ps.worst_value = value[p];
                ps.worst_ref = ref.rounded(p);
            }
            break;
        case Outcome::agree:
            break;
        case Outcome::lib_nonfinite:
            ++ps.lib_nonfinite;
            break;
        case Outcome::ref_nonfinite:
            ++ps.ref_nonfinite;
            break;
        }
    }
    if (sc.rel_scored && sc.rel > st.rel_max) {
        st.rel_max = sc.rel;
        st.rel_worst = s;
    }
}

RegionResult measure(const Function& f, const Region& region, long samples) {
    RegionResult r;
    r.f = &f;
    r.region = &region;
    r.n = samples;
    Rng rng(seed_of(f.name, region.name));
    Reference ref;
    Scorer scorer;
    for (long i = 0; i < samples; ++i) {
        const Sample s = region.draw(rng);
        ref.compute(f, s);

        reset_reports();
        const DComplex z = f.zu(s);
        if (reports_made() > 0) ++r.side[0].reports;
        const double zv[2] = {z.re, z.im};
        add(r.side[0], scorer.score(ref, z.re, z.im, f.real_result), s, ref, zv, f.real_result);

        const std::complex<double> c = f.peer(s);
        const double cv[2] = {c.real(), c.imag()};
        add(r.side[1], scorer.score(ref, c.real(), c.imag(), f.real_result), s, ref, cv, f.real_result);
    }
    for (int side = 0; side < 2; ++side)
        for (int p = 0; p < 2; ++p) r.median[side][p] = r.side[side].part[p].median();
    return r;
}

std::string pair_cell(const std::string& re, const std::string& im, bool real_result) {
    return real_result ? re : re + " / " + im;
}

std::string nonfinite_cell(const SideStats& st, bool real_result) {
    const long a = st.part[0].lib_nonfinite + (real_result ? 0 : st.part[1].lib_nonfinite);
    const long b = st.part[0].ref_nonfinite + (real_result ? 0 : st.part[1].ref_nonfinite);
    if (a == 0 && b == 0) return "–";
    return std::to_string(a) + " / " + std::to_string(b);
}

// Text for a Markdown table cell: a '|' would end the cell.
std::string cell(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

std::string csv_quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int run_tables(const std::vector<Function>& catalogue, const Options& opt) {
    std::vector<RegionResult> results;
    for (const Function& f : catalogue) {
        if (!opt.only.empty() && std::find(opt.only.begin(), opt.only.end(), f.name) == opt.only.end()) continue;
        for (const Region& r : f.regions) {
            const auto t0 = std::chrono::steady_clock::now();
            results.push_back(measure(f, r, opt.samples));
            const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::fprintf(stderr, "zu_accuracy: %-12s %-34s %6.2f s\n", f.name.c_str(), r.name.c_str(), secs);
        }
    }

    if (!opt.table_file.empty()) {
        std::ofstream file;
        if (opt.table_file != "-") {
            file.open(opt.table_file);
            if (!file) {
                std::fprintf(stderr, "zu_accuracy: cannot write %s\n", opt.table_file.c_str());
                return 1;
            }
        }
        std::ostream& out = opt.table_file == "-" ? std::cout : file;

        out << "Errors in ulps of the correctly rounded double, per part (re / im). \"rel\" is the normwise\n"
               "relative error |z - exact| / |exact| (0 for a result equal to the correctly rounded value).\n"
               "\"non-finite\" counts the parts where the result is NaN or infinite and differs from MPC's\n"
               "rounded value (first number), and the parts where MPC's value overflows and the result is\n"
               "finite (second number); those parts are not in the ulps columns. \"reports\" counts the\n"
               "samples whose call made an overflow or singularity report. Samples per region: "
            << opt.samples << ".\n";

        const Function* current = nullptr;
        for (RegionResult& r : results) {
            const bool rr = r.f->real_result;
            if (r.f != current) {
                current = r.f;
                out << "\n### " << r.f->name << "\n\n";
                for (const Region& reg : r.f->regions) out << "- *" << reg.name << "*: " << reg.what << "\n";
                out << "\n";
                out << "| region | zu max ulps | zu median ulps | zu max rel | zu non-finite | zu reports | "
                       "std max ulps | std median ulps | std max rel | std non-finite |\n";
                out << "|---|---|---|---|---|---|---|---|---|---|\n";
            }
            out << "| " << cell(r.region->name) << " | ";
            for (int side = 0; side < 2; ++side) {
                const SideStats& st = r.side[side];
                out << pair_cell(fmt_ulps(st.part[0].max), fmt_ulps(st.part[1].max), rr) << " | "
                    << pair_cell(fmt_ulps(r.median[side][0]), fmt_ulps(r.median[side][1]), rr) << " | "
                    << fmt_rel(st.rel_max) << " | " << nonfinite_cell(st, rr) << " | ";
                if (side == 0) out << (st.reports ? std::to_string(st.reports) : "–") << " | ";
            }
            out << "\n";
        }

        out << "\n## Worst inputs\n\n"
               "For every function, region and part: the input with the largest error in ulps, the result, and\n"
               "MPC's correctly rounded value, for the library and then for std::complex. Regions where a part\n"
               "stays within 1 ulp on both sides are left out.\n";
        current = nullptr;
        for (RegionResult& r : results) {
            const bool rr = r.f->real_result;
            for (int p = 0; p < (rr ? 1 : 2); ++p) {
                const PartStats& zp = r.side[0].part[p];
                const PartStats& sp = r.side[1].part[p];
                if (zp.max <= 1.0 && sp.max <= 1.0) continue;
                if (r.f != current) {
                    current = r.f;
                    out << "\n### " << r.f->name << "\n\n";
                    out << "| region | part | zu ulps | zu worst input | zu result | exact | std ulps | "
                           "std worst input | std result | exact |\n";
                    out << "|---|---|---|---|---|---|---|---|---|---|\n";
                }
                out << "| " << cell(r.region->name) << " | " << (p == 0 ? "re" : "im") << " | ";
                for (const PartStats* ps : {&zp, &sp}) {
                    if (ps->max < 0.0) {
                        out << "– | – | – | – | ";
                        continue;
                    }
                    out << fmt_ulps(ps->max) << " | `" << format_operands(r.f->form, ps->worst) << "` | `"
                        << hex(ps->worst_value) << "` | `" << hex(ps->worst_ref) << "` | ";
                }
                out << "\n";
            }
        }
    }

    if (!opt.csv_file.empty()) {
        std::ofstream csv(opt.csv_file);
        if (!csv) {
            std::fprintf(stderr, "zu_accuracy: cannot write %s\n", opt.csv_file.c_str());
            return 1;
        }
        csv << "function,region,side,part,samples,scored,max_ulps,median_ulps,nonfinite_result,"
               "nonfinite_exact,max_rel,reports,worst_input\n";
        for (RegionResult& r : results) {
            for (int side = 0; side < 2; ++side) {
                const SideStats& st = r.side[side];
                for (int p = 0; p < (r.f->real_result ? 1 : 2); ++p) {
                    const PartStats& ps = st.part[p];
                    char buf[512];
                    std::snprintf(buf, sizeof buf, ",%s,%s,%ld,%zu,%.6g,%.6g,%ld,%ld,%.6g,%ld,", side ? "std" : "zu",
                                  p ? "im" : "re", r.n, ps.ulps.size(), ps.max, r.median[side][p],
                                  ps.lib_nonfinite, ps.ref_nonfinite, st.rel_max, side ? 0L : st.reports);
                    csv << csv_quote(r.f->name) << "," << csv_quote(r.region->name) << buf
                        << csv_quote(ps.max >= 0 ? format_operands(r.f->form, ps.worst) : "") << "\n";
                }
            }
        }
    }
    return 0;
}

}  // namespace acc
