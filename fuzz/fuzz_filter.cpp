// The picture filter text and its descriptions: for any registered
// descriptions and extensions, the combined entry (with more than one type)
// comes first, each type's "description (*.ext)" follows newest first, and
// FilterDescriptions gives back exactly those descriptions when no text
// holds the "|" separator. FilterDescriptions must take any text.
#include "fuzz_support.h"

#include "file_filter.h"
#include "picture_registry.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kadrix;
using fuzz::check;

namespace {

QString takeText(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(24);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int count = input.ConsumeIntegralInRange(0, 8);
    std::vector<std::pair<QString, QString>> formats;
    bool separatorFree = true;
    for (int i = 0; i < count; ++i) {
        formats.emplace_back(takeText(input), takeText(input));
        separatorFree = separatorFree && !formats.back().first.contains(u'|') &&
                        !formats.back().second.contains(u'|');
    }
    const QString filter = buildFilterText(formats);
    const QStringList descriptions = FilterDescriptions(filter);
    check(descriptions.size() <= filter.count(u'|') / 2 + 1, "more descriptions than pieces");

    if (separatorFree) {
        QStringList expected;
        QStringList masks;
        for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
            expected << QStringLiteral("%1 (*.%2)").arg(it->first, it->second);
            masks << QStringLiteral("*.") + it->second;
        }
        if (formats.size() > 1)
            expected.prepend(QStringLiteral("Tous (%1)").arg(masks.join(u';')));
        check(descriptions == expected, "the descriptions differ from the registered types");
        for (const QString& d : descriptions)
            check(d.endsWith(u')'), "a description without its masks in parentheses");
    }

    // Any text, as a dialog might be handed one.
    const QString raw = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QString& piece : FilterDescriptions(raw))
        check(!piece.isEmpty() && !piece.contains(u'|'), "an empty or split description");
    return 0;
}
