// The list file reader against the platform's C runtime: for generated files its items must
// equal what an _wfopen_s + fgets / fgetws loop of 1024 units gives, joined line by line.
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "text/list_file_win.h"

#include "printers.h"
#include "temp_dir_win.h"
#include "test_code_pages.h"
#include "unique_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <variant>
#include <vector>

namespace sevrane {
namespace {

using test::Shown;
using test::TempDir;
using test::UniqueFile;
using test::Utf16Bytes;

// What the C runtime's text mode makes of a file, read in pieces of at most 1023 units and
// joined until a piece ends with LF or the file ends.
ItemList ReadWithRuntime(const std::u16string& path, bool unicode) {
    ItemList items;
    std::FILE* opened = nullptr;
    if (::_wfopen_s(&opened, Wide(path), unicode ? L"rt, ccs=UNICODE" : L"rt") != 0) {
        ADD_FAILURE() << "the runtime cannot open the file";
        return items;
    }
    const UniqueFile file(opened);
    std::u16string line;
    while (!std::feof(file.get())) {
        if (unicode) {
            wchar_t buffer[1024];
            if (std::fgetws(buffer, 1024, file.get()) != nullptr) {
                line += FromWide(buffer);
            }
        } else {
            char buffer[1024];
            if (std::fgets(buffer, 1024, file.get()) != nullptr) {
                const int units = ::MultiByteToWideChar(CP_ACP, 0, buffer, -1, nullptr, 0);
                std::vector<wchar_t> wide(static_cast<std::size_t>(units));
                ::MultiByteToWideChar(CP_ACP, 0, buffer, -1, wide.data(), units);
                line += FromWide(wide.data());
            }
        }
        const bool atEnd = std::feof(file.get()) != 0;
        if (!atEnd && (line.empty() || line.back() != u'\n')) {
            if (std::ferror(file.get())) {
                ADD_FAILURE() << "the runtime failed to read";
                break;
            }
            continue;
        }
        if (!line.empty() && line.back() == u'\n') {
            line.pop_back();
        }
        if (!atEnd || !line.empty()) {
            items.push_back(line);
        }
        line.clear();
    }
    return items;
}

// A file of the folder with these bytes, by the path the reader takes.
std::u16string WriteFile(const TempDir& directory, std::u16string_view name,
                         const std::string& bytes) {
    const std::wstring path = directory.File(std::wstring(name.begin(), name.end()));
    EXPECT_TRUE(test::WriteBytes(path, bytes));
    return FromWide(path.c_str());
}

void ExpectSameItems(const ItemList& ours, const ItemList& runtime, const std::string& what) {
    ASSERT_EQ(ours.size(), runtime.size()) << what;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        ASSERT_TRUE(ours[i] == runtime[i]) << what << ", item " << i << ": ours " << Shown(ours[i])
                                           << ", runtime's " << Shown(runtime[i]);
    }
}

// Random text for one kind of file. No NUL is ever written; in a double-byte code page no
// character straddles a 1023-byte read of the runtime, which converts each read on its own.
class TextGenerator {
public:
    enum class Kind { Cp1252, Cp932, Utf16, Utf8 };

    TextGenerator(Kind kind, std::uint32_t seed) : kind_(kind), random_(seed) {}

    std::string File() {
        std::string bytes;
        if (kind_ == Kind::Utf16) {
            bytes = "\xFF\xFE";
        } else if (kind_ == Kind::Utf8) {
            bytes = "\xEF\xBB\xBF";
        }
        const int lines = Pick(0, 40);
        for (int i = 0; i < lines; ++i) {
            Line(bytes, i + 1 == lines);
        }
        if (kind_ == Kind::Utf16 && Chance(10)) {
            bytes.push_back('q'); // an odd last byte
        }
        return bytes;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(0, 99) < percent; }

    void Unit(std::string& bytes, char16_t unit) {
        if (kind_ == Kind::Utf16) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        } else if (kind_ == Kind::Utf8) {
            if (unit < 0x80) {
                bytes.push_back(static_cast<char>(unit));
            } else if (unit < 0x800) {
                bytes.push_back(static_cast<char>(0xC0 | (unit >> 6)));
                bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
            } else {
                bytes.push_back(static_cast<char>(0xE0 | (unit >> 12)));
                bytes.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
                bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
            }
        } else {
            bytes.push_back(static_cast<char>(unit));
        }
    }

