#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Converters.h"
#include "cli/GisModule.h"
#include "cli/QtModule.h"
#include "dxf/DxfConfig.h"
#include "dxf/DxfExport.h"
#include "dxf/DxfLayers.h"
#ifdef KORVANE_WITH_GIS
#include "gis/GisExport.h"
#endif
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "plot/SaveAlongRead.h"

namespace {
const char* kConvertUsage =
    "usage: korvane-cli convert IN OUT [--size WxH] [--face NAME] [--line-width N]\n"
    "                           [--antialias on|off] [--config CFG] [--crs CRS]\n"
    "                           [--format DRIVER]";

int ConvertPlt(CKorvaneDoc& doc, const std::string& out, const ConvertOptions&) {
    const SaveResult saved = doc.OnSaveDocument(out);
    return saved.Ok() ? kExitOk : Fail(saved.message);
}

// ConvertPlt's save, written along the read.
int SaveFollowed(CKorvaneDoc& doc, SaveAlongRead& along, const std::string& out) {
    const SaveResult saved = along.Finish(doc.Primitives());
    if (!saved.Ok()) return Fail(saved.message);
    doc.MarkSaved(out);
    return kExitOk;
}

struct Converter {
    const char* extension;
    int (*convert)(CKorvaneDoc&, const std::string&, const ConvertOptions&);
};

// The export settings from --config as the export dialog's Load reads them; kExitOk, or
// kExitFailure after saying why.
int ApplyConfig(CKorvaneDoc& doc, const ConvertOptions& options) {
    if (!options.config.empty()) {
        // A folder or a file without a single setting is no configuration file: exporting with
        // the defaults instead would pass a mistake for success.
        DxfSettings settings = doc.GetDxfSettings();
        int read = ReadDxfConfig(options.config, settings);
        doc.SetDxfSettings(settings);
        if (read <= 0) return Fail(options.config + ": cannot read the configuration file");
        if (read < DxfSettings::kFieldCount) {
            Fail(options.config + ": warning: only the first " + std::to_string(read) + " of " +
                 std::to_string(DxfSettings::kFieldCount) +
                 " settings could be read; the others keep their defaults");
        }
    }
    return kExitOk;
}

// The drawing is exported with the settings of --config as the export command writes it.
int ConvertDxf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    if (int status = ApplyConfig(doc, options)) return status;
    const std::string colorWarning = LayerColorWarning(doc.GetDxfSettings().layerColor);
    if (!colorWarning.empty()) {
        Fail(out + ": warning: " + colorWarning);
    }
    const SaveResult exported = ExportDxf(doc, out);
    if (exported.error == SaveResult::Error::kExportRefused) {
        return Fail(out + ": " + exported.message);
    }
    return exported.Ok() ? kExitOk : Fail(exported.message);
}

bool IsGis(const std::string& ext, const ConvertOptions& options) {
    return options.Given("--format") || ext == "gpkg" || ext == "geojson";
}

const Converter kConverters[] = {
    {"plt", ConvertPlt},  {"dxf", ConvertDxf},
#if defined(KORVANE_WITH_QT)
    {"png", ConvertPng},  {"svg", ConvertSvg},     {"pdf", ConvertPdf},
#elif defined(KORVANE_QT_MODULE)
    // Pictures are the Qt module's, which runs the whole command.
    {"png", nullptr}, {"svg", nullptr}, {"pdf", nullptr},
#endif
#if defined(KORVANE_WITH_GIS)
    {"gpkg", ConvertGis}, {"geojson", ConvertGis},
#elif defined(KORVANE_GIS_MODULE)
    // GIS formats are the GDAL module's, which runs the whole command.
    {"gpkg", nullptr}, {"geojson", nullptr},
#endif
};

const char kTypes[] = ".plt, .dxf, .png, .svg, .pdf, .gpkg or .geojson";

// Options that only make sense for some outputs are refused for the others, so a typo or a
// misunderstanding is not silently ignored.
int CheckOptionsApply(const std::string& ext, const ConvertOptions& options) {
    const bool gis = IsGis(ext, options);
    if (options.Given("--format")) {
        for (const char* own : {"plt", "dxf", "png", "svg", "pdf"}) {
            if (ext == own) {
                return Fail("--format applies only to a GIS output, not to a ." + ext + "\n" +
                            kConvertUsage);
            }
        }
    }
    if (!gis && options.Given("--crs")) {
        return Fail(std::string("--crs applies only to a GIS output (.gpkg, .geojson or "
                                "--format)\n") +
                    kConvertUsage);
    }
    const bool picture = ext != "plt" && ext != "dxf" && !gis;
    for (const char* option : {"--size", "--face", "--line-width"}) {
        if (!picture && options.Given(option)) {
            return Fail(std::string(option) + " applies only to a picture (.png, .svg, .pdf)\n" +
                        kConvertUsage);
        }
    }
    if (ext != "png" && options.Given("--antialias")) {
        return Fail(std::string("--antialias applies only to a .png output\n") + kConvertUsage);
    }
    if (ext != "dxf" && !gis && options.Given("--config")) {
        return Fail(std::string("--config applies only to a .dxf output or a GIS one\n") +
                    kConvertUsage);
    }
    return kExitOk;
}

