#include <clocale>
#include <cstdio>
#include <cstring>

#include "cli/Commands.h"

namespace {
const Command kCommands[] = {
    {"dump", "dump FILE",
     "Prints one line per primitive of the plot file FILE: its kind and fields.", RunDump},
    {"info", "info FILE",
     "Prints the number of primitives of the plot file FILE and the drawing's size in inches,\n"
     "as Drawing Status shows them in a new 1000 x 800 view.",
     RunInfo},
    {"convert",
     "convert IN OUT [--size WxH] [--face NAME] [--line-width N] [--antialias on|off]\n"
     "          [--config CFG]",
     "Reads the plot file IN and writes OUT, whose type follows its extension:\n"
     "  .plt  the drawing as plot records, as File > Save writes it\n"
     "  .png, .svg, .pdf  the drawing as a new view of client size WxH (default 1000x800)\n"
     "        shows it once fitted, with text in face NAME (default Velmaro, the stroke\n"
     "        font) and pens N logical units wide (default 0, one pixel); a PNG's lines are\n"
     "        smoothed unless --antialias off asks for the screen's crisp pixels\n"
     "  .dxf  an AutoCAD DXF file, as the DXF export writes it; its parameters (layers,\n"
     "        colours, conversion, correspondence points) come from the configuration\n"
     "        file CFG when --config is given, else the built-in defaults. An export\n"
     "        whose correspondence points define no transform is refused (exit 1).\n"
     "The output replaces OUT only once it is complete.",
     RunConvert},
    {"trace", "trace FILE [--size WxH] [--face NAME] [--line-width N]",
     "Prints the drawing calls a new view of client size WxH (default 1000x800) makes in its\n"
     "second paint, after fitting itself to the drawing, one per line, then\n"
     "'end DRAWN MAXX MAXY'. NAME is the text face (default Velmaro, the stroke font); N the\n"
     "pen width in logical units (default 0).",
     RunTrace},
#ifdef KORVANE_WITH_QT
    {"thumbnail", "thumbnail IN OUT.png SIZE",
     "Writes OUT.png, a PNG picture of the plot file IN for file managers: the drawing as\n"
     "convert draws it, in a picture whose longer side is SIZE pixels and whose proportions are\n"
     "the drawing's (at most 16 to 1). OUT is replaced only once it is complete.",
     RunThumbnail},
#endif
};

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "Usage: korvane-cli COMMAND ARGS...\n"
                 "Views and converts pen-plotter plot files (.plt).\n\nCommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %s\n", c.synopsis);
    std::fprintf(out,
                 "\n'korvane-cli COMMAND --help' describes a command.\n"
                 "Exit status: 0 success; 1 usage error, unreadable input or unwritable output;\n"
                 "2 the input has an invalid record (what came before it is used).\n");
}
}  // namespace

int Fail(const std::string& message) {
    std::fprintf(stderr, "korvane-cli: %s\n", message.c_str());
    return kExitFailure;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w <= 0 || h <= 0 ||
        w > 100000 || h > 100000) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitFailure;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        PrintUsage(stdout);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        Args args(argv + 2, argv + argc);
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                std::printf("Usage: korvane-cli %s\n%s\n", c.synopsis, c.help);
                return kExitOk;
            }
        }
        return c.run(args);
    }
    std::fprintf(stderr, "korvane-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return kExitFailure;
}
