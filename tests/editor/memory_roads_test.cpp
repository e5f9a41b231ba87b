// Memory running out for real, under a lowered address-space limit, on each road that takes a
// page's size in memory: each says so, gives back what it took, and works again afterwards.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <limits>

#include "host/editor/default_html_documents.h"
#include "host/editor/page.h"
#include "host/editor/rendered_text.h"
#include "host/site/region_update.h"

namespace {

// Allows `headroom` bytes beyond what the process maps now. Large blocks come from fresh
// mappings and free ones go back, so the limit meets what the road asks for.
struct AddressSpaceLimit {
    explicit AddressSpaceLimit(rlim_t headroom) {
        mallopt(M_MMAP_THRESHOLD, 128 << 10);
        malloc_trim(0);
        getrlimit(RLIMIT_AS, &before);
        std::ifstream status("/proc/self/status");
        rlim_t kib = 0;
        for (std::string key; status >> key && !(key == "VmSize:" && status >> kib);) {
        }
        rlimit lowered{kib * 1024 + headroom, before.rlim_max};
        setrlimit(RLIMIT_AS, &lowered);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &before); }
    rlimit before{};
};

TEST(MemoryRoads, RunningOutGivesAMessageAndTheRoadWorksAgainAfterwards) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory needs the whole address space";
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath("large.html");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<!DOCTYPE html><body><div id=\"OstrelInsert\">old</div>\n");
    for (qint64 n = 0; n < (qint64(12) << 20); n += 32)
        f.write("<p>a line of the large page</p>\n");
    f.close();
    const auto documents = host::defaultHtmlDocuments();
    const std::unique_ptr<host::Page> opened = host::Page::open(path, documents);
    // Edited: an unchanged page is rendered from the bytes it holds, with no copy to run out.
    opened->pageText()->replace(0, 0, "\n");

    // Each road gives its message, empty when it went through.
    const std::pair<const char*, std::function<QString()>> roads[] = {
        {"memory ran out while reading it",
         [&] {
             try {
                 host::Page::open(path, documents, std::numeric_limits<std::int64_t>::max() / 2);
             } catch (const host::PageError& e) {
                 return e.message();
             }
             return QString();
         }},
        {"not enough memory to copy it for the rendered view",
         [&] { return host::renderedText(*opened).declined; }},
        {"not enough memory to plan its update",
         [&] { return host::site::planPage(path, "OstrelInsert", "new").reason; }},
    };
    for (const auto& [says, run] : roads) {
        QString failed;
        {
            // 12 MB: 16 MB more reads it, but cannot hold its text (24 MB in UTF-16).
            const AddressSpaceLimit limit(16 << 20);
            failed = run();
        }
        EXPECT_TRUE(failed.contains(says)) << failed.toStdString();
        EXPECT_EQ(run(), QString()) << says;
    }
}

}  // namespace
