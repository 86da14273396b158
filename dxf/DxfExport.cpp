#include "dxf/DxfExport.h"

#include "dxf/DxfExportError.h"
#include "dxf/DxfOut.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"

namespace {
// Each record drives the writer with one call; a polyline stays open only across lines.
class DxfExportVisitor final : public PrimVisitor {
  public:
    explicit DxfExportVisitor(CDxfGeometry& geometry) : m_dxf(geometry) {}

    void Visit(const Pinit& p) override {
        m_dxf.EndPolyline();
        m_dxf.Begin(p.m_param1, p.m_param2);
    }
    void Visit(const Couleur& p) override {
        m_dxf.EndPolyline();
        m_dxf.SetPen(p.m_pen);
    }
    void Visit(const Etendue& p) override {
        m_dxf.EndPolyline();
        m_dxf.SetExtent(p.m_x, p.m_y);
    }
    void Visit(const Ligne& p) override {
        // Pen codes above 13 end a plotter's drawing; the export writes its own end once.
        if (p.m_penCode > 13) return;
        m_dxf.Plot(p.m_x, p.m_y, p.m_penCode);
    }
    void Visit(const Posicourante& p) override {
        m_dxf.EndPolyline();
        m_dxf.SetPosition(p.m_x, p.m_y, p.m_z);
    }
    void Visit(const Facteur& p) override {
        m_dxf.EndPolyline();
        m_dxf.SetFactor(p.m_factor);
    }
    void Visit(const Nombre& p) override {
        m_dxf.EndPolyline();
        m_dxf.WriteNumber(p.m_x, p.m_y, p.m_height, p.m_angle, p.m_decimals, p.m_value);
    }
    void Visit(const Symbole& p) override {
        m_dxf.EndPolyline();
        m_dxf.WriteText(p.m_x, p.m_y, p.m_height, p.m_angle, p.m_length, p.m_text.get());
    }
    void Visit(const Symspecial& p) override {
        m_dxf.EndPolyline();
        m_dxf.WriteSymbol(p.m_x, p.m_y, p.m_height, p.m_angle, p.m_penAction, p.m_symbol);
    }
    void Visit(const Cercle& p) override {
        m_dxf.EndPolyline();
        m_dxf.WriteCircle(p.m_x, p.m_y, p.m_radius);
    }
    void Visit(const NewColor& p) override {
        m_dxf.EndPolyline();
        m_dxf.SetPenRgb(p.m_r, p.m_g, p.m_b);
    }

  private:
    CDxfGeometry& m_dxf;
};
}  // namespace

void DrawDxfEntities(const PrimitiveList& primitives, const DxfSettings& settings,
                     DxfEntitySink& sink) {
    CDxfGeometry geometry(settings, sink);
    // The entities begin only at a Pinit; a drawing that does not start with one (an empty one
    // included) still becomes a complete output with its header and transform.
    if (primitives.empty() || primitives.At(0)->GetCode() != PrimCode::kPinit) {
        geometry.Begin(0, 0);
    }
    DxfExportVisitor visitor(geometry);
    primitives.ForEach([&](const Prim& prim) {
        prim.Accept(visitor);
        return true;
    });
    geometry.Plot(0, 0, 999);  // the end marker: closes any polyline and ends the entities
}

void WriteDxf(const PrimitiveList& primitives, const DxfSettings& settings, Archive& out,
              DxfNumberStyle style) {
    DxfEntityWriter writer(settings);
    writer.SetNumberStyle(style);
    writer.SetOutput(&out);
    DrawDxfEntities(primitives, settings, writer);
}

SaveResult ExportDxf(const CKorvaneDoc& doc, const std::string& path, DxfNumberStyle style) {
    return ExportDxf(doc.Primitives(), doc.GetDxfSettings(), path, style);
}

SaveResult ExportDxf(const PrimitiveList& primitives, const DxfSettings& settings,
                     const std::string& path, DxfNumberStyle style) {
    try {
        // Refused before the file is created.
        CDxfOut(settings).CheckTransform();
        Archive archive = Archive::CreateForStore(path, 64 * 1024);
        WriteDxf(primitives, settings, archive, style);
        archive.Commit();
    } catch (const DxfExportError& e) {
        return {SaveResult::Error::kExportRefused, FileErrorCause::Other, e.what(), path};
    } catch (const FileError& e) {
        return SaveResult::FromFileError(e);
    }
    return {};
}
