#pragma once

#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;

namespace kadrix {

// Prints lines of plain text on an already set-up printer as one job: the
// painter's default font, from the top-left corner of the printable area, laid
// out by layoutTextLines(). The job is closed however printing ends. Throws
// Error when the printer cannot be opened or fails. Returns the pages printed.
int printTextLines(QPrinter& printer, const QStringList& lines);

// Opens the default printer for one job; throws Error when there is none or
// it is not usable.
std::unique_ptr<QPrinter> openDefaultPrinter();

// Plain-text printing as the program uses it. The default service prints on
// the default printer; tests install one that prints to a file.
class PrintService {
public:
    virtual ~PrintService() = default;
    // Prints the lines as one job; throws Error on failure.
    virtual void printLines(const QStringList& lines) = 0;
};

// A print service that prints on the printers a factory opens, one per job.
class PrinterPrintService final : public PrintService {
public:
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;
    explicit PrinterPrintService(PrinterFactory openPrinter = openDefaultPrinter);
    void printLines(const QStringList& lines) override;

private:
    PrinterFactory openPrinter_;
};

PrintService& printing();

// Replaces the service and returns the previous one (tests restore it).
std::unique_ptr<PrintService> setPrintService(std::unique_ptr<PrintService> service);

} // namespace kadrix
