// zudigest: prints one hash of every result bit, errno and report of every
// exported function over 2^20 generated operands (digest.h), the same on every
// platform whose build gives the same bits. docs/DIGEST holds the one the
// portable build gives.
#include "digest.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kUsage[] = R"(usage: zudigest [--threads N] [--check FILE] [--chunks] [--functions]
       zudigest --dump CHUNK

Runs every exported function of libzu_complex on 2^19 generated steps of two
complex operands each (2^20 operands; the one-operand functions take the
first, the stream operators run on one step in 8) and prints one hash of
every result bit, errno and report, every NaN counted as one NaN. The steps
form 32 chunks, run on N threads (default: the processor count); the hash
does not depend on N.

  --check FILE   compare with the digest in FILE (its first line that is
                 not empty and not a # comment); exit status 1 if it differs
  --chunks       also print each chunk's hash
  --functions    also print each function's hash over all chunks
  --dump CHUNK   print every call of chunk CHUNK (0 to 31) and what it
                 hashed, one line each, instead; diff two platforms' dumps to
                 find the call that differs
)";

bool parse_int(const char* text, int lo, int hi, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < lo || v > hi) return false;
    value = static_cast<int>(v);
    return true;
}

std::string expected_digest(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        return line.substr(start, line.find_first_of(" \t\r", start) - start);
    }
    return std::string();
}

}  // namespace

int main(int argc, char** argv) {
    int threads = static_cast<int>(std::thread::hardware_concurrency());
    if (threads < 1) threads = 1;
    int dump_chunk = -1;
    bool show_chunks = false, show_functions = false;
    std::string check_file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--threads" && i + 1 < argc && parse_int(argv[i + 1], 1, 256, threads)) {
            ++i;
        } else if (arg == "--dump" && i + 1 < argc && parse_int(argv[i + 1], 0, zudigest::kChunks - 1, dump_chunk)) {
            ++i;
        } else if (arg == "--check" && i + 1 < argc) {
            check_file = argv[++i];
        } else if (arg == "--chunks") {
            show_chunks = true;
        } else if (arg == "--functions") {
            show_functions = true;
        } else {
            std::cerr << kUsage;
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }

    if (dump_chunk >= 0) {
        zudigest::run_chunk(dump_chunk, false, &std::cout);
        return std::cout.good() ? 0 : 1;
    }

    std::vector<zudigest::ChunkResult> results(zudigest::kChunks);
    std::atomic<int> next{0};
    auto work = [&] {
        for (int c; (c = next++) < zudigest::kChunks;) results[c] = zudigest::run_chunk(c, show_functions, nullptr);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();

    zudigest::Hash digest;
    for (const zudigest::ChunkResult& r : results) digest.add(r.all);
    std::cout << digest.hex() << '\n';
    if (show_chunks) {
        for (int c = 0; c < zudigest::kChunks; ++c) std::cout << "chunk " << c << ' ' << results[c].all.hex() << '\n';
    }
    if (show_functions) {
        const std::vector<std::string>& names = zudigest::function_names();
        for (std::size_t f = 0; f < names.size(); ++f) {
            zudigest::Hash h;
            for (const zudigest::ChunkResult& r : results) h.add(r.per_function[f]);
            std::cout << h.hex() << ' ' << names[f] << '\n';
        }
    }
    if (check_file.empty()) return 0;
    const std::string expected = expected_digest(check_file);
    if (expected == digest.hex()) {
        std::cout << "matches " << check_file << '\n';
        return 0;
    }
    std::cout << "DIFFERS from " << check_file << ": " << (expected.empty() ? "(no digest there)" : expected)
              << '\n';
    return 1;
}
