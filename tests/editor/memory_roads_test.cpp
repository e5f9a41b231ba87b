// Memory running out for real (under a lowered address-space limit) on each road that takes
// a page's size in memory: opening it, copying it for the rendered view, planning a site
// update. Each road says so, gives back what it took, and works again once memory is there.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

#include "host/editor/default_html_documents.h"
#include "host/editor/page.h"
#include "host/editor/rendered_text.h"
#include "host/site/region_update.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;  // their shadow memory needs the whole address space
#else
constexpr bool kSanitized = false;
#endif

// Allows `headroom` bytes of address space beyond what the process maps now, while it lives.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t headroom) {
        // Large blocks always come from fresh mappings, and free ones are given back, so that
        // the limit measures what a road asks for, not what the heap happens to hold.
        mallopt(M_MMAP_THRESHOLD, 128 << 10);
        malloc_trim(0);
        getrlimit(RLIMIT_AS, &m_before);
        std::ifstream status("/proc/self/status");
        rlim_t kib = 0;
        for (std::string key; status >> key;)
            if (key == "VmSize:" && status >> kib) break;
        rlimit lowered = m_before;
        lowered.rlim_cur = kib * 1024 + headroom;
        setrlimit(RLIMIT_AS, &lowered);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_before); }

private:
    rlimit m_before{};
};

TEST(MemoryRoads, RunningOutGivesAMessageAndTheRoadWorksAgainAfterwards) {
    if (kSanitized) GTEST_SKIP() << "a sanitizer's shadow memory cannot run under an address-space limit";
    QTemporaryDir dir;
    const QString path = dir.filePath("large.html");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<!DOCTYPE html><body><div id=\"OstrelInsert\">old</div>\n");
        const QByteArray line = "<p>a line of the page, long enough to make it large</p>\n";
        for (qint64 n = 0; n < (qint64(12) << 20); n += line.size()) f.write(line);
    }
    // 12 MB: 16 MB more is enough to read it, not to hold its text (24 MB in UTF-16).
    constexpr rlim_t kHeadroom = 16 << 20;
    const auto documents = host::defaultHtmlDocuments();
    const std::unique_ptr<host::Page> opened = host::Page::open(path, documents);

    // Each road returns its message, empty when it went through.
    const struct {
        const char* road;
        std::function<QString()> run;
        const char* says;
    } roads[] = {
        {"open",
         [&] {
             try {
                 host::Page::open(path, documents, std::numeric_limits<std::int64_t>::max() / 2);
                 return QString();
             } catch (const host::PageError& e) {
                 return e.message();
             }
         },
         "memory ran out while reading it"},
        {"rendered view", [&] { return host::renderedText(*opened).declined; },
         "not enough memory to copy it for the rendered view"},
        {"site update",
         [&] { return host::site::planPage(path, "OstrelInsert", "new").reason; },
         "not enough memory to plan its update"},
    };
    for (const auto& r : roads) {
        QString failed;
        {
            const AddressSpaceLimit limit(kHeadroom);
            failed = r.run();
        }
        EXPECT_TRUE(failed.contains(r.says)) << r.road << ": " << failed.toStdString();
        EXPECT_EQ(r.run(), QString()) << r.road;
    }
}

}  // namespace
