#include "surface/TModuleRectBuilder.h"

namespace qbm {

TModuleRectBuilder::TModuleRectBuilder(std::vector<TModuleRect>& out, int columns, int quiet)
    : m_out(out), m_quiet(quiet), m_open(static_cast<size_t>(columns > 0 ? columns : 0)) {}

void TModuleRectBuilder::AddRun(int start, int end) {
    TOpen& open = m_open[static_cast<size_t>(start)];
    if (open.endRow == m_row && open.width == end - start) {
        m_out[open.index - 1].height += 1;
        open.endRow = m_row + 1;
        return;
    }
    m_out.push_back({static_cast<double>(start + m_quiet), static_cast<double>(m_row + m_quiet),
                     static_cast<double>(end - start), 1});
    open = {static_cast<uint32_t>(m_out.size()), m_row + 1, end - start};
}

} // namespace qbm
