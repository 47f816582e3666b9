#include "cli/SymbolCommand.h"
#include "util/IntConversion.h"

#include <string>

namespace qbm::cli {
namespace {

int RunDataMatrix(const Args& args) {
    TSymbolSettings settings;
    settings.symbology = TSymbology::DataMatrix;
    settings.gs1 = args.Has("--gs1");
    const std::string shape = args.Value("--shape", "square");
    if (shape == "square")
        settings.shape = TDataMatrixShape::Square;
    else if (shape == "rect")
        settings.shape = TDataMatrixShape::Rectangle;
    else
        throw UsageError("--shape takes square or rect, not '" + shape + "'");
    if (const auto size = args.Value("--size")) {
        const size_t x = size->find('x');
        const auto rows = TryStrToInt(size->substr(0, x));
        const auto columns = x == std::string::npos ? std::nullopt : TryStrToInt(size->substr(x + 1));
        if (!rows || !columns || *rows < 1 || *columns < 1)
            throw UsageError("--size takes ROWSxCOLUMNS such as 16x16 or 8x32, not '" + *size + "'");
        settings.rows = *rows;
        settings.columns = *columns;
    }
    return DrawSymbol(args, 0, settings, 4);
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "datamatrix",
    .summary = "draw a Data Matrix symbol (also GS1)",
    .synopsis = "TEXT --out FILE [OPTIONS]",
    .description = "Draws TEXT (UTF-8) as a Data Matrix ECC 200 symbol with its quiet zone of one module.",
    .options = Join({{{"--gs1", "",
                       "TEXT is a GS1 element string, \"(01)09501101530003(17)251231(10)AB12\":\n"
                       "identifiers, lengths, check digits and dates are checked, FNC1 marks it"},
                      {"--shape", "square|rect",
                       "the smallest size of that shape is chosen (default square)"},
                      {"--size", "RxC", "a fixed size in modules, 10x10 to 144x144 or 8x18 to 16x48"}},
                     SymbolOptionTable()}),
    .run = RunDataMatrix});

} // namespace qbm::cli
