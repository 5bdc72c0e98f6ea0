// In-memory floor: read a template, split it into text pieces and blocks,
// pick one alternative per block with a fast RNG, apply the space and line-break
// markers, write the text. Parse once, generate K times (or re-read and
// re-parse every time with --reparse).
//   usage: memfloor TEMPLATE K [--reparse] [--seed N]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

static uint64_t rng_state;
static inline uint64_t wyrand() {
    rng_state += 0xa0761d6478bd642fULL;
    __uint128_t t = (__uint128_t)rng_state * (rng_state ^ 0xe7037ed1a0b428dbULL);
    return (uint64_t)(t >> 64) ^ (uint64_t)t;
}
static inline uint32_t below(uint32_t n) {
    return (uint32_t)(((__uint128_t)wyrand() * n) >> 64);
}

struct Item {
    uint32_t kind, a, b;
};  // kind 0: text [a,b) bytes; 1: block alts [a,b)

struct Program {
    std::string src;
    std::vector<std::string_view> alts;
    std::vector<Item> items;
};

static bool read_file(const char* path, std::string& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    out.resize(n > 0 ? (size_t)n : 0);
    size_t got = n > 0 ? std::fread(out.data(), 1, (size_t)n, f) : 0;
    std::fclose(f);
    out.resize(got);
    return true;
}

static std::string_view trim(std::string_view s) {
    size_t i = 0, j = s.size();
    while (i < j && s[i] == ' ')
        ++i;
    while (j > i && s[j - 1] == ' ')
        --j;
    return s.substr(i, j - i);
}

// Working-line model: a script line is cut at { | } into pieces; a piece
// after { or | is an alternative, any other piece is a text line. Blank
// text pieces do not end a run of alternatives; a non-blank one does.
static void parse(Program& p) {
    p.alts.clear();
    p.items.clear();
    std::string_view s(p.src);
    bool in_run = false;
    auto add_alt = [&](std::string_view a) {
        if (!in_run) {
            p.items.push_back({1, (uint32_t)p.alts.size(), (uint32_t)p.alts.size()});
            in_run = true;
        }
        p.alts.push_back(a);
        p.items.back().b = (uint32_t)p.alts.size();
    };
    auto add_text = [&](std::string_view t) {
        t = trim(t);
        if (t.empty())
            return;
        in_run = false;
        p.items.push_back({0, (uint32_t)(t.data() - p.src.data()),
                           (uint32_t)(t.data() - p.src.data() + t.size())});
    };
    size_t pos = 0;
    while (pos < s.size()) {
        size_t eol = s.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = s.size();
        std::string_view line = s.substr(pos, eol - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos = eol + 1;
        std::string_view t = trim(line);
        if (t.empty() || t[0] == '!')
            continue;
        if (t.size() >= 2 && t[0] == '\\' && t[1] == 'v')
            continue;  // variables: not in the workloads
        bool alt = false;
        if (line.size() >= 4 && line.compare(0, 4, "    ") == 0) {
            alt = true;
            line.remove_prefix(4);
        }
        size_t start = 0;
        for (size_t i = 0; i <= line.size(); ++i) {
            char c = i < line.size() ? line[i] : '\n';
            if (c == '{' || c == '|' || c == '}' || c == '\n') {
                std::string_view piece = line.substr(start, i - start);
                if (alt)
                    add_alt(piece);
                else
                    add_text(piece);
                alt = (c == '{' || c == '|');
                start = i + 1;
            }
        }
    }
}

static void generate(const Program& p, std::string& raw, std::string& out) {
    raw.clear();
    for (const Item& it : p.items) {
        if (it.kind == 0)
            raw.append(p.src.data() + it.a, it.b - it.a);
        else
            raw.append(p.alts[it.a + below(it.b - it.a)]);
    }
    // finishing: \s\ -> space, \b\ -> CR LF
    out.clear();
    const char* r = raw.data();
    size_t n = raw.size(), i = 0;
    while (i < n) {
        const void* q = std::memchr(r + i, '\\', n - i);
        size_t j = q ? (size_t)((const char*)q - r) : n;
        out.append(r + i, j - i);
        if (j >= n)
            break;
        if (j + 2 < n && r[j + 2] == '\\' && r[j + 1] == 's') {
            out.push_back(' ');
            i = j + 3;
        } else if (j + 2 < n && r[j + 2] == '\\' && r[j + 1] == 'b') {
            out.append("\r\n");
            i = j + 3;
        } else {
            out.push_back('\\');
            i = j + 1;
        }
    }
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: memfloor TEMPLATE K [--reparse] [--seed N]\n");
        return 2;
    }
    long k = std::atol(argv[2]);
    bool reparse = false;
    rng_state = (uint64_t)time(nullptr) ^ ((uint64_t)clock() << 32);
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--reparse"))
            reparse = true;
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            rng_state = std::strtoull(argv[++i], 0, 10);
    }
    static char obuf[1 << 16];
    std::setvbuf(stdout, obuf, _IOFBF, sizeof obuf);
    Program p;
    std::string raw, out;
    for (long g = 0; g < k; ++g) {
        if (g == 0 || reparse) {
            if (!read_file(argv[1], p.src)) {
                std::perror(argv[1]);
                return 1;
            }
            parse(p);
            raw.reserve(p.src.size());
            out.reserve(p.src.size());
        }
        generate(p, raw, out);
        out.append("\r\n");
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    std::fflush(stdout);
    return 0;
}
