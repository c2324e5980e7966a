// zu_accuracy: the accuracy report of libzu_complex against GNU MPC.
//
//   zu_accuracy [--samples N] [--only NAME]... [--table FILE] [--csv FILE]
//               [--examples FILE] [--maps DIR] [--grid N] [--span S]
//               [--map-functions a,b,...] [--conventions FILE] [--versions]
//
// With no output option the per-region table goes to stdout. Every sample
// comes from std::mt19937_64 with a seed fixed per function and region, so
// the same build gives the same numbers on every run.
#include "accuracy.h"
#include "report.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: zu_accuracy [--samples N] [--only NAME]... [--table FILE] [--csv FILE]\n"
                 "                   [--examples FILE] [--maps DIR] [--grid N] [--span S]\n"
                 "                   [--map-functions NAME,NAME,...] [--conventions FILE]\n"
                 "  --samples N        samples per function and region (default 4000)\n"
                 "  --only NAME        measure only this function (repeatable), e.g. --only 'pow(z, y)'\n"
                 "  --table FILE       write the Markdown tables there ('-' for stdout)\n"
                 "  --csv FILE         write the same numbers as CSV\n"
                 "  --examples FILE    write the table of selected inputs (Markdown)\n"
                 "  --maps DIR         write error maps over [-S, S]^2 for gnuplot into DIR\n"
                 "  --grid N           points per side of a map (default 300)\n"
                 "  --span S           half width of the mapped square (default 3)\n"
                 "  --map-functions L  functions to map (default log,sqrt,atan,asin,acos,tan,tanh)\n"
                 "  --conventions FILE write the table of departures from C99 (Markdown; '-' for stdout)\n"
                 "  --versions         print the compiler and library versions and exit\n");
}

std::vector<std::string> split_commas(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) out.push_back(item);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    acc::Options opt;
    bool any_output = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zu_accuracy: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--samples") {
            opt.samples = std::atol(value().c_str());
        } else if (a == "--only") {
            opt.only.push_back(value());
        } else if (a == "--table") {
            opt.table_file = value();
            any_output = true;
        } else if (a == "--csv") {
            opt.csv_file = value();
            any_output = true;
        } else if (a == "--examples") {
            opt.examples_file = value();
            any_output = true;
        } else if (a == "--maps") {
            opt.maps_dir = value();
            any_output = true;
        } else if (a == "--conventions") {
            opt.conventions_file = value();
            any_output = true;
        } else if (a == "--grid") {
            opt.grid = std::atoi(value().c_str());
        } else if (a == "--span") {
            opt.span = std::atof(value().c_str());
        } else if (a == "--map-functions") {
            opt.map_functions = split_commas(value());
        } else if (a == "--versions") {
            acc::print_versions();
            return 0;
        } else if (a == "-h" || a == "--help") {
            usage();
            return 0;
        } else {
            std::fprintf(stderr, "zu_accuracy: unknown argument '%s'\n", a.c_str());
            usage();
            return 2;
        }
    }
    if (opt.samples < 1 || opt.grid < 2 || !(opt.span > 0)) {
        usage();
        return 2;
    }
    if (!any_output) opt.table_file = "-";

    const std::vector<acc::Function> catalogue = acc::make_catalogue();
    for (const std::string& name : opt.only) {
        if (!acc::find_function(catalogue, name)) {
            std::fprintf(stderr, "zu_accuracy: no function named '%s'; the names are:\n", name.c_str());
            for (const acc::Function& f : catalogue) std::fprintf(stderr, "  %s\n", f.name.c_str());
            return 2;
        }
    }
    for (const std::string& name : opt.map_functions) {
        const acc::Function* f = acc::find_function(catalogue, name);
        if (!f || f->form != acc::Form::unary || f->real_result) {
            std::fprintf(stderr, "zu_accuracy: cannot map '%s' (one complex operand and result needed)\n",
                         name.c_str());
            return 2;
        }
    }

    const auto t0 = std::chrono::steady_clock::now();
    int rc = 0;
    if (!opt.table_file.empty() || !opt.csv_file.empty()) rc |= acc::run_tables(catalogue, opt);
    if (!opt.examples_file.empty()) rc |= acc::run_examples(catalogue, opt);
    if (!opt.maps_dir.empty()) rc |= acc::run_maps(catalogue, opt);
    if (!opt.conventions_file.empty()) rc |= acc::run_conventions(catalogue, opt);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::fprintf(stderr, "zu_accuracy: done in %.1f s\n", secs);
    return rc;
}