std::string ExtensionOf(const std::string& path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}
}  // namespace

// Ends a conversion that went through. Outside a leak-checking build the process ends right
// here: the libraries' exit-time teardown has nothing to do for a conversion, and it would
// page in code of every linked library while the kept document still fills memory, raising
// the run's peak.
int Finish(int status) {
#if defined(__SANITIZE_ADDRESS__)
    return status;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return status;
#endif
#endif
    std::fflush(nullptr);
    std::_Exit(status);
}

#ifdef KORVANE_WITH_GIS
int ConvertGis(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    if (int status = ApplyConfig(doc, options)) return status;
    const std::string driver =
        options.Given("--format") ? options.format : GisDriverOf(ExtensionOf(out));
    const SaveResult exported =
        ExportGis(doc.Primitives(), doc.GetDxfSettings(), {driver, options.crs}, out);
    if (exported.error == SaveResult::Error::kExportRefused) {
        return Fail(out + ": " + exported.message);
    }
    return exported.Ok() ? kExitOk : Fail(exported.message);
}
#endif

struct ConvertedDocument {
    explicit ConvertedDocument(const std::string& in) : feedback(in), doc(feedback) {}
    CliFeedback feedback;
    CKorvaneDoc doc;
};

int RunConvert(const Args& args) {
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(
            args, 2,
            {"--size", "--face", "--line-width", "--antialias", "--config", "--crs", "--format"},
            kConvertUsage, files, options)) {
        return status;
    }
    const std::string& in = files[0];
    const std::string& out = files[1];
    const Converter* converter = nullptr;
    const std::string ext = ExtensionOf(out);
    for (const Converter& c : kConverters) {
        if (ext == c.extension) converter = &c;
    }
    // A driver named makes any output a GIS one.
#if defined(KORVANE_WITH_GIS)
    static const Converter kDriverNamed = {"", ConvertGis};
#elif defined(KORVANE_GIS_MODULE)
    static const Converter kDriverNamed = {"", nullptr};
#else
    if (options.Given("--format")) return Fail("this korvane-cli was built without GIS formats");
#endif
#if defined(KORVANE_WITH_GIS) || defined(KORVANE_GIS_MODULE)
    if (options.Given("--format")) converter = &kDriverNamed;
#endif
    if (ext.empty() && !converter) {
        return Fail(out + ": the output has no extension to tell its type; use " + kTypes);
    }
    if (!converter) {
        return Fail(out + ": unsupported output type '." + ext + "'; use " + kTypes);
    }
    if (int status = CheckOptionsApply(ext, options)) return status;
#ifdef KORVANE_GIS_MODULE
    if (IsGis(ext, options)) return RunInGisModule("convert", args);
#endif
#ifdef KORVANE_QT_MODULE
    if (!converter->convert) return RunInQtModule("convert", args);
#endif
    WarnUnknownFace(options);

    // The document lives to the end of the process: freeing millions of records just before
    // exit only costs time. A static keeps it reachable, so a leak checker sees nothing lost;
    // volatile, or the store nothing reads would be dropped.
    [[maybe_unused]] static ConvertedDocument* volatile leaked = nullptr;
    ConvertedDocument* converted = new ConvertedDocument(in);
    leaked = converted;
    CliFeedback& feedback = converted->feedback;
    CKorvaneDoc& doc = converted->doc;
    // A plot file is written while the input is read: the disk stores the start while the rest
    // is being read. It replaces the target only once all is read and found fit to be written.
    std::unique_ptr<SaveAlongRead> along;
    if (converter->convert == ConvertPlt) {
        along = std::make_unique<SaveAlongRead>(out);
        doc.SetReadObserver([&doc, &along](std::uint64_t) {
            along->Follow(doc.Primitives());
            return true;
        });
    }
    const bool opened = OpenPlot(doc, feedback, in);
    doc.SetReadObserver({});
    if (!opened) return kExitFailure;
    if (int status = RefuseDamagedOverwrite(doc, feedback, in, out)) return status;
    try {
        int status = along ? SaveFollowed(doc, *along, out) : converter->convert(doc, out, options);
        if (status != kExitOk) return status;
    } catch (const FileError& e) {
        return Fail(e.what());
    }
    return Finish(feedback.Messages() ? kExitInvalidRecord : kExitOk);
}
