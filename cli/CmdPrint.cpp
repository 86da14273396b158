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
    "usage: korvane-cli print IN [OUT.pdf] [--fit] [--paper NAME] [--landscape] [--printer NAME]";

// The papers --paper takes, as --help lists them.
const struct {
    const char* name;
    QPageSize::PageSizeId id;
} kPapers[] = {{"A0", QPageSize::A0},           {"A1", QPageSize::A1},
               {"A2", QPageSize::A2},           {"A3", QPageSize::A3},
               {"A4", QPageSize::A4},           {"A5", QPageSize::A5},
               {"A6", QPageSize::A6},           {"B4", QPageSize::B4},
               {"B5", QPageSize::B5},           {"Letter", QPageSize::Letter},
               {"Legal", QPageSize::Legal},     {"Executive", QPageSize::Executive},
               {"Tabloid", QPageSize::Tabloid}, {"Ledger", QPageSize::Ledger}};

struct PrintOptions {
    std::string in;
    std::string out;
    std::string printer;
    QPageSize paper{QPageSize::A4};
    bool fit = false;
    bool landscape = false;
};

// A paper of the list by its name, case aside.
bool FindPaper(const std::string& name, QPageSize& paper) {
    const QString wanted = QString::fromStdString(name);
    for (const auto& p : kPapers) {
        if (wanted.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            paper = QPageSize(p.id);
            return true;
        }
    }
    return false;
}

std::string PaperList() {
    std::string list;
    for (const auto& p : kPapers) list += (list.empty() ? "" : ", ") + std::string(p.name);
    return list;
}

bool EndsWithPdf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    return QString::fromStdString(path.substr(dot)).compare(".pdf", Qt::CaseInsensitive) == 0;
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
                return Fail("unknown paper '" + args[i] + "'; --paper takes " + PaperList() + "\n" +
                            kPrintUsage);
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
    // print writes nothing but PDF: a plot file named by a slip is never turned into one.
    if (files.size() == 2 && !EndsWithPdf(options.out)) {
        return Fail(options.out + ": the output of print must be a .pdf file\n" + kPrintUsage);
    }
    return kExitOk;
}

// The view a new window of the default size shows once fitted, as the desktop would print it.
bool Print(QPaintDevice& device, const CKorvaneDoc& doc, bool fit) {
    FirstView view(doc, 1000, 800);
    return PrintPage(device, view.m_view, doc.Primitives(), fit ? 1 : 0);
}
}  // namespace

int RunPrint(const Args& args) {
    PrintOptions options;
    if (int status = ParsePrint(args, options)) return status;
    if (!options.out.empty()) {
        if (int status = RefuseForeignOutput(options.in, options.out, "%PDF-", "a PDF file")) {
            return status;
        }
    }
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
