#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

namespace {
const char kPictureOptions[] =
    "  --size WxH        client size of the simulated view in pixels, each 1 to 100000\n"
    "                    (default 1000x800); a picture of more than 2^28 pixels, or a PDF\n"
    "                    page with a side over 19200 pixels (200 inches), is refused\n"
    "  --face NAME       text face: Velmaro, the built-in stroke font (default), or an\n"
    "                    installed font family ('korvane-cli fonts' lists them)\n"
    "  --line-width N    pen width in logical units of the view, 0 to 1000; 0 (default)\n"
    "                    draws every pen one pixel wide whatever the zoom\n";

const Command kCommands[] = {
    {"dump", "dump FILE",
     "Prints one line per primitive of the plot file FILE: its kind and fields.", RunDump},
    {"info", "info FILE",
     "Prints the number of primitives of the plot file FILE and the drawing's size in inches,\n"
     "as Drawing Status shows them in a new 1000 x 800 view.",
     RunInfo},
    {"convert",
     "convert IN OUT [--size WxH] [--face NAME] [--line-width N] [--antialias on|off]\n"
     "          [--config CFG] [--crs CRS] [--format DRIVER]",
     "Reads the plot file IN and writes OUT, whose type follows its extension:\n"
     "  .plt  the drawing as plot records, as File > Save writes it\n"
     "  .png, .svg, .pdf  the drawing as a new view of client size WxH shows it once fitted\n"
     "  .dxf  an AutoCAD DXF file, as the DXF export writes it; its parameters (layers,\n"
     "        colours, conversion, correspondence points) come from the configuration\n"
     "        file CFG when --config is given, else the built-in defaults. An export\n"
     "        whose correspondence points define no transform, or with a layer name\n"
     "        DXF readers refuse, is refused (exit 1); colours outside 0..256 are\n"
     "        written as given, with a warning.\n"
     "  .gpkg, .geojson  GeoPackage or GeoJSON (through GDAL): the DXF export's\n"
     "        entities as features in its world coordinates (--config as for .dxf),\n"
     "        in layers lines, texts, symbols and circles; --crs CRS names their\n"
     "        coordinate system (EPSG:32633, a WKT or a PROJ string), GeoJSON then\n"
     "        in longitude and latitude; --format DRIVER writes any vector driver\n"
     "        of GDAL to OUT (a folder of files for one-layer-per-file drivers)\n"
     "Options for pictures only:\n"
     "%s"
     "  --antialias on|off  (.png only) lines smoothed (on, the default) or drawn with the\n"
     "                    screen's crisp pixels, which also writes a smaller file sooner\n"
     "  --config CFG      (.dxf only) the export parameters; a file that cannot be read or\n"
     "                    holds none of the 34 settings is refused (exit 1)\n"
     "The output replaces OUT only once it is complete, writing through a symbolic link to\n"
     "its target; a read-only OUT, or one that is not a regular file, is refused (exit 1),\n"
     "and so is a link or a file in a shared sticky folder such as /tmp that belongs to\n"
     "neither you nor the folder's owner. A replaced OUT keeps its permissions (never the\n"
     "set-user-ID, set-group-ID or sticky bit) and, where you may set them, owner and group.\n"
     "When IN has an invalid record, what came before it is written (exit 2), except when\n"
     "not a single record could be read or OUT is IN itself: then nothing is written.\n"
     "'--' ends the options, for file names that start with '-'.",
     RunConvert},
    {"trace", "trace FILE [--size WxH] [--face NAME] [--line-width N]",
     "Prints the drawing calls a new view of client size WxH makes in its second paint,\n"
     "after fitting itself to the drawing, one per line, then 'end DRAWN MAXX MAXY'.\n"
     "%s",
     RunTrace},
    {"find", "find FILE TEXT [--match-case] [--config CFG]",
     "Prints one line per text or number record of the plot file FILE whose text as drawn\n"
     "(numbers formatted as drawn) holds TEXT: 'RECORD X Y TEXT', RECORD numbered as the lines\n"
     "of 'korvane-cli dump' from 1, X and Y where the text starts, in plot inches with three\n"
     "decimals. Letters match whatever their case unless --match-case is given. With --config\n"
     "CFG whose conversion is scaled, the world easting and northing follow Y. Exit status 0\n"
     "when some text matched, 1 when none did.",
     RunFind},
    {"fonts", "fonts", "Lists the installed font families --face can name, one per line.",
     RunFonts},
    {"measure", "measure X1 Y1 X2 Y2 ... [--config CFG]",
     "Prints what View > Measure shows for the path through the points (X, Y), given in plot\n"
     "inches as they stand (no snapping): 'distance D in', its length; 'bearing B', the\n"
     "direction of its last segment with a length in degrees clockwise from paper up (left\n"
     "out when no segment has one); and from three points on 'area A sq in', the area of the\n"
     "closed polygon. When the configuration file CFG converts to the world (Scaled), the\n"
     "distance and the area are each followed by the world figure in plan (easting,\n"
     "northing) and its unit, m or ft, sq m or sq ft, and the bearing is from grid north.\n"
     "Three decimals throughout. A number that is not a plain decimal one, a point without\n"
     "its Y, fewer than two points, or a CFG that cannot be read or defines no transform is\n"
     "refused (exit 1). '--' ends the options.",
     RunMeasure},
#ifdef KORVANE_QT_MODULE
    {"thumbnail", "thumbnail IN OUT.png SIZE",
     "Writes OUT.png, a PNG picture of the plot file IN for file managers: the drawing as\n"
     "convert draws it, in a picture whose longer side is SIZE pixels and whose proportions are\n"
     "the drawing's (at most 16 to 1), from the records that start in IN's first megabyte.\n"
     "OUT is replaced only once it is complete, and only when it is empty or a PNG picture;\n"
     "OUT that is IN itself is refused (exit 1).",
     RunThumbnail},
    {"print", "print IN [OUT.pdf] [--fit] [--paper NAME] [--landscape] [--printer NAME]",
     "Prints the plot file IN on one page as the desktop's Print does for a new window: one\n"
     "inch of the drawing is one inch on paper, or with --fit the drawing fills the page. The\n"
     "page goes to the default printer (or NAME), or with OUT.pdf into that PDF file, with no\n"
     "margins. OUT must end in .pdf; an existing OUT is replaced only when it is empty or a\n"
     "PDF file, and OUT that is IN itself is refused (exit 1). --paper takes A0, A1, A2, A3,\n"
     "A4 (the default), A5, A6, B4, B5, Letter, Legal, Executive, Tabloid or Ledger, case\n"
     "aside; any other name is refused (exit 1). A printer that refuses the job gives\n"
     "'Could not start print job.' (exit 1).",
     RunPrint},
#endif
};

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "Usage: korvane-cli COMMAND ARGS...\n"
                 "Views and converts pen-plotter plot files (.plt). FILE may be any file that can\n"
                 "be read to its end, a pipe such as /dev/stdin included.\n\nCommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %s\n", c.synopsis);
    std::fprintf(
        out,
        "\n'korvane-cli COMMAND --help' describes a command; 'korvane-cli --version' prints\n"
        "the version.\n"
        "Exit status: 0 success; 1 usage error, unreadable input, output that cannot or\n"
        "must not be written, or too little memory ('out of memory' and the input's name):\n"
        "nothing written, the reason on stderr; 2 the input has an invalid record (its byte\n"
        "offset on stderr; what came before it is used).\n");
}

bool AsksForHelp(const Args& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}
}  // namespace

#ifndef KORVANE_QT_MODULE
int RunFonts(const Args&) {
    return Fail("this build of korvane-cli draws no device fonts");
}
#endif

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    // Past a file-size limit a write fails with EFBIG and is reported, instead of the process
    // dying mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitFailure;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("korvane-cli %s\n", KORVANE_VERSION);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        Args args(argv + 2, argv + argc);
        if (AsksForHelp(args)) {
            std::printf("Usage: korvane-cli %s\n", c.synopsis);
            std::printf(c.help, kPictureOptions);
            std::printf("\n");
            return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
        }
        return RunGuarded(c.run, args);
    }
    std::fprintf(stderr, "korvane-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return kExitFailure;
}
