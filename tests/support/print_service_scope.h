#pragma once

#include "text_printer.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include <memory>
#include <vector>

namespace kadrix::test {

// A print service that records each job's lines instead of printing.
class RecordingPrintService final : public PrintService {
public:
    std::vector<QStringList> jobs;
    void printLines(const QStringList& lines) override { jobs.push_back(lines); }
};

// Installs a print service for its lifetime and restores the previous one.
template <typename Service = RecordingPrintService> class PrintServiceScope {
public:
    template <typename... Args> explicit PrintServiceScope(Args&&... args) {
        auto owned = std::make_unique<Service>(std::forward<Args>(args)...);
        service_ = owned.get();
        previous_ = setPrintService(std::move(owned));
    }
    ~PrintServiceScope() { setPrintService(std::move(previous_)); }
    PrintServiceScope(const PrintServiceScope&) = delete;
    PrintServiceScope& operator=(const PrintServiceScope&) = delete;

    Service* operator->() { return service_; }

private:
    Service* service_; // owned by the print service slot
    std::unique_ptr<PrintService> previous_;
};

// A printer that writes its job to a PDF file.
inline std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

// The pages of a PDF file: its page objects ("/Type /Page", not "/Pages").
inline int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

} // namespace kadrix::test
