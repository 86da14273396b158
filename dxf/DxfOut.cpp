#include "dxf/DxfOut.h"

void CDxfOut::Begin(Archive*, std::int16_t, std::int16_t) { m_polylineOpen = false; }
void CDxfOut::SetPen(std::int16_t) {}
void CDxfOut::SetPenRgb(std::int16_t, std::int16_t, std::int16_t) {}
void CDxfOut::SetExtent(float, float) {}
void CDxfOut::SetPosition(float, float, float) {}
void CDxfOut::SetFactor(float) {}
void CDxfOut::Plot(float, float, std::int16_t) {}
void CDxfOut::WriteText(float, float, float, float, std::int16_t, const char*) {}
void CDxfOut::WriteNumber(float, float, float, float, std::int16_t, float) {}
void CDxfOut::WriteSymbol(float, float, float, float, std::int16_t, std::int16_t) {}
void CDxfOut::WriteCircle(float, float, float) {}
void CDxfOut::EndPolyline() { m_polylineOpen = false; }
