#include "base/Base64.h"

#include <array>

namespace lumeris {

namespace {

constexpr char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> decodingTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(ALPHABET[i])] = static_cast<std::int8_t>(i);
    }
    return table;
}

constexpr auto DECODING = decodingTable();

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

} // namespace

std::string Base64::encode(const std::uint8_t* data, std::size_t size) {
    std::string text;
    if (data == nullptr || size == 0) {
        return text;
    }
    text.resize((size + 2) / 3 * 4);
    char* out = text.data();
    std::size_t i = 0;
    for (; i + 2 < size; i += 3) {
        const std::uint32_t n = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        *out++ = ALPHABET[(n >> 18) & 63];
        *out++ = ALPHABET[(n >> 12) & 63];
        *out++ = ALPHABET[(n >> 6) & 63];
        *out++ = ALPHABET[n & 63];
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const std::uint32_t n = (data[i] << 16) | (two ? data[i + 1] << 8 : 0);
        *out++ = ALPHABET[(n >> 18) & 63];
        *out++ = ALPHABET[(n >> 12) & 63];
        *out++ = two ? ALPHABET[(n >> 6) & 63] : '=';
        *out++ = '=';
    }
    return text;
}

std::string Base64::encode(const std::vector<std::uint8_t>& data) {
    return encode(data.data(), data.size());
}

std::optional<std::vector<std::uint8_t>> Base64::decode(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t accumulator = 0;
    int pending = 0; // sextets in the accumulator
    std::size_t padding = 0;
    for (char c : text) {
        if (isSpace(c)) {
            continue;
        }
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = DECODING[static_cast<unsigned char>(c)];
        if (value < 0 || padding > 0) {
            return std::nullopt; // foreign character, or data after the padding
        }
        accumulator = (accumulator << 6) | static_cast<std::uint32_t>(value);
        if (++pending == 4) {
            bytes.push_back(static_cast<std::uint8_t>(accumulator >> 16));
            bytes.push_back(static_cast<std::uint8_t>(accumulator >> 8));
            bytes.push_back(static_cast<std::uint8_t>(accumulator));
            accumulator = 0;
            pending = 0;
        }
    }
    // A final group of one sextet cannot hold a byte; padding must complete the last group.
    if (pending == 1 || padding > 2 || (padding > 0 && pending + padding != 4)) {
        return std::nullopt;
    }
    if (pending == 2) {
        bytes.push_back(static_cast<std::uint8_t>(accumulator >> 4));
    } else if (pending == 3) {
        bytes.push_back(static_cast<std::uint8_t>(accumulator >> 10));
        bytes.push_back(static_cast<std::uint8_t>(accumulator >> 2));
    }
    return bytes;
}

} // namespace lumeris
