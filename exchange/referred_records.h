// The records that references name, by number and by Name, taken from a
// table set: what a reference's cells show on export and what an
// imported cell refers to. Each index is made on its first use.
#ifndef QMPECORE_EXCHANGE_REFERRED_RECORDS_H_
#define QMPECORE_EXCHANGE_REFERRED_RECORDS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "exchange/exchange_fields.h"
#include "qmpecore/config_records.h"

namespace qm::exchange {

enum class NameLookup { kFound, kNone, kSeveral };

// What records of a kind a reference names, for messages ("timer").
std::string_view ReferredName(Referred referred);

class ReferredRecords {
 public:
  // `set` must outlive this object and keep its referred tables unchanged.
  explicit ReferredRecords(const ConfigTableSet& set) : set_(set) {}

  // The Name of the record that `number` refers to; null when there is
  // none. Two records with one number: the later in key order, as the
  // grids show it. `referred` is never kTriggerer (see Concrete).
  const std::u16string* NameOf(Referred referred, int32_t number);
  // The number of the one record named `name`.
  NameLookup NumberNamed(Referred referred, std::u16string_view name, int32_t* number);

  // What a script's triggerer refers to under its Trigger By; false for
  // none (Auto, or a Trigger By without a meaning).
  static bool Concrete(Referred referred, int32_t triggerBy, Referred* out);

 private:
  struct Index {
    bool made = false;
    std::unordered_map<int32_t, const std::u16string*> names;
    // A number, or kSeveralNumbers when more than one record has the Name.
    std::unordered_map<std::u16string_view, int64_t> numbers;
  };
  static constexpr int64_t kSeveralNumbers = INT64_MIN;
  Index& IndexOf(Referred referred);

  const ConfigTableSet& set_;
  std::array<Index, 6> indexes_;
};

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_REFERRED_RECORDS_H_
