// The Windows side of the platform seam, against the system's own services:
// the code page and the locale's comparison, table locks held through share
// modes, the atomic save with ReplaceFileW, and the direction lock.
#include "dbf_test_support.h"

#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/direction_lock.h"
#include "platform/file_lock.h"
#include "base/error.h"
#include "storage/text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <random>
#include <sstream>

namespace enlazor {
namespace {

using test::TempDir;

std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(WindowsCodePage, ConvertsThroughTheSystemCodePage) {
    ASSERT_EQ(::GetACP(), 1252u) << "these cases are written for Windows-1252";
    EXPECT_EQ(to_8bit(u"Educación Física, Ñandú"), "Educaci\xF3n F\xEDsica, \xD1\x61nd\xFA");
    EXPECT_EQ(to_wide("Educaci\xF3n \x80"), u"Educación €");
    EXPECT_EQ(to_8bit(u"Жд"), "??");  // the default character
    EXPECT_EQ(to_8bit(WideText(u"a\0b", 3)), Text8("a\0b", 3));
}

// The lookup list's index must agree with CompareStringA ignoring case over
// the user's locale, for every pair, or a code could be given twice.
TEST(WindowsCodePage, CaseKeysAgreeWithTheLocaleComparison) {
    const std::string alphabet = "aAeE\xE9\xC9nN\xF1\xD1-' \xDF" "s1";
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 3);
    const auto random_text = [&] {
        std::string text;
        for (int i = length(random); i > 0; --i)
            text += alphabet[letter(random)];
        return text;
    };
    for (int i = 0; i < 3000; ++i) {
        const std::string a = random_text(), b = random_text();
        const bool equal = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                                            static_cast<int>(a.size()), b.data(),
                                            static_cast<int>(b.size())) == CSTR_EQUAL;
        ASSERT_EQ(platform::case_insensitive_key(a) == platform::case_insensitive_key(b), equal)
            << utf8_from_8bit(a) << " / " << utf8_from_8bit(b);
    }
    LookupList list;
    list.add("ABG");
    list.add("\xD1");
    EXPECT_EQ(list.find("abg"), 0);
    EXPECT_EQ(list.find("\xF1"), 1);
    EXPECT_EQ(list.find("n"), -1);
}

TEST(WindowsTableLocks, ShareModesKeepOthersOutAsLocksWould) {
    TempDir dir;
    const auto table = dir / "SOLUC.DBF";
    test::write_bytes(table, "x");
    const struct {
        LockKind first, second;
        bool second_opens;
    } cases[] = {
        {LockKind::Shared, LockKind::Shared, true},
        {LockKind::Shared, LockKind::Exclusive, false},
        {LockKind::Exclusive, LockKind::Shared, false},
        {LockKind::Exclusive, LockKind::Exclusive, false},
    };
    for (const auto& c : cases) {
        LockedFile held = LockedFile::open_existing(table, c.first);
        if (c.second_opens) {
            EXPECT_NO_THROW(LockedFile::open_existing(table, c.second));
        } else {
            EXPECT_EQ(test::error_of([&] { LockedFile::open_existing(table, c.second); }),
                      "Table is busy.\nTable: " + table.string());
        }
        EXPECT_TRUE(is_locked_by_others(table));
        EXPECT_EQ(test::error_of([&] { (void)remove_unless_held(table); }),
                  "Table is busy.\nTable: " + table.string());
    }
    EXPECT_FALSE(is_locked_by_others(table));
    EXPECT_FALSE(remove_unless_held(table));
    EXPECT_FALSE(std::filesystem::exists(table));
}

TEST(WindowsAtomicSave, ReplacesKeepingAttributesAndRefusesReadOnlyDocuments) {
    TempDir dir;
    const auto document = dir / "saga.xml";
    test::write_bytes(document, "old");
    ASSERT_TRUE(::SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(replace_file_atomically(document, "new"));
    EXPECT_EQ(read(document), "new");
    EXPECT_TRUE(::GetFileAttributesW(document.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    ASSERT_TRUE(::SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(replace_file_atomically(document, "newer"), std::errc::permission_denied);
    EXPECT_EQ(read(document), "new");
    ::SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_NORMAL);

    const auto fresh = dir / "nuevo.xml";
    EXPECT_FALSE(replace_file_atomically(fresh.generic_wstring(), "first"));  // forward slashes too
    EXPECT_EQ(read(fresh), "first");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
        << "no temporary file is left behind";
}

TEST(WindowsDirectionLock, OneDirectionAtATimePerExchangeDirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir / "HTEMP");
    {
        DirectionLock first(dir / "HTEMP");
        // Another spelling of the same folder is the same folder.
        const std::string message = test::error_of([&] { DirectionLock second(dir / "htemp\\"); });
        EXPECT_TRUE(message.starts_with("Otra conversión está usando el directorio de intercambio "))
            << message;
        EXPECT_NO_THROW(DirectionLock other(dir.path()));
    }
    EXPECT_NO_THROW(DirectionLock again(dir / "HTEMP"));
    EXPECT_EQ(test::error_of([&] { DirectionLock missing(dir / "none"); }),
              "No existe el directorio de intercambio " + (dir / "none").string());
}

} // namespace
} // namespace enlazor