    // One character that is not a control character of the text mode.
    void Character(std::string& bytes, std::size_t& column) {
        const int what = Pick(0, 99);
        if (what < 55) {
            Unit(bytes, static_cast<char16_t>(what < 5 ? u'\t' : Pick(0x20, 0x7E)));
            ++column;
            return;
        }
        switch (kind_) {
        case Kind::Cp1252:
            bytes.push_back(static_cast<char>(Pick(0x80, 0xFF)));
            ++column;
            break;
        case Kind::Cp932:
            if (what < 70) {
                bytes.push_back(static_cast<char>(Pick(0xA1, 0xDF))); // half-width katakana
                ++column;
            } else {
                if (column % 1023 == 1022) {
                    bytes.push_back('.'); // keeps the pair inside one read of the runtime
                    ++column;
                }
                const int lead = Chance(80) ? Pick(0x88, 0x9F) : Pick(0xE0, 0xEA);
                int trail = Pick(0x40, 0xFB);
                if (trail >= 0x7F) {
                    ++trail;
                }
                bytes.push_back(static_cast<char>(lead));
                bytes.push_back(static_cast<char>(trail));
                column += 2;
            }
            break;
        case Kind::Utf16:
        case Kind::Utf8:
            if (what < 90) {
                Unit(bytes, static_cast<char16_t>(Pick(0xA0, 0xD7FF)));
            } else if (what < 95) {
                Unit(bytes, static_cast<char16_t>(Pick(0xE000, 0xFFFD)));
            } else if (kind_ == Kind::Utf16) {
                Unit(bytes, static_cast<char16_t>(Pick(0xD800, 0xDBFF)));
                Unit(bytes, static_cast<char16_t>(Pick(0xDC00, 0xDFFF)));
            } else {
                const int code = Pick(0x10000, 0x10FFFF);
                bytes.push_back(static_cast<char>(0xF0 | (code >> 18)));
                bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
                bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
                bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            }
            ++column;
            break;
        }
    }

    void Line(std::string& bytes, bool last) {
        const int size = Pick(0, 99);
        const int length = size < 70 ? Pick(0, 40) : size < 90 ? Pick(100, 1100) : Pick(1000, 5000);
        std::size_t column = 0;
        for (int i = 0; i < length; ++i) {
            const int what = Pick(0, 999);
            if (what < 30) {
                Unit(bytes, u'\r'); // a lone CR, or one right before the line's end
                ++column;
            } else if (what == 30 && Chance(20)) {
                Unit(bytes, u'\x1A'); // the text mode's end of file
                ++column;
            } else {
                Character(bytes, column);
            }
        }
        const int end = Pick(0, 99);
        if (last && end < 30) {
            return; // no line end after the last line
        }
        if (end < 65) {
            Unit(bytes, u'\r');
        }
        Unit(bytes, u'\n');
    }

    Kind kind_;
    std::mt19937 random_;
};

void CompareGeneratedFiles(TextGenerator::Kind kind, bool unicode, const char16_t* prefix) {
    TempDir directory;
    TextGenerator generator(kind, 20240611u + static_cast<std::uint32_t>(kind));
    for (int i = 0; i < 150; ++i) {
        const std::string bytes = generator.File();
        const std::u16string path =
            WriteFile(directory, prefix + FromWide(std::to_wstring(i).c_str()) + u".txt", bytes);
        const auto read = ReadList(path, unicode);
        ASSERT_TRUE(std::holds_alternative<ListRead>(read));
        ExpectSameItems(std::get<ListRead>(read).items, ReadWithRuntime(path, unicode),
                        "file " + std::to_string(i) + " of " + std::to_string(bytes.size()) +
                            " bytes");
    }
}

TEST(ListFileAgainstRuntime, AnsiFilesInTheSystemCodePageGiveTheRuntimesItems) {
    const UINT codePage = ::GetACP();
    ASSERT_TRUE(codePage == 1252 || codePage == 932) << "code page " << codePage;
    CompareGeneratedFiles(
        codePage == 932 ? TextGenerator::Kind::Cp932 : TextGenerator::Kind::Cp1252, false, u"ansi");
}

TEST(ListFileAgainstRuntime, Utf16FilesWithTheirMarkGiveTheRuntimesItems) {
    CompareGeneratedFiles(TextGenerator::Kind::Utf16, true, u"utf16-");
}

TEST(ListFileAgainstRuntime, Utf8FilesWithTheirMarkGiveTheRuntimesItems) {
    CompareGeneratedFiles(TextGenerator::Kind::Utf8, true, u"utf8-");
}

TEST(ListFile, WhatCannotBeReadWholeIsNotOpened) {
    TempDir directory;
    ASSERT_TRUE(::CreateDirectoryW(directory.File(L"sub").c_str(), nullptr));
    const std::u16string held = WriteFile(directory, u"held.txt", "a\n");
    const UniqueFileHandle exclusive(::CreateFileW(Wide(held), GENERIC_READ, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A pipe whose writer never writes nor closes: a read would wait for ever.
    const std::u16string pipe =
        u"\\\\.\\pipe\\sevrane-list-" + FromWide(std::to_wstring(::GetCurrentProcessId()).c_str());
    const UniqueFileHandle server(::CreateNamedPipeW(
        Wide(pipe), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(exclusive && server);
    for (const std::u16string& path :
         {FromWide(directory.File(L"sub").c_str()),
          FromWide(directory.File(L"missing.txt").c_str()), held, pipe, std::u16string(u"NUL")}) {
        for (const bool unicode : {false, true}) {
            const auto read = ReadList(path, unicode);
            const Failure* failure = std::get_if<Failure>(&read);
            ASSERT_NE(failure, nullptr) << Shown(path);
            // Whether a pipe exists is the platform's say (Wine: it does not); the rest do.
            EXPECT_TRUE(path == pipe || failure->id == (path.ends_with(u"missing.txt")
                                                            ? MessageId::MsgFileNotFound
                                                            : MessageId::MsgFileNotOpened))
                << Shown(path);
        }
    }
}

} // namespace
} // namespace sevrane
