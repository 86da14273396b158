#include <cstdio>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "plot/KorvaneDoc.h"

namespace {
std::string Quote(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32 || c >= 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// One line per record: its kind and fields, through the checked standard output.
class DumpVisitor final : public PrimVisitor {
  public:
    explicit DumpVisitor(StdOutput& out) : m_out(out) {}
    void Visit(const Pinit& p) override {
        m_out.Print("Pinit param1=%d param2=%d\n", p.m_param1, p.m_param2);
    }
    void Visit(const Couleur& p) override { m_out.Print("Couleur pen=%d\n", p.m_pen); }
    void Visit(const Etendue& p) override { m_out.Print("Etendue x=%.9g y=%.9g\n", p.m_x, p.m_y); }
    void Visit(const Ligne& p) override {
        m_out.Print("Ligne x=%.9g y=%.9g penCode=%d\n", p.m_x, p.m_y, p.m_penCode);
    }
    void Visit(const Posicourante& p) override {
        m_out.Print("Posicourante x=%.9g y=%.9g z=%.9g\n", p.m_x, p.m_y, p.m_z);
    }
    void Visit(const Facteur& p) override { m_out.Print("Facteur factor=%.9g\n", p.m_factor); }
    void Visit(const Nombre& p) override {
        m_out.Print("Nombre x=%.9g y=%.9g height=%.9g angle=%.9g decimals=%d value=%.9g\n", p.m_x,
                    p.m_y, p.m_height, p.m_angle, p.m_decimals, p.m_value);
    }
    void Visit(const Symbole& p) override {
        m_out.Print("Symbole x=%.9g y=%.9g height=%.9g angle=%.9g length=%d text=%s\n", p.m_x,
                    p.m_y, p.m_height, p.m_angle, p.m_length, Quote(p.m_text.get()).c_str());
    }
    void Visit(const Symspecial& p) override {
        m_out.Print("Symspecial x=%.9g y=%.9g height=%.9g angle=%.9g penAction=%d symbol=%d\n",
                    p.m_x, p.m_y, p.m_height, p.m_angle, p.m_penAction, p.m_symbol);
    }
    void Visit(const Cercle& p) override {
        m_out.Print("Cercle x=%.9g y=%.9g radius=%.9g\n", p.m_x, p.m_y, p.m_radius);
    }
    void Visit(const NewColor& p) override {
        m_out.Print("NewColor r=%d g=%d b=%d\n", p.m_r, p.m_g, p.m_b);
    }

  private:
    StdOutput& m_out;
};
}  // namespace

int RunDump(const Args& args) {
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(args, 1, {}, "usage: korvane-cli dump FILE", files, options)) {
        return status;
    }
    CliFeedback feedback(files[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, feedback, files[0])) return kExitFailure;
    StdOutput out;
    DumpVisitor dump(out);
    doc.Primitives().ForEach([&](const Prim& prim) {
        prim.Accept(dump);
        return !out.Failed();  // nothing more can arrive
    });
    return out.Finish(feedback.Messages() ? kExitInvalidRecord : kExitOk);
}
