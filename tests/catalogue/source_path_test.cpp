#include "source_path.h"

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(SourcePathOf, TrimsTheFolderAndAppendsTheEntry) {
    const struct {
        const char* folder;
        const char* entry;
        const char* normalised;
        const char* path;
    } cases[] = {{" /photos ", "IMG_7.JPG", "/photos/", "/photos/IMG_7.JPG"},
                 {"/photos/", "IMG_7.JPG", "/photos/", "/photos/IMG_7.JPG"},
                 {"", "IMG_7.JPG", "", "IMG_7.JPG"},
                 {"  ", "a.bmp", "", "a.bmp"},
                 {"/p", "sub/a.bmp", "/p/", "/p/a.bmp"}};
    for (const auto& c : cases) {
        const SourcePathParts parts =
            sourcePathOf(QString::fromUtf8(c.folder), QString::fromUtf8(c.entry));
        EXPECT_EQ(parts.folder, QString::fromUtf8(c.normalised)) << c.folder;
        EXPECT_EQ(parts.path, QString::fromUtf8(c.path)) << c.folder;
    }
}

} // namespace
} // namespace kadrix
