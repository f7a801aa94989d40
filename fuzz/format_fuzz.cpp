// The formatter against arbitrary format texts and arguments. The input is
// the format, a NUL byte, then argument bytes: each argument starts with a
// kind byte followed by its value. Output must stay bounded and every "%n"
// variable must receive a prefix of the final output.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>

#include "support/format.h"

namespace {

using zorv::FmtArg;
using zorv::FmtArgs;

constexpr std::string_view kUnset = "\x01unset";

void Check(bool ok) {
    if (!ok) std::abort();
}

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool Empty() const { return pos_ >= bytes_.size(); }
    std::uint8_t Byte() { return Empty() ? 0 : static_cast<std::uint8_t>(bytes_[pos_++]); }
    std::string_view Take(std::size_t n) {
        n = std::min(n, bytes_.size() - std::min(pos_, bytes_.size()));
        std::string_view out = bytes_.substr(pos_, n);
        pos_ += n;
        return out;
    }
    template <class T>
    T Value() {
        T v{};
        std::string_view raw = Take(sizeof(T));
        std::memcpy(&v, raw.data(), raw.size());
        return v;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view format = input.substr(0, nul);
    ByteReader in(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));

    std::deque<std::string> targets;  // stable addresses for "%n"
    FmtArgs args;
    while (!in.Empty() && args.size() < 64) args.push_back(NextArg(in, targets));

    const std::string out = zorv::sprintf(format, args);
    // Width and precision are capped, so no conversion can produce more than
    // the width limit or an argument's text dumped in hexadecimal.
    Check(out.size() <= (format.size() + 1) * 10100);
    for (const std::string& t : targets) {
        Check(t == kUnset || out.compare(0, t.size(), t) == 0);
    }

    std::uint32_t style = 0;
    std::memcpy(&style, data, std::min<std::size_t>(size, sizeof style));
    const std::string names = zorv::WindowStyleNames(style);
    Check(names.empty() == ((style & 0xFFFF0000u) == 0));
    return 0;
}
