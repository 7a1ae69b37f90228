// A variant value in two columns: the value in `X` (any storage class) and
// its VARTYPE in `X_vt`.
//
// Reading: with `X_vt` NULL the type follows the storage class (NULL is
// VT_EMPTY, INTEGER is VT_I4 when it fits 32 bits and VT_I8 otherwise,
// REAL is VT_R8, TEXT is VT_BSTR). A value that does not fit its stated
// type (text where a number is stated, a number out of range, a fraction
// where an integer is stated), an unknown or non-integer type, and a BLOB
// read as VT_EMPTY.
//
// Writing: `X_vt` is always set. Integer types are stored at their width
// (a VT_I2 holding 70000 stores the 16 bits a VARIANT would hold), VT_R4
// as the nearest float, so what is written reads back unchanged (but for
// NaN, which SQLite stores as NULL: it reads back as VT_EMPTY).
// A variant of a type the layout does not know is never written: the
// writers check IsStorableVariant first.
#ifndef QMPECORE_QMCFG_VARIANT_COLUMN_H_
#define QMPECORE_QMCFG_VARIANT_COLUMN_H_

#include "qmcfg/statement.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

// True for the VARTYPEs of the layout.
bool IsStorableVariant(const Variant& value);

// Reads the variant of result columns `col` (value) and `col + 1` (type).
void ReadVariant(const Statement& stmt, int col, Variant* out);

// True when BindVariant of `value` would store exactly what result columns
// `col` and `col + 1` hold.
bool StoresAs(const Statement& stmt, int col, const Variant& value);

// Binds parameters `param` (value) and `param + 1` (type).
void BindVariant(Statement* stmt, int param, const Variant& value);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_VARIANT_COLUMN_H_
