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

void PrintPrim(StdOutput& out, const Prim& prim) {
    switch (prim.GetCode()) {
        case PrimCode::kPinit: {
            auto& p = static_cast<const Pinit&>(prim);
            out.Print("Pinit param1=%d param2=%d\n", p.m_param1, p.m_param2);
            break;
        }
        case PrimCode::kCouleur:
            out.Print("Couleur pen=%d\n", static_cast<const Couleur&>(prim).m_pen);
            break;
        case PrimCode::kEtendue: {
            auto& p = static_cast<const Etendue&>(prim);
            out.Print("Etendue x=%.9g y=%.9g\n", p.m_x, p.m_y);
            break;
        }
        case PrimCode::kLigne: {
            auto& p = static_cast<const Ligne&>(prim);
            out.Print("Ligne x=%.9g y=%.9g penCode=%d\n", p.m_x, p.m_y, p.m_penCode);
            break;
        }
        case PrimCode::kPosicourante: {
            auto& p = static_cast<const Posicourante&>(prim);
            out.Print("Posicourante x=%.9g y=%.9g z=%.9g\n", p.m_x, p.m_y, p.m_z);
            break;
        }
        case PrimCode::kFacteur:
            out.Print("Facteur factor=%.9g\n", static_cast<const Facteur&>(prim).m_factor);
            break;
        case PrimCode::kNombre: {
            auto& p = static_cast<const Nombre&>(prim);
            out.Print("Nombre x=%.9g y=%.9g height=%.9g angle=%.9g decimals=%d value=%.9g\n", p.m_x,
                      p.m_y, p.m_height, p.m_angle, p.m_decimals, p.m_value);
            break;
        }
        case PrimCode::kSymbole: {
            auto& p = static_cast<const Symbole&>(prim);
            out.Print("Symbole x=%.9g y=%.9g height=%.9g angle=%.9g length=%d text=%s\n", p.m_x,
                      p.m_y, p.m_height, p.m_angle, p.m_length, Quote(p.m_text.get()).c_str());
            break;
        }
        case PrimCode::kSymspecial: {
            auto& p = static_cast<const Symspecial&>(prim);
            out.Print("Symspecial x=%.9g y=%.9g height=%.9g angle=%.9g penAction=%d symbol=%d\n",
                      p.m_x, p.m_y, p.m_height, p.m_angle, p.m_penAction, p.m_symbol);
            break;
        }
        case PrimCode::kCercle: {
            auto& p = static_cast<const Cercle&>(prim);
            out.Print("Cercle x=%.9g y=%.9g radius=%.9g\n", p.m_x, p.m_y, p.m_radius);
            break;
        }
        case PrimCode::kNewColor: {
            auto& p = static_cast<const NewColor&>(prim);
            out.Print("NewColor r=%d g=%d b=%d\n", p.m_r, p.m_g, p.m_b);
            break;
        }
    }
}
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
    doc.m_primitives.ForEach([&](const Prim& prim) {
        PrintPrim(out, prim);
        return !out.Failed();  // nothing more can arrive
    });
    return out.Finish(feedback.Messages() ? kExitInvalidRecord : kExitOk);
}
