// The formatter against arbitrary format texts and arguments. The input is
// the format, a NUL byte, then argument bytes: each argument starts with a
// kind byte followed by its value. Output must stay bounded and every "%n"
// variable must receive a prefix of the final output.
#include <cstring>
#include <deque>

#include "support/format.h"
#include "fuzz_common.h"

namespace zorv::fuzz {
namespace {

constexpr std::string_view kUnset = "\x01unset";

// Reads the argument bytes; past their end it reads zeros.
struct ByteReader {
    std::string_view bytes;
    std::string_view Take(std::size_t n) {
        const std::string_view out = bytes.substr(0, n);
        bytes.remove_prefix(out.size());
        return out;
    }
    std::uint8_t Byte() { return bytes.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
    template <class T>
    T Value() {
        T v{};
        const std::string_view raw = Take(sizeof(T));
        std::memcpy(&v, raw.data(), raw.size());
        return v;
    }
};

FmtArg NextArg(ByteReader& in, std::deque<std::string>& targets) {
    switch (in.Byte() % 8) {
        case 0:
            return in.Value<std::int64_t>();
        case 1:
            return in.Value<double>();
        case 2:
            return std::string(in.Take(in.Byte() % 24));
        case 3:
            return &targets.emplace_back(kUnset);
        case 4:
            return FmtArg();
        case 5:
            return FmtArgs{static_cast<int>(in.Byte()), std::string(in.Take(in.Byte() % 8))};
        case 6:
            return static_cast<int>(in.Byte()) - 128;
        default:
            return static_cast<double>(in.Value<std::int16_t>()) / 8.0;
    }
}

}  // namespace

void FuzzOne(std::string_view input) {
    const std::size_t nul = input.find('\0');
    const std::string_view format = input.substr(0, nul);
    ByteReader in{nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1)};
    std::deque<std::string> targets;  // stable addresses for "%n"
    FmtArgs args;
    while (!in.bytes.empty() && args.size() < 64) args.push_back(NextArg(in, targets));

    const std::string out = sprintf(format, args);
    // Width and precision are capped, so no conversion can produce more than
    // the width limit or an argument's text dumped in hexadecimal.
    Check(out.size() <= (format.size() + 1) * 10100);
    for (const std::string& t : targets) Check(t == kUnset || out.starts_with(t));

    std::uint32_t style = 0;
    std::memcpy(&style, input.data(), std::min(input.size(), sizeof style));
    Check(WindowStyleNames(style).empty() == ((style & 0xFFFF0000u) == 0));
}

}  // namespace zorv::fuzz
