#include <cstdio>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
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

// One line per record: its kind and fields.
class DumpVisitor final : public PrimVisitor {
  public:
    void Visit(const Pinit& p) override {
        std::printf("Pinit param1=%d param2=%d\n", p.m_param1, p.m_param2);
    }
    void Visit(const Couleur& p) override { std::printf("Couleur pen=%d\n", p.m_pen); }
    void Visit(const Etendue& p) override { std::printf("Etendue x=%.9g y=%.9g\n", p.m_x, p.m_y); }
    void Visit(const Ligne& p) override {
        std::printf("Ligne x=%.9g y=%.9g penCode=%d\n", p.m_x, p.m_y, p.m_penCode);
    }
    void Visit(const Posicourante& p) override {
        std::printf("Posicourante x=%.9g y=%.9g z=%.9g\n", p.m_x, p.m_y, p.m_z);
    }
    void Visit(const Facteur& p) override { std::printf("Facteur factor=%.9g\n", p.m_factor); }
    void Visit(const Nombre& p) override {
        std::printf("Nombre x=%.9g y=%.9g height=%.9g angle=%.9g decimals=%d value=%.9g\n", p.m_x,
                    p.m_y, p.m_height, p.m_angle, p.m_decimals, p.m_value);
    }
    void Visit(const Symbole& p) override {
        std::printf("Symbole x=%.9g y=%.9g height=%.9g angle=%.9g length=%d text=%s\n", p.m_x,
                    p.m_y, p.m_height, p.m_angle, p.m_length, Quote(p.m_text.get()).c_str());
    }
    void Visit(const Symspecial& p) override {
        std::printf("Symspecial x=%.9g y=%.9g height=%.9g angle=%.9g penAction=%d symbol=%d\n",
                    p.m_x, p.m_y, p.m_height, p.m_angle, p.m_penAction, p.m_symbol);
    }
    void Visit(const Cercle& p) override {
        std::printf("Cercle x=%.9g y=%.9g radius=%.9g\n", p.m_x, p.m_y, p.m_radius);
    }
    void Visit(const NewColor& p) override {
        std::printf("NewColor r=%d g=%d b=%d\n", p.m_r, p.m_g, p.m_b);
    }
};
}  // namespace

int RunDump(const Args& args) {
    if (args.size() != 1) return Fail("usage: korvane-cli dump FILE");
    CliFeedback feedback(args[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, args[0])) return kExitFailure;
    DumpVisitor dump;
    doc.m_primitives.ForEach([&](const Prim& prim) {
        prim.Accept(dump);
        return true;
    });
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
