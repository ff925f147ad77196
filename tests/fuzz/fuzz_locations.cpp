// Feeds arbitrary bytes to the locations reader. Whatever it accepts must write back and read
// back into the same table, headers and primary site, and writing that again must give the same
// bytes.

#include "fuzzsupport.h"
#include "sites/locationsfile.h"

namespace {

const QString kFileName = QStringLiteral("locations.txt");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    LocationsContent content;
    QString error;
    if (!ParseLocations(bytes, kFileName, &content, &error)) {
        FuzzCheck(!error.isEmpty(), "a refused file without a message");
        FuzzCheck(error.contains(kFileName) && error.contains(QStringLiteral("line")),
                  "a refusal that does not name the file and line", error);
        return 0;
    }
    FuzzCheck(error.isEmpty(), "an accepted file with a message", error);
    FuzzCheck(content.primaryIndex >= -1 &&
                  content.primaryIndex < std::int64_t(content.sites.size()),
              "the primary index lies outside the table");

    QByteArray written;
    FuzzCheck(FormatLocations(content.sites, content.headers, &written, &error),
              "a table read from the file cannot be written back", error);

    LocationsContent reread;
    FuzzCheck(ParseLocations(written, kFileName, &reread, &error),
              "the written file does not read back", error);
    FuzzCheck(reread.headers == content.headers, "the header lines change on writing",
              reread.headers.LocationsHeader1 + QLatin1Char('|') + reread.headers.LocationsHeader2);
    FuzzCheck(reread.sites.size() == content.sites.size(), "the site count changes on writing");
    for (std::size_t i = 0; i < content.sites.size(); ++i)
        FuzzCheck(reread.sites[i] == content.sites[i], "a site changes on writing",
                  content.sites[i].Name + QLatin1String(" / ") + reread.sites[i].Name);
    FuzzCheck(reread.primaryIndex == content.primaryIndex, "the primary site changes on writing");

    QByteArray rewritten;
    FuzzCheck(FormatLocations(reread.sites, reread.headers, &rewritten, &error) &&
                  rewritten == written,
              "writing the read-back table gives other bytes");
    return 0;
}
