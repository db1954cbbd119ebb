#include "GlazeCore/book/PhotoLink.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace GlazeCore;
using PhotoLink::PhotoLinkError;
using PhotoLink::Resolved;

namespace {

/// A fresh folder of real files for each test, removed with everything in it afterwards.
class PhotoLinkFiles : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orza-photo-link-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_folder + "'").c_str()); }

    std::string path(const std::string& name) const { return m_folder + "/" + name; }
    std::string write(const std::string& name, const std::string& content = "picture") const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }

private:
    std::string m_folder;
};

} // namespace

TEST_F(PhotoLinkFiles, aLinkLeadsBackToItsFile) {
    const std::string photo = write("tile.jpg");
    const Bytes link = PhotoLink::make(photo);
    EXPECT_TRUE(PhotoLink::isPlatformLink(link));
    EXPECT_EQ(PhotoLink::resolve(link), (Resolved{photo, false}));

    // Names that are not UTF-8 survive byte for byte.
    const std::string latin1 = write("glas\xE9\xFF.png");
    EXPECT_EQ(PhotoLink::resolve(PhotoLink::make(latin1)), (Resolved{latin1, false}));

    // A relative path counts from the working folder, and the link holds the whole path.
    char here[4096];
    ASSERT_NE(::getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(::chdir(path("").c_str()), 0);
    const Bytes relative = PhotoLink::make("tile.jpg");
    ASSERT_EQ(::chdir(here), 0);
    EXPECT_EQ(PhotoLink::resolve(relative), (Resolved{path("") + "tile.jpg", false}));
}

TEST_F(PhotoLinkFiles, aLinkGoesStaleWhenTheFileOrItsPlaceChanges) {
    const std::string photo = write("tile.jpg");
    const Bytes link = PhotoLink::make(photo);
    // An editor saving over the photo writes a new file and renames it into place.
    write("tile.jpg.new", "edited");
    ASSERT_EQ(std::rename(path("tile.jpg.new").c_str(), photo.c_str()), 0);
    EXPECT_EQ(PhotoLink::resolve(link), (Resolved{photo, true}));
    EXPECT_EQ(PhotoLink::resolve(PhotoLink::make(photo)), (Resolved{photo, false}));

    // Through a linked folder: when the link is pointed elsewhere, the path leads to another file.
    ASSERT_EQ(::mkdir(path("shoot-a").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(path("shoot-b").c_str(), 0700), 0);
    write("shoot-a/t1.jpg");
    write("shoot-b/t1.jpg");
    ASSERT_EQ(::symlink(path("shoot-a").c_str(), path("current").c_str()), 0);
    const Bytes viaLink = PhotoLink::make(path("current/t1.jpg"));
    ASSERT_EQ(::unlink(path("current").c_str()), 0);
    ASSERT_EQ(::symlink(path("shoot-b").c_str(), path("current").c_str()), 0);
    EXPECT_EQ(PhotoLink::resolve(viaLink), (Resolved{path("current/t1.jpg"), true}));

    // When the path leads nowhere any more, the file is still found where it really was.
    ASSERT_EQ(::unlink(path("current").c_str()), 0);
    EXPECT_EQ(PhotoLink::resolve(viaLink), (Resolved{path("shoot-a/t1.jpg"), true}));
}

TEST_F(PhotoLinkFiles, linksThatCannotBeFollowedResolveToNothing) {
    const std::string photo = write("tile.jpg");
    const Bytes link = PhotoLink::make(photo);
    ASSERT_EQ(std::remove(photo.c_str()), 0);
    EXPECT_FALSE(PhotoLink::resolve(link));
    ASSERT_EQ(::mkdir(photo.c_str(), 0700), 0); // a folder where the photo was
    EXPECT_FALSE(PhotoLink::resolve(link));

    // Bytes of another platform's link, and damaged records, are not ours.
    const Bytes foreign{'b', 'o', 'o', 'k', 0x40, 0x02, 0, 0, 0, 0, 0x10, 0x04};
    EXPECT_FALSE(PhotoLink::isPlatformLink(foreign));
    EXPECT_FALSE(PhotoLink::resolve(foreign));
    EXPECT_FALSE(PhotoLink::resolve({}));
    const Bytes good = PhotoLink::make(write("other.jpg"));
    Bytes shortened(good.begin(), good.end() - 1);
    Bytes lengthened = good;
    lengthened.push_back(0);
    Bytes newer = good;
    newer[13] = 2; // the version after the prefix
    for (const Bytes& damaged : {shortened, lengthened, newer}) {
        EXPECT_FALSE(PhotoLink::isPlatformLink(damaged));
        EXPECT_FALSE(PhotoLink::resolve(damaged));
    }
}

TEST_F(PhotoLinkFiles, makingALinkSaysWhyItCannot) {
    const auto errorOf = [](const std::string& target) {
        try {
            PhotoLink::make(target);
        } catch (const PhotoLinkError& error) {
            return error.errorNumber();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(path("missing.jpg")), ENOENT);
    EXPECT_EQ(errorOf(path("")), EISDIR);
    EXPECT_EQ(errorOf(""), ENOENT);
    EXPECT_EQ(PhotoLinkError(ENOENT).message(), "No such file or directory");
}
