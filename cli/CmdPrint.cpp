#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Converters.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "print/PrintPage.h"
#include "render/qt/PictureWriter.h"
#include "view/FirstView.h"

namespace {
const char* kPrintUsage =
    "usage: korvane-cli print IN [OUT.pdf] [--fit] [--paper A4|A3|Letter|...] [--landscape] "
    "[--printer NAME]";

struct PrintOptions {
    std::string in;
    std::string out;
    std::string printer;
    QPageSize paper{QPageSize::A4};
    bool fit = false;
    bool landscape = false;
};

// A paper by Qt's key for it ("A4", "Letter", "Legal"...), case aside.
bool FindPaper(const std::string& name, QPageSize& paper) {
    const QString wanted = QString::fromStdString(name);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(size).compare(wanted, Qt::CaseInsensitive) == 0) {
            paper = QPageSize(size);
            return true;
        }
    }
    return false;
}

int ParsePrint(const Args& args, PrintOptions& options) {
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (optionsEnd || a.empty() || a[0] != '-') {
            files.push_back(a);
        } else if (a == "--") {
            optionsEnd = true;
        } else if (a == "--fit") {
            options.fit = true;
        } else if (a == "--landscape") {
            options.landscape = true;
        } else if (a == "--paper" && hasValue) {
            if (!FindPaper(args[++i], options.paper)) {
                return Fail("unknown paper '" + args[i] + "'\n" + kPrintUsage);
            }
        } else if (a == "--printer" && hasValue) {
            options.printer = args[++i];
        } else {
            return Fail("unknown or incomplete option '" + a + "'\n" + kPrintUsage);
        }
    }
    if (files.empty() || files.size() > 2) return Fail(kPrintUsage);
    if (files.size() == 2 && !options.printer.empty()) {
        return Fail("--printer and OUT.pdf exclude each other\n" + std::string(kPrintUsage));
    }
    options.in = files[0];
    if (files.size() == 2) options.out = files[1];
    return kExitOk;
}

// The view a new window of the default size shows once fitted, as the desktop would print it.
bool Print(QPaintDevice& device, const CKorvaneDoc& doc, bool fit) {
    FirstView view(doc, 1000, 800);
    return PrintPage(device, view.m_view, doc.m_primitives, fit ? 1 : 0);
}
}  // namespace

int RunPrint(const Args& args) {
    PrintOptions options;
    if (int status = ParsePrint(args, options)) return status;
    CliFeedback feedback(options.in);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, feedback, options.in)) return kExitFailure;
    if (!options.out.empty()) {
        if (int status = RefuseDamagedOverwrite(doc, feedback, options.in, options.out)) {
            return status;
        }
    }
    EnsureGuiApplication();
    const QPageLayout::Orientation orientation =
        options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (options.out.empty()) {
        QPrinter printer(QPrinter::HighResolution);
        if (!options.printer.empty())
            printer.setPrinterName(QString::fromStdString(options.printer));
        printer.setPageSize(options.paper);
        printer.setPageOrientation(orientation);
        if (!printer.isValid() || !Print(printer, doc, options.fit)) {
            return Fail(PrintRefusedMessage().toStdString());
        }
    } else {
        // Into memory first, so that a failure leaves no half-written file.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(1200);
            pdf.setPageLayout(QPageLayout(options.paper, orientation, QMarginsF(0, 0, 0, 0)));
            if (!Print(pdf, doc, options.fit)) return Fail(PrintRefusedMessage().toStdString());
        }
        try {
            Store(options.out, bytes);
        } catch (const FileError& e) {
            return Fail(e.what());
        }
    }
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
