// The two integer readers of the numeric fields and the quality field's
// change rule. ParseInteger (target size, start, digit count) must accept
// exactly the texts its rule describes; readInteger (the JPEG options) must
// report a position inside the text; and whatever is typed into the quality
// field, the field must settle on a number from 5 to 95 without touching
// the JPEG options, also after "+" and "-".
#include "fuzz_support.h"

#include "form_op_jpeg.h"
#include "integer_text.h"
#include "jpeg_defaults.h"
#include "naming.h"

#include <QLineEdit>

using namespace kadrix;
using fuzz::check;

namespace {

// A second, plain reading of ParseInteger's rule to compare against.
std::optional<qint64> referenceParse(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false, signed_ = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        signed_ = true;
        ++i;
    }
    int base = 10;
    if (!signed_ && i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (!signed_ && i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        bool ok = false;
        const int digit = QString(text[i]).toInt(&ok, base);
        if (!ok || text[i] == u'+' || text[i] == u'-' || text[i] == u' ')
            return std::nullopt;
        value = value * base + digit;
        if (value > (qint64(1) << 31))
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < -(qint64(1) << 31) || value > (qint64(1) << 31) - 1)
        return std::nullopt;
    return value;
}

bool isQualityText(const QString& text) {
    const IntegerReading reading = readInteger(text);
    return reading.errorPosition == 0 && reading.value >= 5 && reading.value <= 95;
}

// Lives as long as the process, like the application it needs (see
// ensureApplication).
TFormOpJpeg& dialog() {
    static TFormOpJpeg* form = [] {
        fuzz::ensureApplication();
        return new TFormOpJpeg(); // NOLINT: deliberately immortal
    }();
    return *form;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    (void)dialog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QString text = fuzz::textFrom(data + 1, size - 1, (data[0] & 1) != 0);

    const std::optional<qint32> parsed = ParseInteger(text);
    const std::optional<qint64> expected = referenceParse(text);
    check(parsed.has_value() == expected.has_value(), "ParseInteger accepts another set of texts");
    if (parsed)
        check(*parsed == *expected, "ParseInteger reads another value");

    const IntegerReading reading = readInteger(text);
    check(reading.errorPosition >= 0 && reading.errorPosition <= text.size() + 1,
          "an error position outside the text");
    check(reading.value >= -(qint64(1) << 31) && reading.value <= (qint64(1) << 31),
          "a reading outside 32 bits");
    if (reading.errorPosition == 0)
        check(reading.value <= (qint64(1) << 31) - 1, "an accepted value above the 32-bit range");

    // The change rule, on a text typed over the field, then "+" and "-".
    TFormOpJpeg& form = dialog();
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("EditCompressionQuality"));
    check(edit != nullptr, "no quality field");
    const TJPEGDefaults before = JpegDefaults;
    edit->setText(text);
    check(isQualityText(edit->text()), "the quality field holds something else than 5 to 95");
    const QString settled = edit->text();
    if ((data[0] & 2) != 0)
        form.SpeedButtonUpClick();
    else
        form.SpeedButtonDownClick();
    check(isQualityText(edit->text()), "a step left the quality outside 5 to 95");
    const qint64 stepped = readInteger(edit->text()).value;
    const qint64 old = readInteger(settled).value;
    check((data[0] & 2) != 0 ? stepped >= old : stepped <= old, "a step went the wrong way");
    check(JpegDefaults == before, "typing or stepping changed the JPEG options");
    return 0;
}
