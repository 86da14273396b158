#include "view/VertexIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/PrimitiveList.h"
#include "render/PlotContext.h"

namespace {
// Walks the records as the paint does, through a plot context of its own for origin and scale,
// and hands on each snapping point. A line's start counts when a draw leaves it; the pen's
// place after a Pinit is the view's corner, which is no point of the drawing.
class VertexCollector final : public PrimVisitor {
  public:
    explicit VertexCollector(std::vector<Vertex>* out) : m_out(out) {}
    std::size_t Count() const { return m_count; }

    void Visit(const Pinit&) override {
        m_context.SetOrigin(0, 0);
        m_context.SetScale(1.0f);
        m_hasLast = false;
    }
    void Visit(const Couleur&) override {}
    void Visit(const Etendue&) override {}
    void Visit(const Posicourante&) override {}
    void Visit(const NewColor&) override {}
    void Visit(const Facteur& p) override { m_context.SetScale(p.m_factor); }
    void Visit(const Ligne& p) override {
        if (p.m_penCode == 999) return;
        const float x = m_context.AbsoluteX(p.m_x), y = m_context.AbsoluteY(p.m_y);
        if (p.m_penCode == 2) {
            Draw(x, y);
        } else {
            MoveTo(x, y);
            if (p.m_penCode == -3) m_context.MoveOrigin(p.m_x, p.m_y);
        }
    }
    void Visit(const Cercle& p) override {
        Add(m_context.AbsoluteX(p.m_x), m_context.AbsoluteY(p.m_y));
    }
    void Visit(const Nombre& p) override { Add(TextX(p.m_x), TextY(p.m_y)); }
    void Visit(const Symbole& p) override { Add(TextX(p.m_x), TextY(p.m_y)); }
    void Visit(const Symspecial& p) override {
        const float x = TextX(p.m_x), y = TextY(p.m_y);
        if (p.m_penAction == -2) {
            Draw(x, y);
        } else {
            Add(x, y);
            m_hasLast = m_lastAdded = true;
            m_lastX = x, m_lastY = y;
        }
    }

  private:
    // Text and markers at exactly 999 stand there, whatever the origin and scale.
    float TextX(float x) const { return x == 999.0f ? x : m_context.AbsoluteX(x); }
    float TextY(float y) const { return y == 999.0f ? y : m_context.AbsoluteY(y); }
    void MoveTo(float x, float y) {
        m_hasLast = true;
        m_lastAdded = false;
        m_lastX = x, m_lastY = y;
    }
    void Draw(float x, float y) {
        if (m_hasLast && !m_lastAdded) Add(m_lastX, m_lastY);
        Add(x, y);
        m_hasLast = m_lastAdded = true;
        m_lastX = x, m_lastY = y;
    }
    void Add(float x, float y) {
        // A point that is no number cannot be snapped to.
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (m_out) m_out->push_back({x, y});
        ++m_count;
    }

    CPlotContext m_context;
    std::vector<Vertex>* m_out;
    std::size_t m_count = 0;
    bool m_hasLast = false;
    bool m_lastAdded = false;
    float m_lastX = 0, m_lastY = 0;
};

// Walks primitives with visitor, asking keepGoing every million records; false when stopped.
bool Walk(const PrimitiveList& primitives, PrimVisitor& visitor, double from, double share,
          const std::function<bool(double)>& keepGoing) {
    const double total = static_cast<double>(primitives.size());
    std::size_t i = 0;
    bool going = true;
    primitives.ForEach([&](const Prim& prim) {
        if ((++i & 0xFFFFF) == 0 && keepGoing && !keepGoing(from + share * i / total)) {
            going = false;
            return false;
        }
        prim.Accept(visitor);
        return true;
    });
    return going;
}

// The coordinates between the 1st and the 99th percentile of an even sample of the points: the
// spread the cells are sized for, so that a few far-off points do not make them coarse.
double Spread(const std::vector<Vertex>& points, float Vertex::*axis) {
    const std::size_t step = std::max<std::size_t>(1, points.size() / 65536);
    std::vector<float> sample;
    for (std::size_t i = 0; i < points.size(); i += step) sample.push_back(points[i].*axis);
    const std::size_t lo = sample.size() / 100, hi = sample.size() - 1 - sample.size() / 100;
    std::nth_element(sample.begin(), sample.begin() + lo, sample.end());
    const float low = sample[lo];
    std::nth_element(sample.begin(), sample.begin() + hi, sample.end());
    return static_cast<double>(sample[hi]) - low;
}

constexpr std::int64_t kCellLimit = std::int64_t(1) << 40;
}  // namespace

VertexIndex VertexIndex::Build(const PrimitiveList& primitives,
                               const std::function<bool(double)>& keepGoing) {
    // Counted first, so the points take exactly their room.
    VertexCollector counter(nullptr);
    if (!Walk(primitives, counter, 0, 0.3, keepGoing)) return {};
    std::vector<Vertex> points;
    points.reserve(counter.Count());
    VertexCollector collector(&points);
    if (!Walk(primitives, collector, 0.3, 0.4, keepGoing)) return {};
    if (keepGoing && !keepGoing(0.7)) return {};
    return VertexIndex(std::move(points));
}

