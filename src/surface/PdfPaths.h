#pragma once
// Qt paths as PDF path operators, for outlines the PDF printer draws itself (glyphs, turned text).

#include <QPainterPath>
#include <QTransform>

#include <string>

namespace qbm {

// Appends the path's subpaths (m, l, c; closed by the fill that follows) mapped through `t`.
void AppendPath(std::string& out, const QPainterPath& path, const QTransform& t = QTransform());

} // namespace qbm
