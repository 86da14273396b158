#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "render/DrawSurface.h"

// The calls one drawing pass makes on a surface, recorded in chunks as they come, for several
// players to play at the same time onto surfaces of their own while the pass goes on: a picture
// painted in bands walks the drawing once and rasterizes each band on a thread of its own.
// Questions about the device go to the device given. At most chunksAhead chunks are kept: the
// pass waits for the slowest player before it records more, so memory stays bounded.
class SurfaceRecording : public DrawSurface {
  public:
    SurfaceRecording(const DrawSurface& device, int players, std::size_t chunkCalls = 16384,
                     std::size_t chunksAhead = 8);
    ~SurfaceRecording() override;
    SurfaceRecording(const SurfaceRecording&) = delete;
    SurfaceRecording& operator=(const SurfaceRecording&) = delete;

    // The pass is done: the players play what was recorded and return.
    void Close();
    // The pass failed: the players return once done with what they have.
    void Stop() noexcept;
    // Plays every call in order onto target, waiting for the pass; player counts from 0 and
    // each plays once. A player that fails must still call Leave, or the pass waits for it.
    void Play(DrawSurface& target, int player);
    void Leave(int player);

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
             int yEnd) override;
    void SetTextColor(ColorRef color) override;
    void SetTextAlign(unsigned align) override;
    void SetBkMode(int mode) override;
    void ExtTextOut(int x, int y, const char* text, int length) override;
    int GetDeviceCaps(int index) const override { return m_device.GetDeviceCaps(index); }
    double GetPageMillimetres(int index) const override {
        return m_device.GetPageMillimetres(index);
    }
    bool IsPrinting() const override { return m_device.IsPrinting(); }

  protected:
    void OnMappingChanged(Mapping which) override;
    void OnHandleCall(HandleCall call, Handle handle) override;

  private:
    struct Chunk {
        explicit Chunk(std::size_t room) : calls(new std::int32_t[room]) {}
        // Operations each followed by its arguments; written without a size check per value.
        std::unique_ptr<std::int32_t[]> calls;
        std::size_t used = 0;
        std::vector<std::string> texts;  // texts and font faces, by index
    };
    enum Op : std::int32_t;

    void Put(Op op, std::initializer_list<std::int32_t> args);
    std::int32_t PutText(std::string text);
    void Publish();
    static void PlayChunk(const Chunk& chunk, DrawSurface& target);

    const DrawSurface& m_device;
    const std::size_t m_chunkCalls;
    const std::size_t m_chunksAhead;
    std::unique_ptr<Chunk> m_recording;

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<Chunk>> m_chunks;  // published; released once all played them
    std::vector<std::unique_ptr<Chunk>> m_spare;   // released, to be filled again
    std::vector<std::size_t> m_played;             // chunks each player is done with
    bool m_closed = false;
};
