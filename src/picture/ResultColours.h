#pragma once
// The colours and the hatching of the ranges view, shared by the window's
// grids and legend, the ranges picture and the printed report.
#include <QColor>
#include <QRect>

#include "core/sorting/ResultView.h"

class QPainter;

namespace vesk::picture {

// The fill of a ranges cell painted `paint`: aqua (0,255,255), green
// (0,128,0), red (255,0,0), lime (0,255,0); white for the others (a hole is
// hatched on white).
QColor ResultFill(core::ResultPaint paint);

// Black forward diagonals ("\", as Qt::FDiagPattern) across `cell`, drawn as
// lines so that vector files hold them too.
void HatchCell(QPainter& painter, const QRect& cell);

// Fills `cell` as `paint` asks: its colour, and the hatching of a hole.
void PaintResultCell(QPainter& painter, const QRect& cell, core::ResultPaint paint);

}  // namespace vesk::picture
