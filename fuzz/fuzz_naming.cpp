// The result naming with arbitrary field texts: any prefix, suffix, start,
// digit count, extension item, destination and source entry must give a path
// made of the normalised destination and a name, with a bounded length, and
// the corrections asked for only where a number does not parse.
#include "fuzz_support.h"

#include "naming.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kadrix;
using fuzz::check;

namespace {

QString takeText(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(64);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    RenameScheme scheme;
    scheme.prefixOn = input.ConsumeBool();
    scheme.nameOn = input.ConsumeBool();
    scheme.suffixOn = input.ConsumeBool();
    scheme.numberOn = input.ConsumeBool();
    const bool writeBack = input.ConsumeBool();
    const bool hasEntry = input.ConsumeBool();
    const int row = input.ConsumeIntegral<int>();
    scheme.prefix = takeText(input);
    scheme.suffix = takeText(input);
    scheme.digits = takeText(input);
    scheme.start = takeText(input);
    scheme.extensionItem = takeText(input);
    scheme.destination = takeText(input);
    const QString entryText = takeText(input);
    const std::optional<QString> entry = hasEntry ? std::optional(entryText) : std::nullopt;

    const ResultName name = buildResultName(scheme, entry, row, writeBack);

    check(name.destination == normaliseFolder(scheme.destination), "destination not normalised");
    check(name.destination.isEmpty() || name.destination.endsWith(u'/'),
          "a destination without its final /");
    check(name.destination.isEmpty() || name.destination.front().unicode() > 32,
          "blanks left before the destination");
    check(name.path.startsWith(name.destination), "the path does not start with the destination");
    check(name.path.endsWith(extensionOfItem(scheme.extensionItem)), "the extension is missing");
    check(name.currentName.has_value() == scheme.nameOn, "current name shown with the part off");
    if (name.currentName)
        check(!name.currentName->contains(u'.') && !name.currentName->contains(u'/'),
              "a current name with a dot or a folder");
    const bool startBad = !ParseInteger(scheme.start).has_value();
    const bool digitsBad = !ParseInteger(scheme.digits).has_value();
    check(name.correctedStart.has_value() == (scheme.numberOn && writeBack && startBad),
          "start corrected when it should not be (or not when it should)");
    check(name.correctedDigits.has_value() == (scheme.numberOn && writeBack && digitsBad),
          "digit count corrected when it should not be (or not when it should)");
    // Every piece is at most 64 characters, and the number at most 255 digits.
    check(name.path.size() <= 64 * 5 + 1 + MaxNumberDigits + 1, "a path longer than its pieces");
    return 0;
}
