// The list decoder's throughput over 1,000,000 lines (about 20 MB) fed in 64 KiB reads, as the
// Win32 reader feeds it. The conversions are host stand-ins of the speed of a table lookup,
// which is what MultiByteToWideChar does for a single- or double-byte code page.
#include "text/list_decoder.h"

#include "test_code_pages.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>

namespace {

using namespace sevrane;

constexpr int kLines = 1'000'000;
constexpr std::size_t kReadSize = 64 * 1024;

bool FastLatin1(std::string_view bytes, std::u16string& out) {
    const std::size_t old = out.size();
    out.resize(old + bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[old + i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    }
    return true;
}

bool FastDoubleByte(std::string_view bytes, std::u16string& out) {
    // Converts into a reused buffer and copies the exact result, as the Win32 reader does.
    thread_local std::u16string scratch;
    if (scratch.size() < bytes.size()) {
        scratch.resize(bytes.size());
    }
    std::size_t units = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (test::IsTestLeadByte(byte) && i + 1 < bytes.size()) {
            scratch[units++] = static_cast<char16_t>(
                0x4E00 + (((byte << 8) | static_cast<unsigned char>(bytes[++i])) & 0x3FFF));
        } else {
            scratch[units++] = byte;
        }
    }
    out.append(scratch.data(), units);
    return true;
}

// Lines of 16 to 24 bytes with CR LF ends: letters and digits, or nine or ten double-byte
// characters, or the same letters as UTF-16LE or UTF-16BE (about 40 bytes a line); kinds 4 and
// 5 are UTF-8 without a mark: the letters, or five to eight three-byte characters.
std::string MakeFile(int kind) {
    std::mt19937 random(7);
    std::string bytes;
    if (kind == 2) {
        bytes = "\xFF\xFE";
    } else if (kind == 3) {
        bytes = "\xFE\xFF";
    }
    for (int line = 0; line < kLines; ++line) {
        const int length = 16 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i) {
            if (kind == 5) {
                const unsigned code = 0x4E00 + random() % 0x5000;
                bytes.push_back(static_cast<char>(0xE0 | (code >> 12)));
                bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
                bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
                i += 2;
            } else if (kind == 1) {
                bytes.push_back(static_cast<char>(0x88 + random() % 0x18));
                bytes.push_back(static_cast<char>(0x40 + random() % 0x3F));
                ++i;
            } else {
                const char letter = static_cast<char>('a' + random() % 26);
                if (kind == 3) {
                    bytes.push_back('\0');
                }
                bytes.push_back(letter);
                if (kind == 2) {
                    bytes.push_back('\0');
                }
            }
        }
        bytes += kind == 2   ? std::string("\r\0\n\0", 4)
                 : kind == 3 ? std::string("\0\r\0\n", 4)
                             : std::string("\r\n");
    }
    return bytes;
}

void DecodeFile(benchmark::State& state, int kind) {
    const std::string file = MakeFile(kind);
    const ListConverters converters{kind == 1 ? FastDoubleByte : FastLatin1,
                                    kind == 5 ? test::Utf8ToUtf16 : FastLatin1};
    const ListEncoding encoding = kind >= 2 ? ListEncoding::Unicode : ListEncoding::Ansi;
    // One list for every run, emptied between runs: the figure is the decoder's, not the cost
    // of the kernel handing out fresh pages for a new 40 MB buffer each time.
    ItemList items;
    for (auto _ : state) {
        items.clear();
        ListDecoder decoder(encoding, converters, items);
        decoder.ExpectBytes(file.size());
        for (std::size_t at = 0; at < file.size(); at += kReadSize) {
            decoder.Feed(std::string_view(file).substr(at, kReadSize));
        }
        decoder.Finish();
        if (items.size() != kLines) {
            state.SkipWithError("wrong number of items");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["lines"] = kLines;
}

BENCHMARK_CAPTURE(DecodeFile, Ascii, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeFile, DoubleByte, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeFile, Utf16, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeFile, Utf16BigEndian, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeFile, AsciiUtf8WithoutMark, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeFile, JapaneseUtf8WithoutMark, 5)->Unit(benchmark::kMillisecond);

} // namespace