VertexIndex::VertexIndex(std::vector<Vertex> points) : m_points(std::move(points)) {
    // Starts are 32-bit: a drawing has far fewer points than that.
    if (m_points.size() >= std::numeric_limits<std::uint32_t>::max()) {
        m_points.resize(std::numeric_limits<std::uint32_t>::max() - 1);
    }
    const std::size_t n = m_points.size();
    if (n == 0) return;
    std::size_t buckets = 1;
    while (buckets < n / 2) buckets *= 2;

    // About two points a cell where most of them lie; no finer than a thousandth of an inch,
    // closer points being one for snapping.
    const double w = Spread(m_points, &Vertex::x), h = Spread(m_points, &Vertex::y);
    const double area = w > 0 && h > 0 ? w * h : std::max(w, h) * std::max(w, h) / n;
    m_cell = std::max(std::sqrt(area * 2 / n), 1e-3);
    // The grid of buckets wraps around: neighbouring cells stay neighbours in memory, and the
    // buckets' columns to rows are as the points' spread.
    m_columnBits = 0;
    while ((std::size_t(1) << m_columnBits) < buckets &&
           (std::size_t(2) << m_columnBits) * m_cell <= w) {
        ++m_columnBits;
    }
    m_columnMask = (std::size_t(1) << m_columnBits) - 1;
    m_rowMask = buckets / (m_columnMask + 1) - 1;
    m_buckets = buckets;

    // Counting sort in place: each point is swapped into the rest of its bucket's range.
    m_starts.assign(buckets + 1, 0);
    auto bucketOf = [this](const Vertex& v) { return Bucket(Cell(v.x), Cell(v.y)); };
    for (const Vertex& v : m_points) ++m_starts[bucketOf(v) + 1];
    for (std::size_t b = 0; b < buckets; ++b) m_starts[b + 1] += m_starts[b];
    std::vector<std::uint32_t> next(m_starts.begin(), m_starts.end() - 1);
    for (std::size_t b = 0; b < buckets; ++b) {
        while (next[b] < m_starts[b + 1]) {
            Vertex& v = m_points[next[b]];
            const std::size_t c = bucketOf(v);
            if (c == b) {
                ++next[b];
            } else {
                std::swap(v, m_points[next[c]++]);
            }
        }
    }
}

std::int64_t VertexIndex::Cell(double v) const {
    const double c = std::floor(v / m_cell);
    return static_cast<std::int64_t>(std::clamp(c, double(-kCellLimit), double(kCellLimit)));
}

std::size_t VertexIndex::Bucket(std::int64_t cx, std::int64_t cy) const {
    return (static_cast<std::size_t>(cy) & m_rowMask) << m_columnBits |
           (static_cast<std::size_t>(cx) & m_columnMask);
}

void VertexIndex::Scan(std::size_t bucket, double x, double y, double& best,
                       const Vertex*& found) const {
    const Vertex* end = m_points.data() + m_starts[bucket + 1];
    for (const Vertex* v = m_points.data() + m_starts[bucket]; v != end; ++v) {
        const double dx = v->x - x, dy = v->y - y;
        const double d = dx * dx + dy * dy;
        if (d < best) {
            best = d;
            found = v;
        }
    }
}

std::optional<Vertex> VertexIndex::Nearest(double x, double y, double radius) const {
    if (m_points.empty() || !(radius >= 0) || !std::isfinite(x) || !std::isfinite(y)) return {};
    // Within the radius: just beyond it compares as not nearer.
    double best = std::nextafter(radius * radius, std::numeric_limits<double>::infinity());
    const Vertex* found = nullptr;
    const double rings = std::ceil(radius / m_cell);
    if ((2 * rings + 1) * (2 * rings + 1) > static_cast<double>(m_points.size())) {
        // Cells outnumber the points: every point is looked at once instead.
        for (std::size_t b = 0; b < m_buckets; ++b) Scan(b, x, y, best, found);
    } else {
        const std::int64_t cx = Cell(x), cy = Cell(y), last = static_cast<std::int64_t>(rings);
        for (std::int64_t k = 0; k <= last; ++k) {
            for (std::int64_t dx = -k; dx <= k; ++dx) {
                Scan(Bucket(cx + dx, cy - k), x, y, best, found);
                if (k > 0) Scan(Bucket(cx + dx, cy + k), x, y, best, found);
            }
            for (std::int64_t dy = -k + 1; dy <= k - 1; ++dy) {
                Scan(Bucket(cx - k, cy + dy), x, y, best, found);
                Scan(Bucket(cx + k, cy + dy), x, y, best, found);
            }
            // Any point of the next ring lies at least k cells away.
            const double reach = static_cast<double>(k) * m_cell;
            if (found && best <= reach * reach) break;
        }
    }
    if (!found) return {};
    return *found;
}
