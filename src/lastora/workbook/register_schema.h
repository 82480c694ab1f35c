// The register's tables, by schema version, and the steps from each version to the next.
#ifndef LASTORA_WORKBOOK_REGISTER_SCHEMA_H_
#define LASTORA_WORKBOOK_REGISTER_SCHEMA_H_

#include <string>

#include "workbook/register_sqlite.h"

namespace lastora::mandate_register::detail {

inline constexpr int kSchemaVersion = 2;

// The SQL that takes a register from version `from` to the next; tests build old registers
// with it.
const char* SchemaStep(int from);

// Brings the file up to kSchemaVersion, in WAL mode; refuses a newer file and a database that
// holds other tables than a register's.
void PrepareSchema(Database& db, const std::string& path);

}  // namespace lastora::mandate_register::detail

#endif  // LASTORA_WORKBOOK_REGISTER_SCHEMA_H_
