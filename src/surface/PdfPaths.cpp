#include "surface/PdfPaths.h"

#include "surface/TPdfFile.h"

namespace qbm {

namespace {

void AppendPoint(std::string& out, const QPointF& p) {
    AppendNumber(out, p.x());
    out += ' ';
    AppendNumber(out, p.y());
    out += ' ';
}

} // namespace

void AppendPath(std::string& out, const QPainterPath& path, const QTransform& t) {
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            AppendPoint(out, t.map(QPointF(e.x, e.y)));
            out += "m\n";
            break;
        case QPainterPath::LineToElement:
            AppendPoint(out, t.map(QPointF(e.x, e.y)));
            out += "l\n";
            break;
        case QPainterPath::CurveToElement:
            // A curve's two control points follow it as data elements.
            if (i + 2 >= path.elementCount()) return;
            AppendPoint(out, t.map(QPointF(e.x, e.y)));
            for (int k = 1; k <= 2; ++k) {
                const QPainterPath::Element d = path.elementAt(i + k);
                AppendPoint(out, t.map(QPointF(d.x, d.y)));
            }
            out += "c\n";
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
}

} // namespace qbm
