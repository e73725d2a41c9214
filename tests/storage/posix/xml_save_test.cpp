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
using xmltest::read_file;

const std::string kOriginal = "<?xml version=\"1.0\"?>\n<document>\n  <subjects/>\n</document>\n";

struct stat status_of(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info;
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.write("saga.xml", kOriginal);
        document.load(path);
        set_attribute(document.append_child(document.document_element(), document.create_element("time-tables")),
                      "id", u"tt1");
    }
    std::string failure() {
        return error_message([&] { document.save(path); });
    }
    void expect_original_untouched() {
        EXPECT_EQ(read_file(path), kOriginal);
        EXPECT_THAT(folder.entries(), ElementsAre("saga.xml"));
    }

    xmltest::Folder folder;
    std::filesystem::path path;
    XmlDocument document;
};

TEST_F(AtomicSave, SaveReplacesTheContentAndKeepsPermissionsAndOwner) {
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4321), 0);
    }
    document.save(path);
    EXPECT_EQ(read_file(path), document.serialize());
    EXPECT_EQ(status_of(path).st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status_of(path).st_uid, 4321u);
    }
    EXPECT_THAT(folder.entries(), ElementsAre("saga.xml"));
}

TEST_F(AtomicSave, NewPathIsCreatedAndLinksKeepPointingAtTheirTarget) {
    const mode_t umask = ::umask(022);
    document.save(folder.path / "nuevo.xml");
    ::umask(umask);
    EXPECT_EQ(read_file(folder.path / "nuevo.xml"), document.serialize());
    EXPECT_EQ(status_of(folder.path / "nuevo.xml").st_mode & 07777, 0644u);

    std::filesystem::create_symlink(path, folder.path / "enlace.xml");
    document.save(folder.path / "enlace.xml");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path / "enlace.xml"));
    EXPECT_EQ(read_file(path), document.serialize());
}

TEST_F(AtomicSave, ReadOnlyFileIsLeftAloneEvenForTheSuperUser) {
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(failure(), "No se puede guardar el documento " + path.string() + ": Permission denied");
    expect_original_untouched();
}

TEST_F(AtomicSave, VanishedFolderGivesAClearError) {
    std::filesystem::remove_all(folder.path);
    EXPECT_EQ(failure(), "No se puede guardar el documento " + path.string() + ": No such file or directory");
}

TEST_F(AtomicSave, WriteCutShortLeavesTheOriginalAndNoTemporaryFile) {
    set_attribute(document.document_element(), "relleno", std::u16string(64 * 1024, u'x'));
    // The file size limit makes the write fail part of the way through.
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = failure();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);

    EXPECT_EQ(message, "No se puede guardar el documento " + path.string() + ": File too large");
    expect_original_untouched();
}

} // namespace
} // namespace enlazor
