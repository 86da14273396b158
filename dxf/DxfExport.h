#pragma once

#include <string>

#include "dxf/DxfText.h"
#include "plot/SaveResult.h"

class Archive;
class DxfEntitySink;
class CKorvaneDoc;
class PrimitiveList;
struct DxfSettings;

// The entities the DXF export writes of a drawing, handed to sink in file order; throws
// DxfExportError, before the sink hears of anything, when the settings define no transform.
void DrawDxfEntities(const PrimitiveList& primitives, const DxfSettings& settings,
                     DxfEntitySink& sink);

// The DXF export of a drawing: the section header, one group of entities per record in file
// order (open polylines closed before every record that is not a line, lines with a pen code
// above 13 left out) and the trailer, written to out. Throws DxfExportError, before anything is
// written, when the settings define no transform; file errors are thrown as FileError.
void WriteDxf(const PrimitiveList& primitives, const DxfSettings& settings, Archive& out,
              DxfNumberStyle style = DxfNumberStyle::kFast);

// The export command's save: the document's drawing with its export settings to path, replacing
// a file there only once everything is written. The document is left as it is (the command marks
// it unmodified on the window's thread). A refused export creates no file.
SaveResult ExportDxf(const CKorvaneDoc& doc, const std::string& path,
                     DxfNumberStyle style = DxfNumberStyle::kFast);
// The same of records and settings alone, as background work does it on a shared drawing.
SaveResult ExportDxf(const PrimitiveList& primitives, const DxfSettings& settings,
                     const std::string& path, DxfNumberStyle style = DxfNumberStyle::kFast);
