// Writes the seed books made in code into the folder given: the sample book as saved today, and the same book as
// an older version wrote it (no codes, no next tile number).

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/SampleBook.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace GlazeCore;

namespace {

bool write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    GlazeBook book = SampleBook::makeBook();
    bool ok = write(folder + "/sample-book.orzabook", GlazeBookCodec::encode(book));
    for (TestTile& tile : book.tests)
        tile.code.clear();
    book.version = 1;
    book.nextTileNumber = 1;
    ok = write(folder + "/sample-book-version-1.orzabook", GlazeBookCodec::encode(book)) && ok;
    if (!ok) std::fprintf(stderr, "could not write the seed books into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
