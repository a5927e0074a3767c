#include "text_printer.h"

#include "errors.h"
#include "text_print_layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kadrix {
namespace {

QString printerName(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName();
    return printer.printerName();
}

Error printerError(const QPrinter& printer) {
    return Error(QStringLiteral("Erreur d'impression sur « %1 »").arg(printerName(printer)));
}

} // namespace

int printTextLines(QPrinter& printer, const QStringList& lines) {
    if (!printer.isValid())
        throw Error(
            QStringLiteral("L'imprimante « %1 » n'est pas valide").arg(printerName(printer)));
    QPainter painter;
    if (!painter.begin(&printer))
        throw printerError(printer);

    // The painter ends the job when it goes, also when drawing throws.
    const QFontMetrics font = painter.fontMetrics();
    const int ascent = font.ascent();
    TextPrintMetrics metrics;
    metrics.textWidth = [&font](QStringView text) {
        return font.horizontalAdvance(text.toString());
    };
    metrics.textHeight = font.height();
    metrics.charHeight = font.height();
    metrics.pageWidth = printer.width();
    metrics.pageHeight = printer.height();

    int page = 0;
    for (const PlacedLine& line : layoutTextLines(lines, metrics)) {
        while (page < line.page) {
            if (!printer.newPage())
                throw printerError(printer);
            ++page;
        }
        if (!line.text.isEmpty())
            painter.drawText(QPoint(0, line.y + ascent), line.text);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw printerError(printer);
    return page + 1;
}

std::unique_ptr<QPrinter> openDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw Error(QStringLiteral("Aucune imprimante par défaut n'est installée"));
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid())
        throw Error(QStringLiteral("L'imprimante « %1 » n'est pas valide").arg(info.printerName()));
    return printer;
}

PrinterPrintService::PrinterPrintService(PrinterFactory openPrinter)
    : openPrinter_(std::move(openPrinter)) {}

void PrinterPrintService::printLines(const QStringList& lines) {
    const std::unique_ptr<QPrinter> printer = openPrinter_();
    printTextLines(*printer, lines);
}

namespace {

std::unique_ptr<PrintService>& current() {
    static std::unique_ptr<PrintService> service = std::make_unique<PrinterPrintService>();
    return service;
}

} // namespace

PrintService& printing() {
    return *current();
}

std::unique_ptr<PrintService> setPrintService(std::unique_ptr<PrintService> service) {
    std::swap(current(), service);
    return service;
}

} // namespace kadrix
