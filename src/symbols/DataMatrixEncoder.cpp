#include "symbols/DataMatrixEncoder.h"

#include "symbols/DataMatrixEncodation.h"
#include "symbols/DataMatrixReedSolomon.h"
#include "symbols/DataMatrixSizes.h"
#include "symbols/ESymbolError.h"
#include "symbols/Gs1ElementString.h"
#include "symbols/SymbolPayload.h"

#include <algorithm>
#include <array>
#include <bit>
#include <span>
#include <string>

namespace qbm {
namespace {

// The sizes a shape may take, by data capacity, the square one first where two hold as much.
struct TSizeOrder {
    std::array<int, kDataMatrixSizeCount> index{};
    std::array<int, kDataMatrixSizeCount> capacity{};
    int count = 0;

    TSizeOrder(int first, int last) {
        for (int i = first; i <= last; ++i) index[static_cast<size_t>(count++)] = i;
        std::stable_sort(index.begin(), index.begin() + count, [](int a, int b) {
            return DataMatrixSizeAt(a).dataCodewords < DataMatrixSizeAt(b).dataCodewords;
        });
        for (int k = 0; k < count; ++k)
            capacity[static_cast<size_t>(k)] = DataMatrixSizeAt(index[static_cast<size_t>(k)]).dataCodewords;
    }
    std::span<const int> Capacities() const { return std::span(capacity).first(static_cast<size_t>(count)); }
    int IndexFor(int codewords) const {
        for (int k = 0; k < count; ++k)
            if (capacity[static_cast<size_t>(k)] == codewords) return index[static_cast<size_t>(k)];
        return 0;
    }
};

const TSizeOrder& SizeOrder(TDataMatrixShape shape) {
    static const TSizeOrder square(1, kFirstRectangularSize - 1);
    static const TSizeOrder rectangle(kFirstRectangularSize, kDataMatrixSizeCount);
    static const TSizeOrder any(1, kDataMatrixSizeCount);
    return shape == TDataMatrixShape::Square      ? square
           : shape == TDataMatrixShape::Rectangle ? rectangle
                                                  : any;
}

// Element strings whose length GS1 fixes by their identifier's first two digits need no FNC1 after
// them; every other one ends with FNC1 unless it is the last.
bool HasPredefinedLength(std::string_view ai) {
    constexpr std::string_view kPrefixes[] = {"00", "01", "02", "03", "04", "11", "12", "13",
                                              "14", "15", "16", "17", "18", "19", "20", "31",
                                              "32", "33", "34", "35", "36", "41"};
    return std::find(std::begin(kPrefixes), std::end(kPrefixes), ai.substr(0, 2)) != std::end(kPrefixes);
}

std::vector<uint16_t> Gs1Data(const std::vector<TGs1Element>& elements) {
    std::vector<uint16_t> data{kDataMatrixFnc1};
    for (size_t i = 0; i < elements.size(); ++i) {
        const TGs1Element& e = elements[i];
        data.insert(data.end(), e.ai.begin(), e.ai.end());
        data.insert(data.end(), e.data.begin(), e.data.end());
        if (i + 1 < elements.size() && !HasPredefinedLength(e.ai)) data.push_back(kDataMatrixFnc1);
    }
    return data;
}

[[noreturn]] void Refuse(const std::string& what) {
    throw ESymbolError("Data Matrix: " + what);
}

} // namespace

TDataMatrix EncodeDataMatrix(std::string_view text, TDataMatrixShape shape, int rows, int columns, bool gs1) {
    int fixedIndex = 0;
    if (rows || columns) {
        const auto index = DataMatrixSizeIndex(rows, columns);
        if (!index)
            throw ESymbolError("Data Matrix has no size of " + std::to_string(rows) + " x " +
                               std::to_string(columns) + " modules");
        fixedIndex = *index;
    }
    std::vector<uint16_t> data;
    int eci = 0;
    if (gs1) data = Gs1Data(ParseGs1ElementString(text));
    if (text.empty()) Refuse("there is no text to encode");
    if (!gs1) {
        try {
            const TSymbolPayload payload = SymbolPayload(text);
            data.assign(payload.bytes.begin(), payload.bytes.end());
            eci = payload.eci;
        } catch (const ESymbolError& e) {
            Refuse(e.what());
        }
    }

    std::vector<uint8_t> codewords;
    int sizeIndex = 0;
    if (fixedIndex) {
        const int capacity[] = {DataMatrixSizeAt(fixedIndex).dataCodewords};
        codewords = DataMatrixCodewords(data, eci, capacity);
        sizeIndex = fixedIndex;
    } else {
        const TSizeOrder& order = SizeOrder(shape);
        codewords = DataMatrixCodewords(data, eci, order.Capacities());
        sizeIndex = order.IndexFor(static_cast<int>(codewords.size()));
    }
    // A size the user fixed, or the rectangles' largest, is too small; or nothing is large enough.
    if (codewords.empty())
        Refuse(fixedIndex || shape == TDataMatrixShape::Rectangle ? "Input too long for selected symbol size"
                                                                  : "Data too long to fit in symbol");

    const TDataMatrixSize& size = DataMatrixSizeAt(sizeIndex);
    AppendDataMatrixEcc(codewords, size);
    const TDataMatrixLayout& layout = DataMatrixLayout(sizeIndex);
    TDataMatrix symbol{sizeIndex, layout.functions};
    for (size_t k = 0; k < codewords.size(); ++k)
        for (unsigned byte = codewords[k]; byte; byte &= byte - 1) {
            const auto& [row, column] = layout.path[k * 8 + 7 - static_cast<size_t>(std::countr_zero(byte))];
            symbol.modules.Set(row, column);
        }
    return symbol;
}

} // namespace qbm
