#include "app/gbk_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>

#include "primitives/primitives.h"

namespace vantrigo {

namespace {

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

// One glibc conversion descriptor per direction, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts bytes; at a sequence it cannot convert, appends replacement
    // and skips skipLength(rest) input bytes.
    template <typename SkipLength>
    std::string convert(std::string_view in, std::string_view replacement, SkipLength skipLength) {
        std::string out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        auto* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        std::array<char, 256> buffer;
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t done = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), outPtr);
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // EILSEQ, or EINVAL for a sequence cut off at the end.
            out.append(replacement);
            const std::size_t skip = std::min(inLeft, skipLength(std::string_view(inPtr, inLeft)));
            inPtr += skip;
            inLeft -= skip;
        }
        return out;
    }

private:
    iconv_t cd_;
};

// The length of the UTF-8 sequence that begins the text (at least 1).
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size());
}

}  // namespace

std::string toGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (isAscii(bytes)) return std::string(bytes);
    thread_local Converter converter("GBK", "UTF-8");
    return converter.convert(bytes, "?", utf8SequenceLength);
}

QString fromGbk(std::string_view bytes) {
    bytes = asText(bytes);
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    thread_local Converter converter("UTF-8", "GBK");
    const std::string utf8 =
        converter.convert(bytes, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace vantrigo
