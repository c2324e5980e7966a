// zucalc: evaluate complex expressions with libzu_complex and show the exact
// result and everything the library reported on the way.
#include "calc.h"

#include <cctype>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#ifdef ZUCALC_HAVE_LIBEDIT
#include <cstdio>
#include <editline/readline.h>
#endif

namespace {

const char kUsage[] = "usage: zucalc [--hex] [--precision N] [--] [EXPRESSION...]\n";

const char kHelp[] = R"(Evaluates each EXPRESSION with libzu_complex and prints its value, then one
line for every overflow or singularity the library reported while computing
it, then errno if it was set. Without an EXPRESSION, reads one expression per
line from standard input.

Options:
  --hex            also print the bit pattern of every part
  --precision N    significant digits, 1 to 17 (default 17, which reads back
                   to the same bits)
  --help, -h       this text
  --version        the version
  --               everything after it is an expression

Expressions:
  numbers          1, 2.5, 1e-3, 0x1p-2, inf, infinity, nan (real)
  (re,im)          a complex literal; each part is any real expression:
                   (inf,0), (0,nan), (-0.0,1e-300), (pi/2,-1). A "(" without
                   a comma at its own level groups: (1+2)*3
  constants        i = (0,1); pi and e are real
  operators        + - * / with the usual precedence, left to right;
                   ^ is a power, right to left, tighter than a sign:
                   -2^2 = -(2^2), 2^3^2 = 2^(3^2), 2^-1 is allowed
  functions        exp log log10 sqrt conj ceil floor round sin cos tan sinh
                   cosh tanh asin acos atan (complex); abs norm arg real imag
                   (real result); hypot(a,b), pow(a,b), polar(r,theta) with
                   real r and theta

Values are real or complex. real op real is double arithmetic; a real meeting
a complex uses the library's mixed + and - and, for * and /, DComplex(x).
Function arguments are converted to DComplex.

a^b and pow(a,b) call the overload C++ would choose for the operands as
written:
  b an integer literal (digits only, fitting in an int, perhaps with signs or
    parentheses around it)            pow(DComplex, int)
  b any other real                    pow(DComplex, double)
  a real, b complex                   pow(double, DComplex)
  otherwise                           pow(DComplex, DComplex)
so (0,1)^2, (0,1)^2.0, 2^(0,1) and (1,1)^(2,0) each take a different path.

A malformed expression prints its column and what was expected; zucalc then
goes on and exits with status 2.

Signed zeros, infinite and NaN parts and moduli beyond the largest double get
the library's defined results, which can differ from C99's and from the
principal value: README.md, section "Known limits", lists them.
)";

// A prompt and line editing only for a person at a terminal.
bool read_line(bool interactive, std::string& line) {
#ifdef ZUCALC_HAVE_LIBEDIT
    if (interactive) {
        char* text = readline("zucalc> ");
        if (text == nullptr) return false;
        line = text;
        if (line.find_first_not_of(" \t\r\n") != std::string::npos) add_history(text);
        std::free(text);
        return true;
    }
#else
    if (interactive) std::cout << "zucalc> " << std::flush;
#endif
    return static_cast<bool>(std::getline(std::cin, line));
}

bool parse_precision(const std::string& text, int& out) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::atoi(text.c_str());
    return out >= 1 && out <= 17;
}

int run(int argc, char** argv) {
    zucalc::Options opt;
    std::vector<std::string> expressions;
    bool options_done = false;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        // Options are "-h", "--" and "--" + a word; "-2^2", "-pi" and "--1"
        // are expressions.
        const bool long_option =
            a.size() > 2 && a.compare(0, 2, "--") == 0 && std::isalpha(static_cast<unsigned char>(a[2])) != 0;
        const bool option = a == "-h" || a == "--" || long_option;
        if (options_done || !option) {
            expressions.push_back(a);
        } else if (a == "--") {
            options_done = true;
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage << '\n' << kHelp;
            return 0;
        } else if (a == "--version") {
            std::cout << "zucalc " << ZU_COMPLEX_VERSION_MAJOR << '.' << ZU_COMPLEX_VERSION_MINOR << '.'
                      << ZU_COMPLEX_VERSION_PATCH << '\n';
            return 0;
        } else if (a == "--hex") {
            opt.format.hex = true;
        } else if (a == "--precision" || a.rfind("--precision=", 0) == 0) {
            std::string n;
            if (a == "--precision") {
                if (k + 1 < argc) n = argv[++k];
            } else {
                n = a.substr(12);
            }
            if (!parse_precision(n, opt.format.precision)) {
                std::cerr << "zucalc: --precision needs a number from 1 to 17\n" << kUsage;
                return 2;
            }
        } else {
            std::cerr << "zucalc: unknown option '" << a << "'\n" << kUsage;
            return 2;
        }
    }

    opt.show_reports = zucalc::reports_reach_program();
    if (!opt.show_reports)
        std::cerr << "zucalc: the library's reports do not reach this program on this platform; "
                     "only errno is shown\n";

    bool failed = false;
    if (!expressions.empty()) {
        for (const std::string& e : expressions)
            if (!zucalc::calculate(e, opt, std::cout, std::cerr)) failed = true;
        return failed ? 2 : 0;
    }

    const bool interactive = isatty(STDIN_FILENO) != 0;
    std::string line;
    while (read_line(interactive, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t\v\f") == std::string::npos) continue;
        if (!zucalc::calculate(line, opt, std::cout, std::cerr)) failed = true;
        std::cout.flush();
    }
    if (interactive) std::cout << '\n';
    return failed ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "zucalc: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "zucalc: unexpected failure\n";
    }
    return 1;
}
