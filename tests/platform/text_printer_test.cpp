#include "dispatch.h"
#include "errors.h"
#include "print_service_scope.h"
#include "scripted_dialogs.h"
#include "text_printer.h"

#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kadrix {
namespace {

TEST(TextPrinter, ALongTextAndOverlongLinesFillSeveralPages) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.pdf"));
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << (i % 3 == 0 ? QString() : QStringLiteral("line %1 ").arg(i).repeated(i % 40));
    auto printer = test::pdfPrinter(path);
    const int pages = printTextLines(*printer, lines);
    EXPECT_GT(pages, 2);
    EXPECT_EQ(test::pdfPageCount(path), pages);
}

TEST(TextPrinter, AJobThatCannotStartReportsThePrinterError) {
    test::ScriptedDialogsScope dialogs;
    test::PrintServiceScope<PrinterPrintService> service(
        [] { return test::pdfPrinter(QStringLiteral("/no/such/folder/out.pdf")); });
    EXPECT_FALSE(dispatch([] { printing().printLines({QStringLiteral("x")}); }));
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_TRUE(dialogs->errors[0].contains(QStringLiteral("/no/such/folder/out.pdf")));
}

TEST(TextPrinter, NoDefaultPrinterIsAnError) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    EXPECT_THROW(openDefaultPrinter(), Error);
}

} // namespace
} // namespace kadrix
