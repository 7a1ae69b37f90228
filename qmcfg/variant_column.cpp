#include "qmcfg/variant_column.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <limits>
#include <string>

#include "qmcfg/text_codec.h"

namespace qm::cfg {
namespace {

enum class Family { kUnknown, kNone, kInteger, kReal, kText };

Family FamilyOf(int64_t type) {
  switch (type) {
    case kVtEmpty:
    case kVtNull:
      return Family::kNone;
    case kVtI1:
    case kVtI2:
    case kVtI4:
    case kVtI8:
    case kVtUi1:
    case kVtUi2:
    case kVtUi4:
    case kVtUi8:
    case kVtBool:
      return Family::kInteger;
    case kVtR4:
    case kVtR8:
    case kVtDate:
      return Family::kReal;
    case kVtBstr:
      return Family::kText;
    default:
      return Family::kUnknown;
  }
}

template <class T>
bool Fits(int64_t value) {
  return value >= static_cast<int64_t>(std::numeric_limits<T>::min()) &&
         value <= static_cast<int64_t>(std::numeric_limits<T>::max());
}

bool IntegerFits(uint16_t type, int64_t value) {
  switch (type) {
    case kVtI1: return Fits<int8_t>(value);
    case kVtI2: return Fits<int16_t>(value);
    case kVtI4: return Fits<int32_t>(value);
    case kVtUi1: return Fits<uint8_t>(value);
    case kVtUi2: return Fits<uint16_t>(value);
    case kVtUi4: return Fits<uint32_t>(value);
    default: return true;  // VT_I8, VT_UI8 (its 64 bits as stored), VT_BOOL
  }
}

// The value as the stated integer type holds it.
int64_t AtWidth(uint16_t type, int64_t value) {
  switch (type) {
    case kVtI1: return static_cast<int8_t>(value);
    case kVtI2: return static_cast<int16_t>(value);
    case kVtI4: return static_cast<int32_t>(value);
    case kVtUi1: return static_cast<uint8_t>(value);
    case kVtUi2: return static_cast<uint16_t>(value);
    case kVtUi4: return static_cast<uint32_t>(value);
    default: return value;
  }
}

// The nearest float; beyond the float range, the infinity of that sign.
double AsFloat(double real) {
  if (std::isfinite(real) && std::fabs(real) > FLT_MAX) return std::copysign(HUGE_VAL, real);
  return static_cast<float>(real);
}

// The stored integer of an INTEGER value, or of a REAL with no fraction
// that fits 64 bits; false for anything else.
bool StoredInteger(const Statement& stmt, int col, int64_t* out) {
  if (stmt.Type(col) == SQLITE_INTEGER) {
    *out = stmt.Int(col);
    return true;
  }
  if (stmt.Type(col) != SQLITE_FLOAT) return false;
  const double real = stmt.Real(col);
  if (!(std::trunc(real) == real && real >= -0x1p63 && real < 0x1p63)) return false;
  *out = static_cast<int64_t>(real);
  return true;
}

void ReadStated(const Statement& stmt, int col, uint16_t type, Variant* out) {
  switch (FamilyOf(type)) {
    case Family::kNone:
      out->type = type;
      return;
    case Family::kInteger:
      if (StoredInteger(stmt, col, &out->integer) && IntegerFits(type, out->integer)) {
        out->type = type;
      } else {
        out->integer = 0;
      }
      return;
    case Family::kReal: {
      const int storage = stmt.Type(col);
      if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT) return;
      const double real = stmt.Real(col);
      if (type == kVtR4 && std::isfinite(real) && std::fabs(real) > FLT_MAX) return;
      out->type = type;
      out->real = real;
      return;
    }
    case Family::kText:
      if (stmt.Type(col) != SQLITE_TEXT) return;
      out->type = type;
      stmt.Text(col, &out->text);
      return;
    case Family::kUnknown:
      return;
  }
}

void ReadByStorage(const Statement& stmt, int col, Variant* out) {
  switch (stmt.Type(col)) {
    case SQLITE_INTEGER:
      out->integer = stmt.Int(col);
      out->type = Fits<int32_t>(out->integer) ? kVtI4 : kVtI8;
      return;
    case SQLITE_FLOAT:
      out->type = kVtR8;
      out->real = stmt.Real(col);
      return;
    case SQLITE_TEXT:
      out->type = kVtBstr;
      stmt.Text(col, &out->text);
      return;
    default:  // NULL, BLOB
      return;
  }
}

}  // namespace

bool IsStorableVariant(const Variant& value) { return FamilyOf(value.type) != Family::kUnknown; }

void ReadVariant(const Statement& stmt, int col, Variant* out) {
  *out = Variant();
  if (stmt.Type(col) == SQLITE_BLOB) return;
  switch (stmt.Type(col + 1)) {
    case SQLITE_NULL:
      ReadByStorage(stmt, col, out);
      return;
    case SQLITE_INTEGER: {
      const int64_t type = stmt.Int(col + 1);
      if (type >= 0 && type <= UINT16_MAX) ReadStated(stmt, col, static_cast<uint16_t>(type), out);
      return;
    }
    default:  // a type that is not a number is not a type the layout knows
      return;
  }
}

bool StoresAs(const Statement& stmt, int col, const Variant& value) {
  if (stmt.Type(col + 1) != SQLITE_INTEGER || stmt.Int(col + 1) != value.type) return false;
  const int storage = stmt.Type(col);
  switch (FamilyOf(value.type)) {
    case Family::kInteger:
      return storage == SQLITE_INTEGER && stmt.Int(col) == AtWidth(value.type, value.integer);
    case Family::kReal:
      return storage == SQLITE_FLOAT &&
             stmt.Real(col) == (value.type == kVtR4 ? AsFloat(value.real) : value.real);
    case Family::kText: {
      if (storage != SQLITE_TEXT) return false;
      std::string utf8;
      TextToUtf8(value.text, &utf8);
      const auto* bytes = sqlite3_column_text(stmt.handle(), col);
      return utf8.size() == static_cast<size_t>(sqlite3_column_bytes(stmt.handle(), col)) &&
             std::equal(utf8.begin(), utf8.end(), reinterpret_cast<const char*>(bytes));
    }
    case Family::kNone:
      return storage == SQLITE_NULL;
    case Family::kUnknown:
      return false;
  }
  return false;
}

void BindVariant(Statement* stmt, int param, const Variant& value) {
  stmt->BindInt(param + 1, value.type);
  switch (FamilyOf(value.type)) {
    case Family::kInteger:
      stmt->BindInt(param, AtWidth(value.type, value.integer));
      return;
    case Family::kReal:
      stmt->BindReal(param, value.type == kVtR4 ? AsFloat(value.real) : value.real);
      return;
    case Family::kText:
      stmt->BindText(param, value.text);
      return;
    case Family::kNone:
    case Family::kUnknown:
      stmt->BindNull(param);
      return;
  }
}

}  // namespace qm::cfg
