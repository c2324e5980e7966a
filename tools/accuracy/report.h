// The outputs of zu_accuracy: the per-region tables (Markdown and CSV), the
// table of selected inputs, the error maps, and the table of departures from
// C99's conventions.
#ifndef ZU_ACCURACY_REPORT_H
#define ZU_ACCURACY_REPORT_H

#include "accuracy.h"

#include <string>
#include <vector>

namespace acc {

struct Options {
    long samples = 4000;
    std::vector<std::string> only;
    std::string table_file;
    std::string csv_file;
    std::string examples_file;
    std::string maps_dir;
    std::string conventions_file;
    int grid = 300;
    double span = 3.0;
    std::vector<std::string> map_functions{"log", "sqrt", "atan", "asin", "acos", "tan", "tanh"};
};

int run_tables(const std::vector<Function>& catalogue, const Options& opt);
int run_examples(const std::vector<Function>& catalogue, const Options& opt);
int run_maps(const std::vector<Function>& catalogue, const Options& opt);
int run_conventions(const std::vector<Function>& catalogue, const Options& opt);

// One line each: compiler, C++ library, GNU MPC, MPFR and GMP.
void print_versions();

// Number formatting shared by the outputs.
std::string fmt_ulps(double u);
std::string fmt_rel(double r);
std::string shortest(double v);

}  // namespace acc

#endif  // ZU_ACCURACY_REPORT_H
