#pragma once
// Reading the tables of an Access database (.mdb). Names and values are UTF-8, as the datasheet holds them.

#include <string>
#include <vector>

namespace qbm {

class TDatasheet;
class TProgress;

// The names of the user tables, in the order the database keeps them; system tables are left out.
// Throws EInOutError naming the file when it is not a readable database.
std::vector<std::string> DatabaseTableNames(const std::string& path);

// Empties the sheet, then all records of `table`: field names go to the header row from column 1, record k to
// row 1 + k. The column count becomes 1 + the number of fields, the row count 1 + the number of records.
// Values are text; a null value is an empty cell, as are pictures and other binary values. Dates are
// written YYYY-MM-DD, with HH:MM:SS when they carry a time. Throws EInOutError.
void ReadDatabaseTable(TDatasheet& sheet, const std::string& path, const std::string& table,
                       TProgress* progress = nullptr);

} // namespace qbm
