#pragma once

// What the paint pass needs of the window it paints: the client size, a repaint request, the
// wait cursor, and whether to abandon a paint between two primitives.
class ViewHost {
  public:
    virtual ~ViewHost() = default;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Asks for the whole view to be erased and painted again.
    virtual void Invalidate() {}
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
    // Consulted between primitives in incremental-zoom mode only: true ends the paint (a pending
    // click is to be handled as the next zoom).
    virtual bool ShouldStop() { return false; }
};

// A host of fixed size with nothing behind it, for painting off screen.
class FixedSizeHost : public ViewHost {
  public:
    FixedSizeHost(int width, int height) : m_width(width), m_height(height) {}
    int ClientWidth() const override { return m_width; }
    int ClientHeight() const override { return m_height; }

  private:
    int m_width;
    int m_height;
};
