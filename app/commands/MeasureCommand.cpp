// What View > Measure needs of a document: its vertices to snap to.
#include "app/document/OpenDrawing.h"
#include "app/work/BackgroundWork.h"
#include "plot/KorvaneDoc.h"
#include "view/VertexIndex.h"
#include "widgets/Prompts.h"

std::shared_ptr<const VertexIndex> OpenDrawing::SnapIndex(QWidget* parent) {
    // Records are only ever appended (Insert) or replaced whole (a reload drops the index).
    const std::size_t count = m_doc->Primitives().size();
    if (m_snapIndex && m_snapIndexRecords == count) return m_snapIndex;
    auto index = std::make_shared<VertexIndex>();
    bool cancelled = false;
    const QString failure =
        m_background.Run(parent, QStringLiteral("Indexing the drawing..."), this, true,
                         [&index, &cancelled, records = m_doc->Records()](JobControl& control) {
                             *index = VertexIndex::Build(*records, [&control](double done) {
                                 control.Report(done, {});
                                 return !control.Cancelled();
                             });
                             cancelled = control.Cancelled();
                         });
    if (!failure.isEmpty()) {
        m_prompts.Warning(failure);
        return nullptr;
    }
    if (cancelled) return nullptr;
    m_snapIndex = std::move(index);
    m_snapIndexRecords = count;
    return m_snapIndex;
}
