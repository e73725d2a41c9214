// Saving over the school's file: all or nothing. A save that cannot finish
// leaves the original byte for byte as it was and no stray file beside it.
#include "xml_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enlazor {
namespace {

using ::testing::ElementsAre;
using xmltest::error_message;
using xmltest::Folder;
using xmltest::read_bytes;

const std::string kOriginal = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document>\n  <subjects/>\n</document>\n";

mode_t mode_of(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

mode_t current_umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The import's change: a new section at the end of the document element.
void add_section(XmlDocument& document) {
    const pugi::xml_node section = document.append_child(document.document_element(),
                                                         document.create_element("time-tables"));
    set_attribute(section, "id", u"tt1");
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.write("saga.xml", kOriginal);
        document.load(path);
        add_section(document);
    }

    Folder folder;
    std::filesystem::path path;
    XmlDocument document;
};

TEST_F(AtomicSave, SaveReplacesTheContentAndKeepsThePermissions) {
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    document.save(path);
    EXPECT_EQ(read_bytes(path), document.serialize());
    EXPECT_EQ(mode_of(path), 0640u);
    EXPECT_THAT(folder.entries(), ElementsAre("saga.xml"));
}

TEST_F(AtomicSave, UnchangedDocumentSavedOverItselfIsByteIdentical) {
    XmlDocument unchanged;
    unchanged.load(path);
    unchanged.save(path);
    EXPECT_EQ(read_bytes(path), kOriginal);
}

TEST_F(AtomicSave, NewPathIsCreatedWithTheUsualPermissions) {
    const auto fresh = folder / "nuevo.xml";
    document.save(fresh);
    EXPECT_EQ(read_bytes(fresh), document.serialize());
    EXPECT_EQ(mode_of(fresh), 0644u & ~current_umask());
}

TEST_F(AtomicSave, ReadOnlyFileIsLeftAloneEvenForTheSuperUser) {
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(error_message([&] { document.save(path); }),
              "No se puede guardar el documento " + path.string() + ": Permission denied");
    EXPECT_EQ(read_bytes(path), kOriginal);
    EXPECT_EQ(mode_of(path), 0444u);
    EXPECT_THAT(folder.entries(), ElementsAre("saga.xml"));
}

TEST_F(AtomicSave, VanishedFolderGivesAClearError) {
    const auto inner = folder / "curso";
    std::filesystem::create_directory(inner);
    const auto moved = inner / "saga.xml";
    document.save(moved);
    std::filesystem::remove_all(inner);
    EXPECT_EQ(error_message([&] { document.save(moved); }),
              "No se puede guardar el documento " + moved.string() + ": No such file or directory");
}

TEST_F(AtomicSave, WriteThatFailsHalfwayLeavesTheOriginalAndNoTemporaryFile) {
    set_attribute(select_nodes(document.root(), {"document", "time-tables"}).at(0), "relleno",
                  std::u16string(64 * 1024, u'x'));
    // The file size limit makes the write fail part of the way through.
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = error_message([&] { document.save(path); });
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);

    EXPECT_EQ(message, "No se puede guardar el documento " + path.string() + ": File too large");
    EXPECT_EQ(read_bytes(path), kOriginal);
    EXPECT_THAT(folder.entries(), ElementsAre("saga.xml"));
}

TEST_F(AtomicSave, DirectoryInPlaceOfTheFileIsRefused) {
    EXPECT_EQ(error_message([&] { document.save(folder.path()); }),
              "No se puede guardar el documento " + folder.path().string() + ": Is a directory");
}

TEST_F(AtomicSave, SymbolicLinkStaysAndItsTargetGetsTheNewContent) {
    const auto link = folder / "enlace.xml";
    std::filesystem::create_symlink(path, link);
    document.save(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(read_bytes(path), document.serialize());
}

TEST_F(AtomicSave, OwnerOfTheFileIsKeptWhenTheSuperUserSaves) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super-user can give a file to someone else";
    ASSERT_EQ(::chown(path.c_str(), 4321, 4321), 0);
    document.save(path);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4321u);
}

TEST_F(AtomicSave, FolderWithoutWritePermissionLeavesTheFileAlone) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the super-user may write in any folder";
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_EQ(error_message([&] { document.save(path); }),
              "No se puede guardar el documento " + path.string() + ": Permission denied");
    EXPECT_EQ(read_bytes(path), kOriginal);
}

} // namespace
} // namespace enlazor
