#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class PrimitiveList;

// A drawing point a measurement can snap to, in plot inches.
struct Vertex {
    float x;
    float y;
};

// The points of a drawing a measurement snaps to: line ends, circle centres and the insertion
// points of text, numbers and markers, where the paint puts them (origin and scale applied).
// A uniform grid that wraps around (cells a whole grid apart share a bucket, so far-off points
// cost no room): the points in one packed array of floats ordered by bucket, and one 32-bit
// start per bucket, half a bucket per point or more: 10 to 12 bytes a point, 14 at most while
// built.
// A query looks at the cells around the point ring by ring and stops once no nearer point can
// lie further out.
class VertexIndex {
  public:
    VertexIndex() = default;
    explicit VertexIndex(std::vector<Vertex> points);

    // The points of primitives, indexed. keepGoing, asked now and then with the share of the
    // records walked, stops the build by returning false: the index is then empty.
    static VertexIndex Build(const PrimitiveList& primitives,
                             const std::function<bool(double)>& keepGoing = {});

    // The point nearest (x, y) no further than radius, if any.
    std::optional<Vertex> Nearest(double x, double y, double radius) const;

    std::size_t size() const { return m_points.size(); }
    // The memory the index holds.
    std::size_t Bytes() const {
        return m_points.capacity() * sizeof(Vertex) + m_starts.capacity() * sizeof(std::uint32_t);
    }

  private:
    std::int64_t Cell(double v) const;
    std::size_t Bucket(std::int64_t cx, std::int64_t cy) const;
    void Scan(std::size_t bucket, double x, double y, double& best, const Vertex*& found) const;

    std::vector<Vertex> m_points;
    std::vector<std::uint32_t> m_starts;  // bucket b holds m_points[m_starts[b], m_starts[b+1])
    double m_cell = 1;
    std::size_t m_buckets = 0;
    int m_columnBits = 0;
    std::size_t m_columnMask = 0;
    std::size_t m_rowMask = 0;
};
