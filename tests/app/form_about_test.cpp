#include "about_text.h"
#include "form_about.h"
#include "print_service_scope.h"
#include "scripted_dialogs.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kadrix::test {
namespace {

class AboutDialog : public ::testing::Test {
protected:
    ScriptedDialogsScope dialogs;
    TFormAbout form;

    template <typename T> T* control(const char* name) {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }
};

TEST_F(AboutDialog, CaptionSizeAndControls) {
    EXPECT_EQ(form.objectName(), QStringLiteral("FormAbout"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("About.."));
    EXPECT_EQ(form.size(), QSize(613, 430));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.pos(), QPoint(592, 221));
    EXPECT_FALSE(form.isVisible());

    auto* image = control<QLabel>("Image1");
    EXPECT_EQ(image->geometry(), QRect(16, 16, 105, 105));
    EXPECT_TRUE(image->hasScaledContents());
    EXPECT_EQ(image->pixmap().size(), QSize(64, 64));

    auto* title = control<QLabel>("Label1");
    EXPECT_EQ(title->text(), QStringLiteral(" Kadrix"));
    EXPECT_EQ(title->pos(), QPoint(232, 8));
    EXPECT_EQ(title->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(title->font().pixelSize(), 40);
    EXPECT_TRUE(title->font().bold());
    EXPECT_TRUE(title->font().underline());

    const struct {
        const char* name;
        const char* text;
        QRect place;
    } buttons[] = {{"SpeedButton2", "Print...", QRect(40, 184, 65, 22)},
                   {"SpeedButton1", "Close", QRect(40, 232, 65, 22)}};
    for (const auto& b : buttons) {
        EXPECT_EQ(control<QToolButton>(b.name)->text(), QString::fromLatin1(b.text)) << b.name;
        EXPECT_EQ(control<QToolButton>(b.name)->geometry(), b.place) << b.name;
    }

    auto* memo = control<QPlainTextEdit>("Memo1");
    EXPECT_EQ(memo->geometry(), QRect(136, 64, 457, 353));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(AboutDialog, TheAboutTextHasItsLineGroups) {
    const QStringList lines = form.memoLines();
    EXPECT_EQ(lines, aboutText());
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("Kadrix - 1.0 - ")));
    const auto at = [&](const QString& text) { return lines.indexOf(text); };

    const qsizetype manual = at(QStringLiteral(" Quick Manual in few words:"));
    ASSERT_GT(manual, 0);
    EXPECT_TRUE(lines[manual - 1].startsWith(QStringLiteral("*****")));
    EXPECT_TRUE(lines[manual + 1].startsWith(QStringLiteral("*****")));
    EXPECT_EQ(lines[manual + 2], QStringLiteral("Kadrix"));

    qsizetype previous = manual;
    for (const char* heading : {"How that works?", "Available Processes", "Batch Operations",
                                "About the Interface:", "New", "To do:"}) {
        const QString framed = QStringLiteral("****** %1 ******").arg(QLatin1String(heading));
        const qsizetype line = at(framed);
        ASSERT_GT(line, previous) << heading;
        EXPECT_TRUE(lines[line + 1].isEmpty()) << heading;
        previous = line;
    }
    const qsizetype enjoy = at(QStringLiteral("**** Enjoy it!! *****"));
    EXPECT_GT(enjoy, previous);
    EXPECT_EQ(enjoy, lines.size() - 2);
    EXPECT_FALSE(lines.last().isEmpty());
}

TEST_F(AboutDialog, CloseEndsTheModalShowing) {
    // A second timer rejects the dialog should Close not end it, so that a
    // failure cannot hang the suite.
    QTimer::singleShot(0, &form, [this] { control<QToolButton>("SpeedButton1")->click(); });
    QTimer::singleShot(5000, &form, [this] { form.done(-1); });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(AboutDialog, PrintSendsEveryMemoLineAsOneJob) {
    PrintServiceScope<> printer;
    control<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(printer->jobs.size(), 1u);
    EXPECT_EQ(printer->jobs[0], aboutText());
    EXPECT_GT(printer->jobs[0].count(QString()), 6);
    EXPECT_TRUE(dialogs->errors.empty());
}

TEST_F(AboutDialog, PrintWritesTheAboutTextToAPdfPrinter) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("about.pdf"));
    PrintServiceScope<PrinterPrintService> service([&path] { return pdfPrinter(path); });
    control<QToolButton>("SpeedButton2")->click();
    EXPECT_TRUE(dialogs->errors.empty());
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_GT(QFile(path).size(), 0);
    const int pages = pdfPageCount(path);
    EXPECT_GE(pages, 1);
    EXPECT_LE(pages, 3);
}

TEST_F(AboutDialog, APrinterFailureIsShownAndChangesNothing) {
    PrintServiceScope<PrinterPrintService> service(
        [] { return pdfPrinter(QStringLiteral("/no/such/folder/about.pdf")); });
    control<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(dialogs->errors.size(), 1u);
    EXPECT_TRUE(dialogs->errors[0].contains(QStringLiteral("/no/such/folder/about.pdf")));
    EXPECT_EQ(form.memoLines(), aboutText());
    EXPECT_FALSE(form.isVisible());
}

} // namespace
} // namespace kadrix::test
