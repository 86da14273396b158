// Line records are kept as the file holds them and expanded on reading: every way of reading a
// list, file records included, must give back the records as appended, across chunks and after
// AppendAll.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "plot/Archive.h"
#include "plot/Prim.h"
#include "plot/PrimitiveList.h"

namespace {
using Seen = std::tuple<std::int16_t, float, float, std::int16_t>;  // code, x, y, pen code

Seen Look(const Prim& prim) {
    if (auto* l = dynamic_cast<const Ligne*>(&prim))
        return {l->GetCode(), l->m_x, l->m_y, l->m_penCode};
    if (auto* c = dynamic_cast<const Cercle*>(&prim)) return {c->GetCode(), c->m_x, c->m_y, 0};
    return {prim.GetCode(), 0, 0, 0};
}

// Lines with negative, tiny and huge numbers and assorted pen codes among circles and pens, over
// more than one chunk of slots; and one line record under another code.
void Fill(PrimitiveList& list, std::vector<Seen>& expected, int count) {
    for (int i = 0; i < count; ++i) {
        const float x = i % 3 == 0 ? -1.5f * i : 1e-30f * i, y = i % 5 == 0 ? 3e30f : 0.25f * i;
        const auto pen = static_cast<std::int16_t>(i % 7 - 3);
        const std::int16_t code = i == 4097 ? std::int16_t(-7) : PrimCode::kLigne;
        if (i % 11 == 0) {
            list.Append<Cercle>(PrimCode::kCercle, x, y, 2.0f);
            expected.emplace_back(PrimCode::kCercle, x, y, 0);
        } else if (i % 13 == 0) {
            list.Append<Couleur>(PrimCode::kCouleur, 4);
            expected.emplace_back(PrimCode::kCouleur, 0, 0, 0);
        } else {
            list.Append<Ligne>(code, x, y, pen);
            expected.emplace_back(code, x, y, pen);
        }
    }
}
}  // namespace

TEST(PrimitiveList, ReadsBackWhatWasAppendedEveryWay) {
    std::vector<Seen> expected, iterated, walked, indexed, runs;
    PrimitiveList list, more;
    Fill(list, expected, 20000);  // past a chunk of slots, and the next joins mid-chunk
    Fill(more, expected, 17000);
    list.AppendAll(more);
    EXPECT_TRUE(more.empty());
    for (const Prim& prim : list) iterated.push_back(Look(prim));
    list.ForEach([&](const Prim& prim) {
        walked.push_back(Look(prim));
        return true;
    });
    for (std::size_t i = 0; i < list.size(); ++i) indexed.push_back(Look(*list.At(i)));
    list.ForEachRun(
        0,
        [&](const std::uint8_t* records, std::size_t n) {
            for (; n > 0; --n, records += Ligne::kRecordSize) {
                runs.emplace_back(Archive::DecodeInt16(records), Archive::DecodeFloat(records + 2),
                                  Archive::DecodeFloat(records + 6),
                                  Archive::DecodeInt16(records + 10));
            }
        },
        [&](const Prim& prim) { runs.push_back(Look(prim)); });
    EXPECT_TRUE(iterated == expected);
    EXPECT_TRUE(walked == expected);
    EXPECT_TRUE(indexed == expected);
    EXPECT_TRUE(runs == expected);
}
